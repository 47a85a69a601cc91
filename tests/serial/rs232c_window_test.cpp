// The RS-232C settings window on the offscreen platform: what it shows in both languages,
// what "Main Menu" stores, Enter moving on, and the hidden way to the test terminal.
#include "ScriptedLink.h"
#include "TempHome.h"
#include "WaitFor.h"
#include "serial/gui/frmRS232C.h"
#include "serial/gui/frmRSTest.h"
#include "shell/AppContext.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace
{

class SettingsWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_context.G.AppFolder = m_home.Path() + "/";
        m_context.UserFolder = m_home.UserFolder();
        m_context.Link = &m_link;
        m_context.Messages = &m_messages;
        Language(1);
    }

    void Language(int16_t language)
    {
        m_context.G.UiLanguage = language;
        InitGlobalValues(m_context.G);
    }

    void WriteFwdRs(const QByteArray& bytes) const { m_home.WriteFile("fwd.rs", bytes); }

    QByteArray FwdRs() const
    {
        QFile f(m_home.Path() + "/fwd.rs");
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // A device for COMn through a ports link, as the program finds a logger.
    void LinkPort(int com) const
    {
        m_home.WriteFile(QStringLiteral("dev/tty%1").arg(com), {});
        QDir().mkpath(m_home.UserFolder() + "ports");
        QFile::link(m_home.Path() + QStringLiteral("/dev/tty%1").arg(com),
                    m_home.UserFolder() + QStringLiteral("ports/COM%1").arg(com));
    }

    TempHome m_home;
    AppContext m_context;
    ScriptedLink m_link;
    RecordingMessages m_messages;
};

QStringList Texts(const std::array<QLabel*, 6>& labels)
{
    QStringList out;
    for (const QLabel* l : labels)
        out << l->text();
    return out;
}

QStringList Texts(const std::array<QLabel*, 5>& labels)
{
    QStringList out;
    for (const QLabel* l : labels)
        out << l->text();
    return out;
}

} // namespace

// --- What it shows ----------------------------------------------------------------------

TEST_F(SettingsWindow, ShowsEverySettingInEnglish)
{
    WriteFwdRs("3\r\n19200\r\n2\r\n2\r\n1\r\n0\r\n");
    frmRS232C window(m_context);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Setting RS-232C"));
    EXPECT_EQ(Texts(window.lblCaption), (QStringList{"Port No.", "Baud rate", "Parity Bits",
                                                     "Stop Bits", "Handshaking", "Delimiter"}));
    EXPECT_EQ(Texts(window.lblValue), (QStringList{"19200", "EVEN", "2", "ON", "CR"}));
    EXPECT_EQ(window.cmbPort->currentText(), QStringLiteral("3"));
    EXPECT_EQ(window.lblNote->text(), QStringLiteral("Changeable Port No. Only"));
    EXPECT_EQ(window.cmdMainMenu->text(), QStringLiteral("Main Menu"));
}

TEST_F(SettingsWindow, ShowsEverySettingInJapanese)
{
    Language(0);
    WriteFwdRs("1\r\n38400\r\n1\r\n1\r\n0\r\n1\r\n"); // 38400 is used as it is, shown as 4800
    frmRS232C window(m_context);
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8("RS-232C設定"));
    EXPECT_EQ(Texts(window.lblCaption),
              (QStringList{QString::fromUtf8("ポート番号"), QString::fromUtf8("ボーレート"),
                           QString::fromUtf8("パリティ"), QString::fromUtf8("ストップビット"),
                           QString::fromUtf8("ハンドシェーク"), QString::fromUtf8("デリミタ")}));
    EXPECT_EQ(Texts(window.lblValue),
              (QStringList{" 4800", QString::fromUtf8("奇数"), "1", "OFF", "CR+LF"}));
    EXPECT_EQ(window.lblNote->text(), QString::fromUtf8("ポート番号のみ変更可能です。"));
    EXPECT_EQ(window.cmdMainMenu->text(), QString::fromUtf8("メインメニュー"));
    EXPECT_EQ(m_context.Port.BaudRate, 38400);
}

TEST_F(SettingsWindow, FontsAreTheWindowsNineAndFourteenPoints)
{
    frmRS232C window(m_context);
    EXPECT_EQ(window.font().family(), m_context.G.UiFontName);
    EXPECT_EQ(window.font().pointSize(), 9);
    QList<QWidget*> large{window.cmbPort, window.lblNote, window.cmdMainMenu};
    for (QLabel* l : window.lblCaption)
        large << l;
    for (QLabel* l : window.lblValue)
        large << l;
    for (QWidget* w : large) {
        EXPECT_EQ(w->font().pointSize(), 14) << w->metaObject()->className();
        EXPECT_EQ(w->font().family(), m_context.G.UiFontName);
    }
}

TEST_F(SettingsWindow, ChoicesAreThePortsPresentAscending)
{
    for (int com : {5, 2, 9})
        LinkPort(com);
    frmRS232C window(m_context);
    QStringList items;
    for (int i = 0; i < window.cmbPort->count(); ++i)
        items << window.cmbPort->itemText(i);
    // /dev may hold ttyS ports of this machine as well: the links come in order among them.
    const QStringList links = items.filter(QRegularExpression("^[259]$"));
    EXPECT_EQ(links, (QStringList{"2", "5", "9"}));
    QStringList sorted = items;
    std::sort(sorted.begin(), sorted.end(),
              [](const QString& a, const QString& b) { return a.toInt() < b.toInt(); });
    EXPECT_EQ(items, sorted);
}

TEST_F(SettingsWindow, BesideTheChoiceTheDeviceAndWhetherItIsThere)
{
    LinkPort(4);
    frmRS232C window(m_context);
    window.cmbPort->setEditText("4");
    EXPECT_TRUE(window.lblDevice->text().contains("ports/COM4"));
    EXPECT_TRUE(window.lblDevice->text().endsWith("present"));
    window.cmbPort->setEditText("3000");
    EXPECT_TRUE(window.lblDevice->text().contains("/dev/ttyACM2935"));
    EXPECT_TRUE(window.lblDevice->text().endsWith("not present"));
    window.cmbPort->setEditText("x");
    EXPECT_TRUE(window.lblDevice->text().contains("port 1 will be stored"));
}

// --- Leaving with "Main Menu" ------------------------------------------------------------

TEST_F(SettingsWindow, MainMenuStoresATypedNumberEvenWithoutSuchAPort)
{
    WriteFwdRs("1\r\n38400\r\n0\r\n1\r\n0\r\n1\r\n");
    auto* window = new frmRS232C(m_context);
    window->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<frmRS232C> alive(window);
    window->show();
    window->cmbPort->setEditText("12");
    QTest::mouseClick(window->cmdMainMenu, Qt::LeftButton);
    EXPECT_EQ(FwdRs(), QByteArray("12\r\n38400\r\n0\r\n1\r\n0\r\n1\r\n"));
    EXPECT_EQ(m_context.Port.ComPort, 12);
    EXPECT_TRUE(WaitFor([&] { return alive.isNull(); })); // closed: the main menu returns
    EXPECT_TRUE(m_messages.Shown.empty());
}

TEST_F(SettingsWindow, MainMenuStoresPortOneForAChoiceThatIsNoNumber)
{
    WriteFwdRs("7\r\n9600\r\n0\r\n1\r\n0\r\n1\r\n");
    frmRS232C window(m_context);
    window.cmbPort->setEditText("COM7");
    window.MainMenuClicked();
    EXPECT_TRUE(FwdRs().startsWith("1\r\n9600\r\n"));
}

TEST_F(SettingsWindow, ASettingsFileThatCannotBeWrittenIsReported)
{
    m_context.G.AppFolder = m_home.Path() + "/missing/folder/";
    frmRS232C window(m_context);
    window.cmbPort->setEditText("6");
    window.MainMenuClicked();
    ASSERT_EQ(m_messages.Shown.size(), 1u);
    EXPECT_TRUE(m_messages.Shown[0].Text.En.contains("could not be saved"));
    EXPECT_EQ(m_context.Port.ComPort, 6); // the choice holds for this run
}

// --- Keys -----------------------------------------------------------------------------------

TEST_F(SettingsWindow, EnterMovesOnLikeTabAndNeitherInsertsNorClicks)
{
    frmRS232C window(m_context);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.cmbPort->setFocus();
    const int items = window.cmbPort->count();
    window.cmbPort->setEditText("8");
    QTest::keyClick(window.cmbPort->lineEdit(), Qt::Key_Return);
    EXPECT_TRUE(window.cmdMainMenu->hasFocus());
    EXPECT_EQ(window.cmbPort->count(), items); // the typed number added no choice
    QTest::keyClick(window.cmdMainMenu, Qt::Key_Enter);
    EXPECT_TRUE(window.isVisible()); // Enter on the button moved on, it did not leave
    EXPECT_FALSE(window.cmdMainMenu->hasFocus());
    EXPECT_FALSE(QFile::exists(m_home.Path() + "/fwd.rs"));
}

// --- The hidden way to the test terminal -----------------------------------------------------

TEST_F(SettingsWindow, OnlyShiftAloneWithTheRightButtonOpensTheTerminal)
{
    frmRS232C window(m_context);
    EXPECT_FALSE(window.NotePressed(Qt::LeftButton, Qt::ShiftModifier));
    EXPECT_FALSE(window.NotePressed(Qt::RightButton, Qt::NoModifier));
    EXPECT_FALSE(window.NotePressed(Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier));
    EXPECT_FALSE(window.NotePressed(Qt::RightButton, Qt::ShiftModifier | Qt::AltModifier));
    EXPECT_TRUE(m_link.Sent.empty());
}

TEST_F(SettingsWindow, TheTerminalOpensModalInPlaceOfTheWindowAndGivesItBack)
{
    m_link.On("RES", "OK");
    m_link.On("SET1", "OK");
    frmRS232C window(m_context);
    window.show();
    bool hiddenMeanwhile = false;
    bool modal = false;
    WhenModalShown<frmRSTest>([&](frmRSTest* terminal) {
        hiddenMeanwhile = !window.isVisible();
        modal = terminal->isModal();
        WaitFor([&] { return terminal->txtOutput->isEnabled(); });
        QTest::mouseClick(terminal->cmdEnd, Qt::LeftButton);
    });
    QTest::mouseClick(window.lblNote, Qt::RightButton, Qt::ShiftModifier);
    EXPECT_TRUE(hiddenMeanwhile);
    EXPECT_TRUE(modal);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(m_link.PortOpened()); // End closed the line
    EXPECT_EQ(m_link.Sent.front(), QStringLiteral("RES"));
}

TEST_F(SettingsWindow, ASilentLoggerClosesTheTerminalByItself)
{
    m_link.Silent("RES");
    frmRS232C window(m_context);
    window.show();
    EXPECT_TRUE(window.NotePressed(Qt::RightButton, Qt::ShiftModifier));
    EXPECT_TRUE(window.isVisible());
    ASSERT_EQ(m_messages.Shown.size(), 1u);
    EXPECT_EQ(m_messages.Shown[0].Text.En, QStringLiteral("QL-860H Not Connected!"));
}
