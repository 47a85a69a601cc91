// The RS-232C test terminal window driven like an operator would, on the real serial line
// to the logger simulator over a pty.
#include "Press.h"
#include "SimProcess.h"
#include "TempHome.h"
#include "WaitFor.h"
#include "serial/QSerialLink.h"
#include "serial/gui/frmRSTest.h"
#include "shell/AppContext.h"
#include "shell/Twips.h"
#include "shell/gui/QtMessageSink.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace
{

// Channels 1 and 2 at rest read 256 and -2 exactly, so that a recorded block begins with
// known words: 01 00 for CH1, FF FE for CH2.
QStringList QuietLogger()
{
    return {"--channels", "1,2",  "--noise", "0",  "--offset",  "1=256",
            "--offset",   "2=-2", "--mry",   "16", "--mry-pre", "12"};
}

class TerminalOnSimulator : public ::testing::Test
{
protected:
    void Start(QStringList options, int16_t language = 1)
    {
        options << "--com"
                << "1";
        ASSERT_TRUE(m_sim.Start(options)) << m_sim.ErrorText().toStdString();
        m_context.G.UiLanguage = language;
        InitGlobalValues(m_context.G);
        m_context.G.AppFolder = m_home.Path() + "/";
        m_context.UserFolder = m_home.UserFolder();
        m_messages = std::make_unique<QtMessageSink>(language);
        m_link = std::make_unique<QSerialLink>(m_context.Port, m_context.UserFolder, *m_messages);
        m_context.Link = m_link.get();
        m_context.Messages = m_messages.get();
        m_window = std::make_unique<frmRSTest>(m_context);
        m_window->show();
    }

    bool Ready()
    {
        return WaitFor([&] { return m_window->txtOutput->isEnabled(); }, 15000);
    }

    void Type(const QString& text)
    {
        m_window->txtOutput->clear();
        FocusOn(m_window->txtOutput);
        TypeText(text);
        TypeKey(Qt::Key_Return);
    }

    QString Area() const { return m_window->txtInput->toPlainText(); }

    // The commands that reached the simulator after the first `skip`.
    QStringList CommandsAfter(qsizetype skip) const { return m_sim.Commands().mid(skip); }

    void WaitForRecording()
    {
        for (int i = 0; i < 200; ++i) {
            Type("eoc");
            if (Area().startsWith("EOC\n16")) // one field per selected channel
                return;
        }
        FAIL() << "the recording did not complete";
    }

    TempHome m_home;
    SimProcess m_sim;
    AppContext m_context;
    std::unique_ptr<QtMessageSink> m_messages;
    std::unique_ptr<QSerialLink> m_link;
    std::unique_ptr<frmRSTest> m_window;
};

} // namespace

TEST_F(TerminalOnSimulator, OpensDisabledEnablesWhatTheLoggerAcceptsAndTakesCommands)
{
    Start(QuietLogger() << "--no-pace");
    EXPECT_FALSE(m_window->txtOutput->isEnabled());
    EXPECT_FALSE(m_window->txtInput->isEnabled());
    for (QPushButton* b : m_window->cmdPara)
        EXPECT_FALSE(b->isEnabled());
    ASSERT_TRUE(Ready());
    EXPECT_EQ(m_sim.Commands(), (QStringList{"RES", "SET1", "RES", "SET3", "RES", "SET4", "RES",
                                             "SET5", "RES", "SET6", "RES"}));
    EXPECT_TRUE(m_window->txtInput->isEnabled());
    EXPECT_TRUE(m_window->cmdPara[0]->isEnabled()); // only CH1 of 1, 3, 4, 5, 6 is fitted
    for (int i = 1; i < 5; ++i)
        EXPECT_FALSE(m_window->cmdPara[size_t(i)]->isEnabled()) << i;
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("RS-232C Test"));

    // Typed commands are upper-cased in place; the reply replaces the area.
    const qsizetype before = m_sim.Commands().size();
    Type("set1");
    Type("rng?");
    EXPECT_EQ(m_window->txtOutput->text(), QStringLiteral("RNG?"));
    EXPECT_EQ(Area(), QStringLiteral("RNG?\n1000\n"));
    Type("xyz"); // refused by the logger: the area keeps the last good exchange
    EXPECT_EQ(Area(), QStringLiteral("RNG?\n1000\n"));
    EXPECT_EQ(CommandsAfter(before), (QStringList{"SET1", "RNG?", "XYZ"}));
}

TEST_F(TerminalOnSimulator, BdtDumpsTheRecordedBlockAsATable)
{
    Start(QuietLogger() << "--no-pace");
    ASSERT_TRUE(Ready());
    for (const char* cmd : {"set1", "set2", "dtg"})
        Type(cmd);
    ASSERT_TRUE(m_sim.Control("drop"));
    WaitForRecording();

    Type("res");
    Type("set1");
    const qsizetype before = m_sim.Commands().size();
    Type("bdt10");
    EXPECT_EQ(CommandsAfter(before), QStringList{"BDT10"});
    EXPECT_EQ(m_sim.Replies().last().toLower(), QString("\\x01\\x00").repeated(10)); // 20 bytes
    QStringList lines = Area().split('\n');
    ASSERT_EQ(lines.size(), 6) << Area().toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("BDT10"));
    EXPECT_EQ(lines[1], QString());
    EXPECT_EQ(lines[2], QStringLiteral("000000  ") + QString("   256 ").repeated(8));
    EXPECT_EQ(lines[3], QStringLiteral("000008  ") + QString("   256 ").repeated(2));
    EXPECT_TRUE(lines[4].endsWith("Sec")) << lines[4].toStdString();

    Type("res");
    Type("set2");
    Type("bdt10");
    EXPECT_EQ(m_sim.Replies().last().toLower(), QString("\\xff\\xfe").repeated(10));
    lines = Area().split('\n');
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[2], QStringLiteral("000000  ") + QString("    -2 ").repeated(8));
    EXPECT_EQ(m_link->State().BinaryMode, 0);

    Type("rng?"); // back in text reception
    EXPECT_EQ(Area(), QStringLiteral("RNG?\n1000\n"));
}

TEST_F(TerminalOnSimulator, ABlockCutShortShowsOnlyTheCommandLineAndLeavesTheLineUsable)
{
    Start(QuietLogger() << "--no-pace");
    ASSERT_TRUE(Ready());
    Type("set1");
    Type("rng?");
    ASSERT_TRUE(m_sim.Control("fault garble BDT*")); // nine bytes instead of twenty
    // What the area shows while the block is awaited (the wait runs the event loop).
    QStringList whileWaiting;
    QTimer sample;
    QObject::connect(&sample, &QTimer::timeout, [&] {
        if (m_window->Terminal().Busy())
            whileWaiting << Area();
    });
    sample.start(1);
    Type("bdt10");
    sample.stop();
    EXPECT_EQ(m_sim.Commands().last(), QStringLiteral("BDT10"));
    // The command line while the block comes in, and nothing added when it is cut short.
    whileWaiting.removeDuplicates();
    EXPECT_EQ(whileWaiting.join(" | ").toStdString(), "BDT10\n");
    EXPECT_EQ(Area(), QStringLiteral("BDT10\n"));
    EXPECT_EQ(m_window->txtOutput->text(), QStringLiteral("BDT10"));
    EXPECT_EQ(m_link->State().BinaryMode, 0);
    ASSERT_TRUE(m_sim.Control("fault none"));
    Type("clk?");
    EXPECT_EQ(Area(), QStringLiteral("CLK?\n50\n"));

    const qsizetype before = m_sim.Commands().size();
    for (const char* cmd : {"bdt", "bdt0", "bdt1002", "bdtten"}) { // refused, nothing sent
        Type(cmd);
        EXPECT_TRUE(Area().contains("Nothing was sent")) << cmd;
    }
    EXPECT_TRUE(CommandsAfter(before).isEmpty());
}

TEST_F(TerminalOnSimulator, ParaDumpsTheParameterMemoryInWireOrder)
{
    Start(QuietLogger() << "--no-pace");
    ASSERT_TRUE(Ready());
    const qsizetype before = m_sim.Commands().size();
    Press(m_window->cmdPara[0]);
    QStringList expected{"RES", "SET1"};
    for (int a = 32; a <= 63; ++a)
        expected << QStringLiteral("EPA%1").arg(a) << QStringLiteral("EPD?");
    EXPECT_EQ(CommandsAfter(before), expected);
    const QStringList lines = Area().split('\n');
    ASSERT_EQ(lines.size(), 2 + 64 + 2);
    EXPECT_EQ(lines[0], QStringLiteral("RES OK"));
    EXPECT_EQ(lines[1], QStringLiteral("SET1 OK"));
    for (int a = 32; a <= 63; ++a) {
        EXPECT_EQ(lines[2 + 2 * (a - 32)], QStringLiteral("EPA%1 OK").arg(a));
        EXPECT_TRUE(lines[3 + 2 * (a - 32)].startsWith("EPD? ")) << a;
    }
}

TEST_F(TerminalOnSimulator, LongestBlockArrivesWholeAtLineSpeed)
{
    Start(QuietLogger() << "--pace"
                        << "--mry"
                        << "1001"
                        << "--mry-pre"
                        << "1000");
    ASSERT_TRUE(Ready());
    for (const char* cmd : {"set1", "dtg"})
        Type(cmd);
    ASSERT_TRUE(m_sim.Control("drop"));
    for (int i = 0; i < 200 && Area() != "EOC\n1001\n"; ++i)
        Type("eoc");
    Type("bdt1001"); // 2002 bytes, a little over two seconds at 9600 bit/s
    const QStringList lines = Area().split('\n');
    ASSERT_EQ(lines.size(), 2 + 126 + 2) << Area().left(200).toStdString();
    EXPECT_TRUE(lines[127].startsWith("001000  ")) << lines[127].toStdString();
    const double seconds = lines[128].chopped(3).toDouble();
    EXPECT_GT(seconds, 2002 * 10 / 9600.0 * 0.9); // paced, not a cached block
}

TEST_F(TerminalOnSimulator, EndOrTheCloseBoxClosesTheLine)
{
    Start(QuietLogger() << "--no-pace");
    ASSERT_TRUE(Ready());
    Press(m_window->cmdEnd);
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_FALSE(m_link->PortOpened());

    m_window = std::make_unique<frmRSTest>(m_context);
    m_window->show();
    ASSERT_TRUE(Ready());
    ASSERT_TRUE(m_link->PortOpened());
    m_window->close();
    EXPECT_FALSE(m_link->PortOpened());
}

class SilentLogger : public TerminalOnSimulator, public ::testing::WithParamInterface<int16_t>
{
};

TEST_P(SilentLogger, ShowsNotConnectedAndTheWindowCloses)
{
    QString title, text;
    WhenModalShown<QMessageBox>([&](QMessageBox* box) {
        title = box->windowTitle();
        text = box->text();
        box->accept();
    });
    Start({"--fault", "silent", "--no-pace"}, GetParam());
    ASSERT_TRUE(WaitFor([&] { return !m_window->isVisible(); }, 15000));
    EXPECT_EQ(text, QStringLiteral("QL-860H Not Connected!"));
    EXPECT_EQ(title, GetParam() == 0 ? QString::fromUtf8("未接続") : QStringLiteral("No Connect!"));
    EXPECT_FALSE(m_link->PortOpened());
    EXPECT_EQ(m_sim.Commands(), QStringList{"RES"});
    EXPECT_FALSE(m_window->txtOutput->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, SilentLogger, ::testing::Values(int16_t(0), int16_t(1)));
