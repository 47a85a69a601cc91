// The test terminal window itself on a scripted line: Enter belongs to the command field,
// the field is upper-cased in place, and the area shows what the logger sent, visibly.
#include "ScriptedLink.h"
#include "WaitFor.h"
#include "serial/gui/frmRSTest.h"
#include "shell/AppContext.h"

#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTextDocument>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace
{

class TerminalWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InitGlobalValues(m_context.G);
        m_context.Link = &m_link;
        m_context.Messages = &m_messages;
        m_link.On("RES", "OK");
        m_link.On("SET1", "OK");
        m_link.On("SET4", "OK");
    }

    void Open()
    {
        m_window = std::make_unique<frmRSTest>(m_context);
        m_window->show();
        ASSERT_TRUE(WaitFor([&] { return m_window->txtOutput->isEnabled(); }));
    }

    void Type(const QString& text)
    {
        m_window->txtOutput->clear();
        QTest::keyClicks(m_window->txtOutput, text);
        QTest::keyClick(m_window->txtOutput, Qt::Key_Return);
    }

    AppContext m_context;
    ScriptedLink m_link;
    RecordingMessages m_messages;
    std::unique_ptr<frmRSTest> m_window;
};

} // namespace

TEST_F(TerminalWindow, ButtonsFollowTheAcceptedSetCommands)
{
    Open();
    const bool expected[] = {true, false, true, false, false};
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(m_window->cmdPara[i]->isEnabled(), expected[i]) << i;
    EXPECT_EQ(m_window->cmdPara[0]->text(), QStringLiteral("Para1"));
    EXPECT_EQ(m_window->cmdPara[4]->text(), QStringLiteral("Para6"));
    EXPECT_EQ(m_window->lblCommand->text(), QStringLiteral("Command:"));
}

TEST_F(TerminalWindow, EnterSendsTheCommandAndPressesNoButton)
{
    m_link.On("MNO?", "17");
    Open();
    const size_t sentBefore = m_link.Sent.size();
    Type("mno?");
    EXPECT_EQ(m_window->txtOutput->text(), QStringLiteral("MNO?"));
    EXPECT_EQ(m_window->txtInput->toPlainText(), QStringLiteral("MNO?\n17\n"));
    ASSERT_EQ(m_link.Sent.size(), sentBefore + 1); // no Para dump behind it
    EXPECT_EQ(m_link.Sent.back(), QStringLiteral("MNO?"));
}

TEST_F(TerminalWindow, BytesOutsidePrintableAsciiAreShownAsHex)
{
    m_link.On("MDT", QString::fromLatin1("1\0\xff"
                                         "2",
                                         4));
    Open();
    Type("mdt");
    EXPECT_EQ(m_window->txtInput->toPlainText(), QStringLiteral("MDT\n1\\x00\\xFF2\n"));
    EXPECT_EQ(DisplayText(QStringLiteral("A\rB\r\n")), QStringLiteral("A\\x0DB\n"));
}

TEST_F(TerminalWindow, ABdtTableKeepsItsColumnsInTheArea)
{
    m_link.BinaryBlock = QByteArray(20, '\0');
    Open();
    Type("bdt10");
    const QStringList lines = m_window->txtInput->toPlainText().split('\n');
    ASSERT_EQ(lines.size(), 6);
    // Fixed pitch: every value column lines up under its neighbour.
    EXPECT_TRUE(QFontInfo(m_window->txtInput->font()).fixedPitch());
    EXPECT_EQ(lines[2].size(), 8 + 8 * 7);
    // ... and a full row of eight needs no scrolling sideways.
    const QFontMetrics metrics(m_window->txtInput->font());
    const int room = m_window->txtInput->viewport()->width() -
                     2 * int(m_window->txtInput->document()->documentMargin());
    EXPECT_LE(metrics.horizontalAdvance(lines[2]), room);
}

TEST_F(TerminalWindow, EscapeClosesTheLineLikeEnd)
{
    Open();
    ASSERT_TRUE(m_link.PortOpened());
    QTest::keyClick(m_window.get(), Qt::Key_Escape);
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_FALSE(m_link.PortOpened());
}
