// The RS-232C test terminal window driven like an operator would, on the real serial line
// to the logger simulator over a pty: block transfers, and the fault campaign on it. A
// fault at start-up tells the operator and closes the window; a fault on a typed command
// leaves the area as it was, or shows what came, and the next command gets its own reply.
#include "Press.h"
#include "SimProcess.h"
#include "TempHome.h"
#include "WaitFor.h"
#include "serial/QSerialLink.h"
#include "serial/SerialContext.h"
#include "serial/gui/frmRSTest.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace
{

class TerminalOnSimulator : public ::testing::Test
{
protected:
    // Starts the simulator, opens the window and waits until it takes commands or closed.
    void Start(QStringList options)
    {
        ASSERT_TRUE(m_sim.Start(options << "--com"
                                        << "1"))
            << m_sim.ErrorText().toStdString();
        m_context.G.UiLanguage = UiLanguage::English;
        InitGlobalValues(m_context.G);
        m_context.G.AppFolder = m_home.Path() + "/";
        m_context.UserFolder = m_home.UserFolder();
        m_link = std::make_unique<QSerialLink>(m_context.Port, m_context.UserFolder, m_messages);
        m_context.Link = m_link.get();
        m_context.Messages = &m_messages;
        m_window = std::make_unique<frmRSTest>(m_context);
        m_window->show();
        ASSERT_TRUE(WaitFor(
            [&] { return m_window->txtOutput->isEnabled() || !m_window->isVisible(); }, 20000));
    }

    void Type(const QString& text)
    {
        m_window->txtOutput->clear();
        FocusOn(m_window->txtOutput);
        TypeText(text);
        TypeKey(Qt::Key_Return);
    }

    QString Area() const { return m_window->txtInput->toPlainText(); }

    TempHome m_home;
    SimProcess m_sim;
    SerialContext m_context;
    RecordingMessages m_messages;
    std::unique_ptr<QSerialLink> m_link;
    std::unique_ptr<frmRSTest> m_window;
};

TEST_F(TerminalOnSimulator, BdtDumpsTheRecordedBlockAtLineSpeedAndRefusesWhatItCannotHold)
{
    // Channel 1 at rest reads 256 exactly, so that the recorded block begins with known words.
    Start({"--channels", "1,2", "--noise", "0", "--offset", "1=256", "--pace", "--mry", "1001",
           "--mry-pre", "1000"});
    for (const char* cmd : {"set1", "dtg"}) // CH1 armed, the weight dropped, polled until done
        Type(cmd);
    ASSERT_TRUE(m_sim.Control("drop"));
    for (int i = 0; i < 200 && Area() != "EOC\n1001\n"; ++i)
        Type("eoc");
    ASSERT_EQ(Area(), "EOC\n1001\n");
    Type("res");
    Type("set1");
    Type("bdt10");
    const QStringList lines = Area().split('\n');
    ASSERT_EQ(lines.size(), 6) << Area().toStdString();
    EXPECT_EQ(lines.mid(0, 4),
              (QStringList{"BDT10", "", "000000  " + QString("   256 ").repeated(8),
                           "000008  " + QString("   256 ").repeated(2)}));
    EXPECT_TRUE(lines[4].endsWith("Sec")) << lines[4].toStdString();
    Type("bdt1001"); // the longest: 2002 bytes, a little over two seconds at 9600 bit/s
    const QStringList longest = Area().split('\n');
    ASSERT_EQ(longest.size(), 2 + 126 + 2) << Area().left(200).toStdString();
    EXPECT_EQ(longest[127], "001000  " + QString("   256 "));

    ASSERT_TRUE(m_sim.Control("fault garble BDT*")); // nine bytes instead of twenty
    Type("bdt10");
    EXPECT_EQ(Area(), QStringLiteral("BDT10\n")); // nothing added for a block cut short
    EXPECT_EQ(m_link->State().BinaryMode, 0);
    Type("rng?"); // back in text reception
    EXPECT_EQ(Area(), QStringLiteral("RNG?\n1000\n"));

    const qsizetype before = m_sim.Commands().size();
    for (const char* cmd : {"bdt", "bdt0", "bdt1002", "bdtten"}) { // refused, nothing sent
        Type(cmd);
        EXPECT_TRUE(Area().contains("Nothing was sent")) << cmd;
    }
    EXPECT_TRUE(m_sim.Commands().mid(before).isEmpty());
}

struct FaultRow {
    bool AtStartUp; // the fault is in effect from the simulator's start
    const char* Fault;
    // A typed "mno?": what the area shows then; nullptr: what it showed before.
    const char* Shown = nullptr;
};

void PrintTo(const FaultRow& r, std::ostream* os)
{
    *os << (r.AtStartUp ? "start-up: " : "typed: ") << r.Fault;
}

const FaultRow FaultRows[] = {
    {true, "error RES 031"},
    {true, "partial RES"},
    {false, "silent"},
    {false, "error MNO? 004"},
    {false, "garble MNO?", "MNO?\n\\xA5#?~\\x1B\\xF3@\n"},

    {false, "nul MNO?", "MNO?\n7\\x00\\x00,7\n"},
    {false, "stray", "MNO?\n\\xFF7,7\n\\xFE\\xFF"},
};

class TerminalFaults : public TerminalOnSimulator, public testing::WithParamInterface<FaultRow>
{
};

TEST_P(TerminalFaults, TellsTheOperatorOrKeepsTheAreaAndTakesTheNextCommand)
{
    const FaultRow& c = GetParam();
    QStringList options{"--no-pace", "--channels", "1,2", "--mno", "7"};
    if (c.AtStartUp)
        options << "--fault" << c.Fault;
    Start(options);
    if (c.AtStartUp) {
        EXPECT_FALSE(m_window->isVisible());
        ASSERT_EQ(m_messages.Shown.size(), 1u);
        EXPECT_EQ(m_messages.Shown[0].Title.En, "No Connect!");
        EXPECT_EQ(m_messages.Shown[0].Text.En, "QL-860H Not Connected!");
        EXPECT_FALSE(m_link->PortOpened());
        return;
    }
    ASSERT_TRUE(m_window->isVisible());
    EXPECT_EQ(m_sim.Commands(), (QStringList{"RES", "SET1", "RES", "SET3", "RES", "SET4", "RES",
                                             "SET5", "RES", "SET6", "RES"}));
    for (const char* typed : {"set1", "set2", "rng?"})
        Type(typed);
    ASSERT_EQ(Area(), "RNG?\n1000,1000\n");
    EXPECT_EQ(m_sim.Commands().last(), "RNG?"); // what the field shows goes out
    ASSERT_TRUE(m_sim.Control(QStringLiteral("fault ") + c.Fault))
        << m_sim.ErrorText().toStdString();
    Type("mno?");
    EXPECT_EQ(Area(), c.Shown ? QString::fromLatin1(c.Shown) : QStringLiteral("RNG?\n1000,1000\n"));
    ASSERT_TRUE(m_sim.Control("fault none"));
    Type("mno?");
    EXPECT_EQ(Area(), "MNO?\n7,7\n");
    EXPECT_TRUE(m_messages.Shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Campaign, TerminalFaults, testing::ValuesIn(FaultRows));

} // namespace
