// The settings read, the connection check and the live monitor over the real serial line,
// against the logger simulator on a pseudo-terminal reached through ports/COM1.
#include "SimProcess.h"
#include "TempHome.h"
#include "WaitFor.h"
#include "logger/LiveMonitor.h"
#include "logger/ReadLoggerSettings.h"
#include "logger/ResetLoggerSettings.h"
#include "serial/QSerialLink.h"
#include "shell/Globals.h"
#include "shell/GridModel.h"
#include "shell/MessageSink.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace
{

struct RecordingScreen : MonitorScreen {
    void StopTimer() override { TimerRunning = false; }
    void StartTimer(int intervalMs) override
    {
        TimerRunning = true;
        IntervalMs = intervalMs;
    }
    void ShowStatus(const QString& text) override { Status = text; }
    void CompleteScreen() override { ++Completed; }
    void LeaveScreen() override { ++Left; }

    bool TimerRunning = true;
    int IntervalMs = 0;
    QString Status;
    int Completed = 0;
    int Left = 0;
};

class MonitorOnTheLine : public testing::Test
{
protected:
    MonitorOnTheLine()
    {
        globals.UiLanguage = 1;
        ResetLoggerSettings(settings, QDateTime(QDate(2024, 5, 1), QTime(9, 0)));
    }

    // The simulator, unpaced unless asked, and the program's line to it, not yet open.
    void Start(QStringList options)
    {
        if (!options.contains("--pace"))
            options << "--no-pace";
        options << "--com"
                << "1";
        ASSERT_TRUE(sim.Start(options)) << sim.ErrorText().toStdString();
        link = std::make_unique<QSerialLink>(port, home.UserFolder(), messages);
    }
    void Open()
    {
        link->Connect(true);
        ASSERT_TRUE(link->PortOpened());
        link->SetReplyTimeout(1000);
    }
    int16_t Check()
    {
        LiveMonitor monitor(link.get(), messages, globals, settings, grid, screen);
        int16_t mode = 0;
        monitor.Tick(mode);
        return mode;
    }
    // Completes the screen's side: one monitor row per active channel.
    void MonitorRowsFor(const LoggerSettings& s)
    {
        grid.SetCols(3);
        grid.SetRows(int(MonitorRows(s, globals.UiLanguage).size()));
    }

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
           "4=1234", "--lpf", "4=2000"});
    Open();
    ASSERT_EQ(ReadLoggerSettings(*link, messages, settings), 0);

    EXPECT_EQ(sim.Commands(),
              Detection + MainRead + Channel4Read + QStringList({"RES", "SET4", "MNO7"}));
    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_EQ(settings.ChannelCount, 3);
    EXPECT_EQ(settings.LastChannel, 4);
    EXPECT_EQ(settings.MaxChannel, 4);
    EXPECT_FALSE(settings.Channel[3].Active);
    EXPECT_EQ(settings.MeasNo, 7);
    EXPECT_EQ(settings.PlateDiameter, 300);
    EXPECT_DOUBLE_EQ(settings.PoissonRatio, 0.35);
    EXPECT_DOUBLE_EQ(settings.Channel[1].Capacity, 50.0);
    EXPECT_DOUBLE_EQ(settings.Channel[1].RatedOutput, 2000.0);
    EXPECT_DOUBLE_EQ(settings.Channel[1].Coefficient, 0.0025);
    // CH4 from the addresses of CH2.
    EXPECT_DOUBLE_EQ(settings.Channel[4].Capacity, 1000.0);
    EXPECT_DOUBLE_EQ(settings.Channel[4].RatedOutput, 1500.0);
    EXPECT_EQ(settings.Channel[4].LowPass, 2000);
    EXPECT_EQ(settings.Channel[4].TriggerLevel, 1234);
    EXPECT_EQ(settings.Channel[4].UnitCode, 2);
    EXPECT_EQ(settings.CalcType, 1);

    // The logger now carries CH1's number on CH4 too.
    link->RSCom("RES");
    link->RSCom("SET4");
    ASSERT_GT(link->RSCom("MNO?"), 0);
    EXPECT_EQ(link->ReplyText(), QStringLiteral("7\r\n"));
}

TEST_F(MonitorOnTheLine, ErrorToTheFirstResOfTheMainReadShowsTheCommandError)
{
    Start({});
    Open();
    DetectChannels(*link, settings);
    settings.MaxChannel = settings.LastChannel;
    ASSERT_TRUE(sim.Control("fault error RES 002"));
    const int before = int(sim.Commands().size());
    ReadMainSettings(*link, messages, settings);

    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Title.En, QStringLiteral("Command ERROR!"));
    EXPECT_EQ(messages.Shown[0].Text.En, QStringLiteral("The command is ignored!"));
    EXPECT_EQ(sim.Commands().mid(before), QStringList{"RES"});
    EXPECT_EQ(settings.PlateDiameter, 90);
}

TEST_F(MonitorOnTheLine, RangesOutsideTheAcceptedSetAreIgnored)
{
    Start({"--range", "1=2000", "--range", "2=4000"});
    Open();
    ASSERT_EQ(ReadLoggerSettings(*link, messages, settings), 0);
    EXPECT_EQ(settings.Channel[1].Range, 1000); // the start value stays
    EXPECT_EQ(settings.Channel[2].Range, 4000);
    EXPECT_DOUBLE_EQ(settings.Channel[2].Coefficient, 1000.0 / 2000.0 / 5.0);
}

TEST_F(MonitorOnTheLine, PreTriggerEqualToTheRecordLengthIsIgnored)
{
    Start({"--mry", "1000", "--mry-pre", "1000"});
    Open();
    ASSERT_EQ(ReadLoggerSettings(*link, messages, settings), 0);
    EXPECT_EQ(settings.RecordLength, 1000);
    EXPECT_EQ(settings.PreTriggerLength, 400);
}

TEST_F(MonitorOnTheLine, PoissonWordIsTakenInThousandthsBelowOne)
{
    for (const auto& [word, ratio] : {std::pair{"350", 0.35}, std::pair{"1000", 0.3}}) {
        SimProcess other;
        TempHome otherHome;
        ASSERT_TRUE(other.Start({"--no-pace", "--com", "1", "--param", QString("48=") + word}))
            << other.ErrorText().toStdString();
        QSerialLink line(port, otherHome.UserFolder(), messages);
        line.Connect(true);
        ASSERT_TRUE(line.PortOpened());
        line.SetReplyTimeout(1000);
        LoggerSettings s;
        ResetLoggerSettings(s, QDateTime::currentDateTime());
        ASSERT_EQ(ReadLoggerSettings(line, messages, s), 0);
        EXPECT_DOUBLE_EQ(s.PoissonRatio, ratio) << word;
        line.Connect(false);
    }
}

TEST_F(MonitorOnTheLine, CheckAndMonitorShowTheScaledReadings)
{
    // Coefficients 50 / 200 / 10 = 0.025 for CH1 and 1000 / 200 / 10 = 0.5 for CH2.
    Start({"--param", "53=2000", "--param", "54=2000", "--noise", "0", "--offset", "1=1234",
           "--offset", "2=56"});
    ASSERT_EQ(Check(), 1);
    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_EQ(screen.Completed, 1);
    EXPECT_EQ(screen.IntervalMs, 1000);
    EXPECT_DOUBLE_EQ(settings.Channel[1].Coefficient, 0.025);
    EXPECT_DOUBLE_EQ(settings.Channel[2].Coefficient, 0.5);
    EXPECT_EQ(sim.Commands().mid(sim.Commands().size() - 5),
              (QStringList{"RES", "SET1", "SET2", "PON", "TRM21"}));

    MonitorRowsFor(settings);
    LiveMonitor monitor(link.get(), messages, globals, settings, grid, screen);
    int16_t mode = 1;
    monitor.Tick(mode);
    EXPECT_EQ(sim.Replies().last(), QStringLiteral("+001234,+000056"));
    EXPECT_EQ(grid.Text(0, 1), QStringLiteral("30850"));
    EXPECT_EQ(grid.Text(1, 1), QStringLiteral("28.0"));
    EXPECT_EQ(screen.Left, 0);
}

TEST_F(MonitorOnTheLine, LoggerWithoutChannelTwoReportsTheSensorUnit)
{
    Start({"--channels", "1,3"});
    EXPECT_EQ(Check(), 0);
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Text.En, QStringLiteral("PWS-500C Not Connected!"));
    EXPECT_EQ(screen.Left, 1);
    EXPECT_EQ(screen.Completed, 0);
    EXPECT_EQ(sim.Commands(), QStringList{"RES"} + Detection); // the probe, then only detection
}

TEST_F(MonitorOnTheLine, MissingSensorUnitAnswersTheProbeWithAnError)
{
    Start({"--fault", "nosensor"});
    EXPECT_EQ(Check(), 0);
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Title.Ja, QString::fromUtf8("PWS-500C 未接続!"));
    EXPECT_EQ(sim.Commands(), QStringList{"RES"});
}

TEST_F(MonitorOnTheLine, SilentLoggerIsNotConnectedAfterItsTimeOut)
{
    Start({"--fault", "silent"});
    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_EQ(Check(), 0);
    // Printed for the record, not judged: the probe waits out its 1000 ms time-out.
    RecordProperty("silent_check_ms", int(elapsed.elapsed()));
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Title.En, QStringLiteral("QL-860H Not Connected!"));
    EXPECT_EQ(messages.Shown[0].Text.En, QStringLiteral("QL-860H Not Connected!"));
    EXPECT_EQ(screen.Left, 1);
}

TEST_F(MonitorOnTheLine, ReadingsThatFailLeaveWithTheCommunicationError)
{
    for (const char* fault : {"fault error MDT 002", "fault silent", "fault partial MDT"}) {
        SimProcess other;
        TempHome otherHome;
        ASSERT_TRUE(other.Start({"--no-pace", "--com", "1"})) << other.ErrorText().toStdString();
        link = std::make_unique<QSerialLink>(port, otherHome.UserFolder(), messages);
        messages.Shown.clear();
        screen = RecordingScreen();
        ResetLoggerSettings(settings, QDateTime::currentDateTime());
        ASSERT_EQ(Check(), 1) << fault;
        MonitorRowsFor(settings);
        ASSERT_TRUE(other.Control(fault)) << fault;
        LiveMonitor monitor(link.get(), messages, globals, settings, grid, screen);
        monitor.MonitorPoll();
        ASSERT_EQ(messages.Shown.size(), 1u) << fault;
        EXPECT_EQ(messages.Shown[0].Title.En, QStringLiteral("RS-232C ERROR")) << fault;
        EXPECT_EQ(screen.Left, 1) << fault;
    }
}

TEST_F(MonitorOnTheLine, PacedLineAnswersEveryPollOfFourChannels)
{
    Start({"--pace", "--channels", "1,2,4,6"});
    ASSERT_EQ(Check(), 1);
    MonitorRowsFor(settings);
    LiveMonitor monitor(link.get(), messages, globals, settings, grid, screen);
    for (int i = 0; i < 3; ++i)
        monitor.MonitorPoll();
    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_EQ(screen.Left, 0);
    for (int r = 0; r < 4; ++r)
        EXPECT_FALSE(grid.Text(r, 1).isEmpty()) << r;
    EXPECT_EQ(sim.Commands().mid(sim.Commands().size() - 3), (QStringList{"MDT", "MDT", "MDT"}));
}

} // namespace
