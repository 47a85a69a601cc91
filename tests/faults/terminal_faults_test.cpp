// The fault campaign on the RS-232C test terminal: the real window on a real QSerialLink to
// the logger simulator over a pty. A fault at start-up tells the operator and closes the
// window (a silent logger: integration/terminal_sim); a fault on a typed command leaves the area as
// it was, or shows what came, and the terminal takes the next command with its own reply.
#include "Press.h"
#include "SimProcess.h"
#include "TempHome.h"
#include "WaitFor.h"
#include "serial/QSerialLink.h"
#include "serial/gui/frmRSTest.h"
#include "shell/AppContext.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

namespace
{

struct Row {
    bool AtStartUp; // the fault is in effect from the simulator's start
    const char* Fault;
    // A typed "mno?": what the area shows then; nullptr: what it showed before.
    const char* Shown = nullptr;
};

void PrintTo(const Row& r, std::ostream* os)
{
    *os << (r.AtStartUp ? "start-up: " : "typed: ") << r.Fault;
}

const Row Rows[] = {
    {true, "error RES 031"},   {true, "partial RES"},
    {true, "longline RES"},    {false, "silent"},
    {false, "error MNO? 004"}, {false, "garble MNO?", "MNO?\n\\xA5#?~\\x1B\\xF3@\n"},
    {false, "partial MNO?"},   {false, "nul MNO?", "MNO?\n7\\x00\\x00,7\n"},
    {false, "longline MNO?"},  {false, "stray", "MNO?\n\\xFF7,7\n\\xFE\\xFF"},
};

class TerminalFaults : public testing::TestWithParam<Row>
{
};

TEST_P(TerminalFaults, TellsTheOperatorOrKeepsTheAreaAndTakesTheNextCommand)
{
    const Row& c = GetParam();
    TempHome home;
    SimProcess sim;
    QStringList options{"--com", "1", "--no-pace", "--channels", "1,2", "--mno", "7"};
    if (c.AtStartUp)
        options << "--fault" << c.Fault;
    ASSERT_TRUE(sim.Start(options)) << sim.ErrorText().toStdString();
    AppContext context;
    RecordingMessages messages;
    InitGlobalValues(context.G);
    context.G.AppFolder = home.Path() + "/";
    context.UserFolder = home.UserFolder();
    const auto link = std::make_unique<QSerialLink>(context.Port, context.UserFolder, messages);
    context.Link = link.get();
    context.Messages = &messages;
    const auto window = std::make_unique<frmRSTest>(context);
    const auto Type = [&](const char* text) {
        window->txtOutput->clear();
        FocusOn(window->txtOutput);
        TypeText(text);
        TypeKey(Qt::Key_Return);
    };
    const auto Area = [&] { return window->txtInput->toPlainText(); };
    window->show();
    ASSERT_TRUE(
        WaitFor([&] { return window->txtOutput->isEnabled() || !window->isVisible(); }, 20000));
    if (c.AtStartUp) {
        EXPECT_FALSE(window->isVisible());
        ASSERT_EQ(messages.Shown.size(), 1u);
        EXPECT_EQ(messages.Shown[0].Title.En, "No Connect!");
        EXPECT_EQ(messages.Shown[0].Text.En, "QL-860H Not Connected!");
        EXPECT_FALSE(link->PortOpened());
        return;
    }
    ASSERT_TRUE(window->isVisible());
    for (const char* typed : {"set1", "set2", "rng?"})
        Type(typed);
    ASSERT_EQ(Area(), "RNG?\n1000,1000\n");
    ASSERT_TRUE(sim.Control(QStringLiteral("fault ") + c.Fault)) << sim.ErrorText().toStdString();
    Type("mno?");
    EXPECT_EQ(Area(), c.Shown ? QString::fromLatin1(c.Shown) : QStringLiteral("RNG?\n1000,1000\n"));
    ASSERT_TRUE(sim.Control("fault none"));
    // The next command gets its own reply, not the remains of the last one.
    Type("mno?");
    EXPECT_EQ(Area(), "MNO?\n7,7\n");
    EXPECT_TRUE(messages.Shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Campaign, TerminalFaults, testing::ValuesIn(Rows),
                         [](const auto& info) { return "T" + std::to_string(info.index); });

} // namespace
