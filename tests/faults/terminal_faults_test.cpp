// The fault campaign on the RS-232C test terminal: the real window on a real QSerialLink
// to the logger simulator over a pty. A fault at start-up tells the operator and closes
// the window; a fault on a typed command leaves the area as it was, and the terminal
// takes the next command.
#include "CampaignTable.h"
#include "Press.h"
#include "SimProcess.h"
#include "TempHome.h"
#include "WaitFor.h"
#include "serial/QSerialLink.h"
#include "serial/gui/frmRSTest.h"
#include "shell/AppContext.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace
{

struct TerminalCase {
    const char* Name;
    QStringList StartFaults;
    QStringList Strike; // control lines before the typed command
    const char* Typed;
    // What the area shows after the typed command; nullptr: what it showed before.
    const char* Shown;
};

void PrintTo(const TerminalCase& c, std::ostream* os)
{
    *os << c.Name;
}

class TerminalFaults : public testing::TestWithParam<TerminalCase>
{
protected:
    bool Start(const QStringList& faults)
    {
        QStringList options{"--com", "1", "--no-pace", "--channels", "1,2", "--mno", "7"};
        for (const QString& f : faults)
            options << "--fault" << f;
        if (!sim.Start(options)) {
            ADD_FAILURE() << sim.ErrorText().toStdString();
            return false;
        }
        InitGlobalValues(context.G);
        context.G.AppFolder = home.Path() + "/";
        context.UserFolder = home.UserFolder();
        link = std::make_unique<QSerialLink>(context.Port, context.UserFolder, messages);
        context.Link = link.get();
        context.Messages = &messages;
        window = std::make_unique<frmRSTest>(context);
        window->show();
        return true;
    }
    bool Ready() const
    {
        return WaitFor([&] { return window->txtOutput->isEnabled() || !window->isVisible(); },
                       20000) &&
               window->isVisible();
    }
    void Type(const QString& text)
    {
        window->txtOutput->clear();
        FocusOn(window->txtOutput);
        TypeText(text);
        TypeKey(Qt::Key_Return);
    }
    QString Area() const { return window->txtInput->toPlainText(); }

    TempHome home;
    SimProcess sim;
    AppContext context;
    RecordingMessages messages;
    std::unique_ptr<QSerialLink> link;
    std::unique_ptr<frmRSTest> window;
};

TEST_P(TerminalFaults, TheAreaKeepsTheLastGoodExchangeAndTheNextCommandWorks)
{
    const TerminalCase& c = GetParam();
    ASSERT_TRUE(Start(c.StartFaults));
    ASSERT_TRUE(Ready());
    Type("set1");
    Type("set2");
    Type("rng?");
    ASSERT_EQ(Area(), "RNG?\n1000,1000\n");
    for (const QString& line : c.Strike)
        ASSERT_TRUE(sim.Control(line)) << sim.ErrorText().toStdString();
    QElapsedTimer t;
    t.start();
    Type(c.Typed);
    const QString shown = Area();
    EXPECT_EQ(shown, c.Shown ? QString::fromLatin1(c.Shown) : QStringLiteral("RNG?\n1000,1000\n"));
    // A reply that comes too late is still on its way: the next command begins once it
    // has come, as an operator would see it arrive.
    if (c.Strike.first().startsWith("fault slow")) {
        EXPECT_TRUE(WaitFor([&] { return sim.Replies().contains("7,7"); }));
    }
    ASSERT_TRUE(sim.Control("fault none"));
    // The next command gets its own reply, not the remains of the last one.
    Type("mno?");
    EXPECT_EQ(Area(), "MNO?\n7,7\n");
    const qint64 ms = t.elapsed();
    EXPECT_TRUE(messages.Shown.empty());
    QString seen = shown;
    seen.replace('\n', ' ');
    CampaignTable::Instance().Add({c.Name, "test terminal", "area: " + seen.trimmed(), ms, "-"});
}

const TerminalCase TypedCases[] = {
    {"ERR-004 to a typed command", {}, {"fault error MNO? 004"}, "mno?", nullptr},
    {"garbled reply", {}, {"fault garble MNO?"}, "mno?", "MNO?\n\\xA5#?~\\x1B\\xF3@\n"},
    {"partial reply", {}, {"fault partial MNO?"}, "mno?", nullptr},
    {"NUL bytes", {}, {"fault nul MNO?"}, "mno?", "MNO?\n7\\x00\\x00,7\n"},
    {"6000-byte line", {}, {"fault longline MNO?"}, "mno?", nullptr},
    {"reply 700 ms late (over 500)", {}, {"fault slow MNO? 700"}, "mno?", nullptr},
    {"stray bytes", {}, {"fault stray"}, "mno?", "MNO?\n\\xFF7,7\n\\xFE\\xFF"},
    {"no answer", {}, {"fault silent"}, "mno?", nullptr},
};

INSTANTIATE_TEST_SUITE_P(Typed, TerminalFaults, testing::ValuesIn(TypedCases),
                         [](const auto& info) { return "T" + std::to_string(info.index); });

class TerminalStartFaults : public TerminalFaults
{
};

TEST_P(TerminalStartFaults, TellsTheOperatorAndCloses)
{
    const TerminalCase& c = GetParam();
    ASSERT_TRUE(Start(c.StartFaults));
    QElapsedTimer t;
    t.start();
    ASSERT_TRUE(WaitFor([&] { return !window->isVisible(); }, 20000));
    const qint64 ms = t.elapsed();
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Title.En, "No Connect!");
    EXPECT_EQ(messages.Shown[0].Text.En, "QL-860H Not Connected!");
    EXPECT_FALSE(link->PortOpened());
    CampaignTable::Instance().Add(
        {c.Name, "test terminal start-up", "No Connect!: QL-860H Not Connected!", ms, "-"});
}

const TerminalCase StartCases[] = {
    {"no answer", {"silent"}, {}, "", nullptr},
    {"ERR-031 to RES", {"error RES 031"}, {}, "", nullptr},
    {"partial RES", {"partial RES"}, {}, "", nullptr},
    {"6000-byte RES", {"longline RES"}, {}, "", nullptr},
};

INSTANTIATE_TEST_SUITE_P(StartUp, TerminalStartFaults, testing::ValuesIn(StartCases),
                         [](const auto& info) { return "S" + std::to_string(info.index); });

} // namespace
