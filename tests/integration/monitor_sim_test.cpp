// The settings read, the connection check and the live monitor over the real serial line,
// against the logger simulator on a pseudo-terminal reached through ports/COM1.
#include "ScriptedLink.h"
#include "SimProcess.h"
#include "TempHome.h"
#include "logger/LiveMonitor.h"
#include "logger/ReadLoggerSettings.h"
#include "record/ResetLoggerSettings.h"
#include "screens/MeasurementScreen.h"
#include "serial/QSerialLink.h"
#include "shell/Globals.h"
#include "shell/GridModel.h"
#include "shell/MessageSink.h"

#include <gtest/gtest.h>

namespace
{

struct RecordingScreen : MonitorScreen {
    void StopTimer() override {}
    void StartTimer(int intervalMs) override { IntervalMs = intervalMs; }
    void ShowConnected() override {}
    void CompleteScreen() override { ++Completed; }
    void LeaveScreen() override { ++Left; }

    int IntervalMs = 0;
    int Completed = 0;
    int Left = 0;
};

class MonitorOnTheLine : public testing::Test
{
protected:
    MonitorOnTheLine()
    {
        globals.UiLanguage = UiLanguage::English;
        ResetLoggerSettings(settings, QDateTime(QDate(2024, 5, 1), QTime(9, 0)));
    }

    // The simulator, unpaced unless asked, and the program's line to it, open.
    void Start(QStringList options)
    {
        if (!options.contains("--pace"))
            options << "--no-pace";
        ASSERT_TRUE(sim.Start(options << "--com"
                                      << "1"))
            << sim.ErrorText().toStdString();
        link = std::make_unique<QSerialLink>(port, home.UserFolder(), messages);
        link->Connect(true);
        ASSERT_TRUE(link->PortOpened());
        link->SetReplyTimeout(1000);
    }
    int32_t Read() { return ReadLoggerSettings(*link, messages, settings); }
    int16_t Check()
    {
        int16_t mode = 0;
        Monitor().Tick(mode);
        return mode;
    }
    // The monitor with one grid row per active channel, as the screen sets it up.
    LiveMonitor Monitor()
    {
        grid.SetCols(3);
        grid.SetRows(int(MonitorRows(settings, globals.UiLanguage).size()));
        return LiveMonitor(link.get(), messages, globals, settings, grid, screen);
    }
    QString Shown() const { return messages.Shown.empty() ? "" : messages.Shown[0].Title.En; }

    TempHome home; // first: the simulator's port link goes below this HOME
    SimProcess sim;
    PortSettings port;
    RecordingMessages messages;
    std::unique_ptr<QSerialLink> link;
    Globals globals;
    LoggerSettings settings;
    GridModel grid;
    RecordingScreen screen;
};

const QStringList Detection = {"RES",  "SET1", "RES",  "SET2", "RES",  "SET3", "RES",
                               "SET4", "RES",  "SET5", "RES",  "SET6", "RES"};
const QStringList MainRead = {
    "RES",   "SET1",  "RNG?", "LPF?",  "HPF?", "CLK?",  "MRY?", "MRY-?", "MNO?", "TGL?",  "EPA47",
    "EPD?",  "EPA48", "EPD?", "EPA51", "EPD?", "EPA52", "EPD?", "EPA53", "EPD?", "EPA54", "EPD?",
    "EPA57", "EPD?",  "VS",   "SEA?",  "RES",  "SET2",  "RNG?", "LPF?",  "HPF?", "TGL?",  "RES"};
const QStringList Channel4Read = {"RES",  "SET4",  "RNG?", "LPF?",  "HPF?", "MNO?",
                                  "TGL?", "EPA52", "EPD?", "EPA54", "EPD?", "RES"};

TEST_F(MonitorOnTheLine, FullReadOfALoggerWithChannelsOneTwoAndFour)
{
    Start({"--channels", "1,2,4", "--mno", "7", "--mno", "4=3", "--param", "54=15000", "--tgl",
           "4=1234", "--lpf", "4=2000", "--range", "2=4000"});
    ASSERT_EQ(Read(), 0);

    EXPECT_EQ(sim.Commands(),
              Detection + MainRead + Channel4Read + QStringList({"RES", "SET4", "MNO7"}));
    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_EQ(settings.ChannelCount, 3);
    EXPECT_FALSE(settings.Channel[3].Active);
    EXPECT_EQ(settings.MeasNo, 7);
    EXPECT_EQ(settings.PlateDiameter, 300);
    EXPECT_DOUBLE_EQ(settings.PoissonRatio, 0.35);
    EXPECT_DOUBLE_EQ(settings.Channel[1].Coefficient, 0.0025); // capacity 50 at rated output 2000
    EXPECT_EQ(settings.Channel[2].Range, 4000);
    EXPECT_DOUBLE_EQ(settings.Channel[2].Coefficient, 1000.0 / 1500.0 / 5.0);
    // CH4 from the addresses of CH2.
    EXPECT_DOUBLE_EQ(settings.Channel[4].RatedOutput, 1500.0);
    EXPECT_EQ(settings.Channel[4].LowPass, 2000);
    EXPECT_EQ(settings.Channel[4].TriggerLevel, 1234);
    EXPECT_EQ(settings.Channel[4].UnitCode, 2);
    EXPECT_EQ(settings.CalcType, 1);
}

struct ReadCase {
    const char* Options; // separated by ";"
    int32_t Result;
    const char* Message; // English title of the one message, or "" for none
    std::function<bool(const LoggerSettings&, const QStringList& commands)> Holds;
};

class SettingsRead : public MonitorOnTheLine, public testing::WithParamInterface<ReadCase>
{
};

TEST_P(SettingsRead, TakesWhatTheLoggerSaysWithinItsValues)
{
    const ReadCase& c = GetParam();
    Start(QString(c.Options).split(';'));
    EXPECT_EQ(Read(), c.Result);
    EXPECT_EQ(Shown(), c.Message);
    EXPECT_LE(messages.Shown.size(), 1u);
    EXPECT_TRUE(c.Holds(settings, sim.Commands())) << c.Options;
}

using S = const LoggerSettings&;
using C = const QStringList&;
INSTANTIATE_TEST_SUITE_P(
    Replies, SettingsRead,
    testing::Values(
        ReadCase{"--range;1=2000", 0, "", [](S s, C) { return s.Channel[1].Range == 1000; }},
        ReadCase{"--param;57=3", 0, "", [](S s, C) { return s.TriggerChannel == 1; }},
        ReadCase{"--firmware;2.0D;--sea;2", 0, "",
                 [](S s, C c) { return s.CalcType == 1 && !c.contains("SEA?"); }},
        ReadCase{"--firmware;2.0E;--sea;2", 0, "", [](S s, C) { return s.CalcType == 2; }},
        ReadCase{"--fault;error LPF? 004", 0, "Parameter value is overrange!",
                 [](S s, C c) { return c.last() == "LPF?" && s.Channel[1].LowPass == 5000; }},
        ReadCase{"--fault;error SEA? 030", 0, "No usable PWS-500",
                 [](S, C c) { return c.last() == "SEA?"; }},
        ReadCase{"--fault;error SEA? 031;--range;2=4000", 0, "No PWS-500",
                 [](S s, C c) { return c.last() == "SEA?" && s.Channel[2].Range == 1000; }},
        ReadCase{"--fault;partial VS;--sea;2", 0, "No QL-860H error", // CH2 is still read
                 [](S s, C c) {
                     return s.CalcType == 1 && !c.contains("SEA?") && s.Channel[2].LowPass == 1000;
                 }},
        ReadCase{"--channels;2,3", -1, "",
                 [](S s, C c) { return c == Detection && s.PlateDiameter == 90; }}));

TEST_F(MonitorOnTheLine, CheckAndMonitorShowTheScaledReadingsAtLineSpeed)
{
    // Coefficients 50 / 200 / 10 = 0.025 for CH1 and 1000 / 200 / 10 = 0.5 for the others.
    Start({"--pace", "--channels", "1,2,4,6", "--param", "53=2000", "--param", "54=2000", "--noise",
           "0", "--offset", "1=1234", "--offset", "2=56", "--offset", "4=30", "--offset", "6=-40"});
    ASSERT_EQ(Check(), 1);
    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_EQ(screen.Completed, 1);
    EXPECT_EQ(screen.IntervalMs, 1000);
    EXPECT_EQ(sim.Commands().first(), QStringLiteral("RES"));
    EXPECT_EQ(sim.Commands().mid(sim.Commands().size() - 7),
              (QStringList{"RES", "SET1", "SET2", "SET4", "SET6", "PON", "TRM21"}));

    LiveMonitor monitor = Monitor();
    for (int16_t mode = 1, i = 0; i < 3; ++i)
        monitor.Tick(mode);
    EXPECT_EQ(sim.Commands().mid(sim.Commands().size() - 3), (QStringList{"MDT", "MDT", "MDT"}));
    const QStringList shown{grid.Text(0, 1), grid.Text(1, 1), grid.Text(2, 1), grid.Text(3, 1)};
    EXPECT_EQ(shown, (QStringList{"30850", "28.0", "15.0", "-20.0"}));
    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_EQ(screen.Left, 0);
}

// A poll shows what a reply of at least 16 characters (line end included) holds: "****" for a
// field that is no number, nothing new for a single field. A shorter reply is a lost line.
TEST_F(MonitorOnTheLine, APollShowsWhatTheReplyHoldsAndAShortReplyLeaves)
{
    const struct {
        const char *Reply, *Load, *Acc;
        int Left;
    } rows[] = {
        {"+001234,+00005", "30850", "2.5", 0}, // 16 with the line end
        {"+001234,abcdef", "30850", "****", 0},
        {"+0012345678901", "", "", 0},
        {"+001234,+0005", "", "", 1}, // 15
    };
    settings.Channel[1].Active = settings.Channel[2].Active = true;
    std::tie(settings.Channel[1].Coefficient, settings.Channel[2].Coefficient) =
        std::pair(0.025, 0.5);
    for (const auto& r : rows) {
        ScriptedLink line;
        line.Connect(true);
        line.On("MDT", r.Reply);
        grid.SetCols(3);
        grid.SetRows(2);
        grid.SetText(0, 1, "");
        grid.SetText(1, 1, "");
        screen.Left = 0;
        int16_t mode = 1;
        LiveMonitor(&line, messages, globals, settings, grid, screen).Tick(mode);
        EXPECT_EQ(grid.Text(0, 1), r.Load) << r.Reply;
        EXPECT_EQ(grid.Text(1, 1), r.Acc) << r.Reply;
        EXPECT_EQ(screen.Left, r.Left) << r.Reply;
    }
}

} // namespace
