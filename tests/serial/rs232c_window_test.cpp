// The RS-232C settings window and the test terminal window on the offscreen platform, on
// a scripted line: what they show, what "Main Menu" stores, Enter, and the hidden gesture.
#include "Press.h"
#include "ScriptedLink.h"
#include "TempHome.h"
#include "WaitFor.h"
#include "serial/gui/frmRS232C.h"
#include "serial/gui/frmRSTest.h"
#include "shell/AppContext.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextDocument>
#include <QtTest/QTest>
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
        Language(1);
        m_link.On("RES", "OK");
        m_link.On("SET1", "OK");
    }

    void Language(int16_t language)
    {
        m_context.G.UiLanguage = language;
        InitGlobalValues(m_context.G);
    }

    QByteArray FwdRs() const
    {
        QFile f(m_home.Path() + "/fwd.rs");
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    TempHome m_home;
    AppContext m_context;
    ScriptedLink m_link;
    RecordingMessages m_messages;
};

QStringList Texts(const auto& labels)
{
    QStringList out;
    for (const QLabel* l : labels)
        out << l->text();
    return out;
}

} // namespace

TEST_F(SerialWindows, SettingsShowEveryValueInEitherLanguage)
{
    m_home.WriteFile("fwd.rs", "3\r\n38400\r\n2\r\n2\r\n1\r\n0\r\n");
    struct Case {
        int16_t Language;
        QStringList Captions, Values;
        QString Title, Note, Button;
    };
    const Case cases[] = {
        {1,
         {"Port No.", "Baud rate", "Parity Bits", "Stop Bits", "Handshaking", "Delimiter"},
         {" 4800", "EVEN", "2", "ON", "CR"},
         "Setting RS-232C",
         "Changeable Port No. Only",
         "Main Menu"},
        {0,
         QString::fromUtf8("ポート番号 ボーレート パリティ ストップビット ハンドシェーク デリミタ")
             .split(' '),
         {" 4800", QString::fromUtf8("偶数"), "2", "ON", "CR"},
         QString::fromUtf8("RS-232C設定"),
         QString::fromUtf8("ポート番号のみ変更可能です。"),
         QString::fromUtf8("メインメニュー")},
    };
    for (const Case& c : cases) {
        Language(c.Language);
        frmRS232C window(m_context);
        EXPECT_EQ(window.windowTitle(), c.Title);
        EXPECT_EQ(Texts(window.lblCaption), c.Captions);
        EXPECT_EQ(Texts(window.lblValue), c.Values);
        EXPECT_EQ(window.cmbPort->currentText(), QStringLiteral("3"));
        EXPECT_EQ(window.lblNote->text(), c.Note);
        EXPECT_EQ(window.cmdMainMenu->text(), c.Button);
        EXPECT_EQ(window.font(), QFont(m_context.G.UiFontName, 9));
        QList<QWidget*> large{window.cmbPort, window.lblNote, window.cmdMainMenu};
        for (QLabel* l : window.lblCaption)
            large << l;
        for (QLabel* l : window.lblValue)
            large << l;
        for (QWidget* w : large)
            EXPECT_EQ(w->font(), QFont(m_context.G.UiFontName, 14)) << w->metaObject()->className();
    }
}

TEST_F(SerialWindows, MainMenuStoresTheChoiceAndCloses)
{
    m_home.WriteFile("fwd.rs", "1\r\n38400\r\n0\r\n1\r\n0\r\n1\r\n");
    auto* window = new frmRS232C(m_context);
    window->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<frmRS232C> alive(window);
    window->show();
    window->cmbPort->setEditText("12"); // no COM12 exists
    Press(window->cmdMainMenu);
    EXPECT_EQ(FwdRs(), QByteArray("12\r\n38400\r\n0\r\n1\r\n0\r\n1\r\n"));
    EXPECT_TRUE(WaitFor([&] { return alive.isNull(); })); // gone: the main menu returns

    frmRS232C again(m_context);
    EXPECT_EQ(again.cmbPort->currentText(), QStringLiteral("12"));
    again.cmbPort->setEditText("COM7");
    again.MainMenuClicked();
    EXPECT_TRUE(FwdRs().startsWith("1\r\n38400\r\n"));
    EXPECT_TRUE(m_messages.Shown.empty());
}

TEST_F(SerialWindows, ASettingsFileThatCannotBeWrittenIsReported)
{
    m_context.G.AppFolder = m_home.Path() + "/missing/folder/";
    frmRS232C window(m_context);
    window.cmbPort->setEditText("6");
    window.MainMenuClicked();
    ASSERT_EQ(m_messages.Shown.size(), 1u);
    EXPECT_TRUE(m_messages.Shown[0].Text.En.contains("could not be saved"));
    EXPECT_EQ(m_context.Port.ComPort, 6); // the choice holds for this run
}

TEST_F(SerialWindows, EnterMovesOnLikeTabAndNeitherInsertsNorClicks)
{
    frmRS232C window(m_context);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.cmbPort->setFocus();
    const int items = window.cmbPort->count();
    window.cmbPort->setEditText("8");
    FocusOn(window.cmbPort->lineEdit());
    TypeKey(Qt::Key_Return);
    EXPECT_TRUE(window.cmdMainMenu->hasFocus());
    EXPECT_EQ(window.cmbPort->count(), items); // the typed number added no choice
    FocusOn(window.cmdMainMenu);
    TypeKey(Qt::Key_Enter);
    EXPECT_TRUE(window.isVisible()); // moved on, did not leave
    EXPECT_FALSE(window.cmdMainMenu->hasFocus());
    EXPECT_FALSE(QFile::exists(m_home.Path() + "/fwd.rs"));
}

TEST_F(SerialWindows, ShiftAloneWithTheRightButtonOpensTheTerminalModalInPlace)
{
    frmRS232C window(m_context);
    window.show();
    EXPECT_FALSE(window.NotePressed(Qt::LeftButton, Qt::ShiftModifier));
    EXPECT_FALSE(window.NotePressed(Qt::RightButton, Qt::NoModifier));
    EXPECT_FALSE(window.NotePressed(Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier));
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
    EXPECT_TRUE(window.NotePressed(Qt::RightButton, Qt::ShiftModifier));
    EXPECT_TRUE(window.isVisible());
    ASSERT_EQ(m_messages.Shown.size(), 1u);
    EXPECT_EQ(m_messages.Shown[0].Text.En, QStringLiteral("QL-860H Not Connected!"));
}

TEST_F(SerialWindows, TerminalTakesEnterForItselfAndFitsARowOfEight)
{
    m_link.BinaryBlock = QByteArray(20, '\xff');
    frmRSTest terminal(m_context);
    terminal.show();
    ASSERT_TRUE(WaitFor([&] { return terminal.txtOutput->isEnabled(); }));
    EXPECT_TRUE(terminal.cmdPara[0]->isEnabled());
    EXPECT_FALSE(terminal.cmdPara[1]->isEnabled());
    const size_t before = m_link.Sent.size();
    FocusOn(terminal.txtOutput);
    TypeText("bdt10");
    TypeKey(Qt::Key_Return);
    EXPECT_EQ(terminal.txtOutput->text(), QStringLiteral("BDT10"));
    EXPECT_EQ(m_link.Sent.size(), before + 1); // no button took the Enter as well
    const QStringList lines = terminal.txtInput->toPlainText().split('\n');
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[2], QStringLiteral("000000  ") + QString("    -1 ").repeated(8));
    // Fixed pitch, and a full row needs no scrolling sideways.
    EXPECT_TRUE(QFontInfo(terminal.txtInput->font()).fixedPitch());
    const int room = terminal.txtInput->viewport()->width() -
                     2 * int(terminal.txtInput->document()->documentMargin());
    EXPECT_LE(QFontMetrics(terminal.txtInput->font()).horizontalAdvance(lines[2]), room);

    TypeKey(Qt::Key_Escape); // every way out closes the line
    EXPECT_FALSE(terminal.isVisible());
    EXPECT_FALSE(m_link.PortOpened());
}
