// The RS-232C settings window and the test terminal window on the offscreen platform, on
// a scripted line: what they show, what "Main Menu" stores, and the hidden gesture. Enter
// moving on as Tab does is gui/operator_hand's.
#include "Press.h"
#include "ScriptedLink.h"
#include "TempHome.h"
#include "WaitFor.h"
#include "serial/SerialContext.h"
#include "serial/gui/frmRS232C.h"
#include "serial/gui/frmRSTest.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <gtest/gtest.h>

namespace
{

class SerialWindows : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_context.G.AppFolder = m_home.Path() + "/";
        m_context.UserFolder = m_home.UserFolder();
        m_context.Link = &m_link;
        m_context.Messages = &m_messages;
        m_context.G.UiLanguage = UiLanguage::English;
        InitGlobalValues(m_context.G);
        m_link.On("RES", "OK");
        m_link.On("SET1", "OK");
    }

    QByteArray FwdRs() const
    {
        QFile f(m_home.Path() + "/fwd.rs");
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    TempHome m_home;
    SerialContext m_context;
    ScriptedLink m_link;
    RecordingMessages m_messages;
};

// The operator types a port number over the choice.
void TypePort(frmRS232C& window, const char* text)
{
    FocusOn(window.cmbPort->lineEdit());
    window.cmbPort->lineEdit()->selectAll();
    TypeText(text);
}

} // namespace

TEST_F(SerialWindows, MainMenuStoresTheChoiceAndCloses)
{
    m_home.WriteFile("fwd.rs", "1\r\n38400\r\n0\r\n1\r\n0\r\n1\r\n");
    auto* window = new frmRS232C(m_context);
    window->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<frmRS232C> alive(window);
    window->show();
    TypePort(*window, "12"); // no COM12 exists
    Press(window->cmdMainMenu);
    EXPECT_EQ(FwdRs(), QByteArray("12\r\n38400\r\n0\r\n1\r\n0\r\n1\r\n"));
    EXPECT_TRUE(WaitFor([&] { return alive.isNull(); })); // gone: the main menu returns
    EXPECT_EQ(frmRS232C(m_context).cmbPort->currentText(), QStringLiteral("12"));
    EXPECT_TRUE(m_messages.Shown.empty());
}

TEST_F(SerialWindows, ASettingsFileThatCannotBeWrittenIsReported)
{
    m_context.G.AppFolder = m_home.Path() + "/missing/folder/";
    frmRS232C window(m_context);
    window.show();
    TypePort(window, "6");
    Press(window.cmdMainMenu);
    ASSERT_EQ(m_messages.Shown.size(), 1u);
    EXPECT_TRUE(m_messages.Shown[0].Text.En.contains("could not be saved"));
    EXPECT_TRUE(m_messages.Shown[0].Text.Ja.contains(QString::fromUtf8("保存できませんでした")));
    EXPECT_EQ(m_context.Port.ComPort, 6); // the choice holds for this run
}

TEST_F(SerialWindows, ShiftAloneWithTheRightButtonOpensTheTerminalModalInPlace)
{
    frmRS232C window(m_context);
    window.show();
    Press(window.lblNote, Qt::LeftButton, Qt::ShiftModifier);
    Press(window.lblNote, Qt::RightButton);
    Press(window.lblNote, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_TRUE(m_link.Sent.empty());

    bool hiddenMeanwhile = false, modal = false;
    WhenModalShown<frmRSTest>([&](frmRSTest* terminal) {
        hiddenMeanwhile = !window.isVisible();
        modal = terminal->isModal();
        WaitFor([&] { return terminal->txtOutput->isEnabled(); });
        Press(terminal->cmdEnd);
    });
    Press(window.lblNote, Qt::RightButton, Qt::ShiftModifier);
    EXPECT_TRUE(WaitFor([&] { return modal; })); // once the press is over
    EXPECT_TRUE(hiddenMeanwhile);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(m_link.PortOpened()); // End closed the line

    m_link.Silent("RES"); // a silent logger: the terminal closes by itself
    Press(window.lblNote, Qt::RightButton, Qt::ShiftModifier);
    EXPECT_TRUE(window.isVisible());
    ASSERT_EQ(m_messages.Shown.size(), 1u);
    EXPECT_EQ(m_messages.Shown[0].Text.En, QStringLiteral("QL-860H Not Connected!"));
}
