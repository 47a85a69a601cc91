// The connection check and the live monitor on the screen's timer: what goes over the
// line, what the operator is told, and what the monitor grid shows.
#include "FakeLogger.h"
#include "ScriptedLink.h"
#include "logger/LiveMonitor.h"
#include "logger/ResetLoggerSettings.h"
#include "shell/Globals.h"
#include "shell/GridModel.h"

#include <gtest/gtest.h>

namespace
{

// The screen side, recorded.
struct RecordingScreen : MonitorScreen {
    void StopTimer() override { TimerRunning = false; }
    void StartTimer(int intervalMs) override
    {
        TimerRunning = true;
        IntervalMs = intervalMs;
    }
    void ShowStatus(const QString& text) override
    {
        Status = text;
        SentBeforeStatus = Link ? int(Link->Sent.size()) : 0;
    }
    void CompleteScreen() override { ++Completed; }
    void LeaveScreen() override { ++Left; }

    ScriptedLink* Link = nullptr;
    bool TimerRunning = true;
    int IntervalMs = CheckIntervalMs;
    QString Status;
    int SentBeforeStatus = -1;
    int Completed = 0;
    int Left = 0;
};

class Monitor : public testing::Test
{
protected:
    Monitor()
    {
        globals.UiLanguage = 1;
        ResetLoggerSettings(settings, QDateTime(QDate(2024, 5, 1), QTime(9, 0)));
        screen.Link = &link;
        link.Otherwise = [this](const QString& cmd) {
            if (cmd == "RES" && timeoutAtFirstRes < 0)
                timeoutAtFirstRes = link.ReplyTimeout();
            return logger(cmd);
        };
        logger.Wide["MDT"] = "+001234,+000056";
    }

    LiveMonitor Make() { return LiveMonitor(&link, messages, globals, settings, grid, screen); }

    // Puts the monitor in its polling state for the given channels and coefficients.
    void Polling(std::initializer_list<std::pair<int, double>> channels)
    {
        int rows = 0;
        for (auto [ch, coefficient] : channels) {
            settings.Channel[ch].Active = true;
            settings.Channel[ch].Coefficient = coefficient;
            ++rows;
        }
        grid.SetCols(3);
        grid.SetRows(rows);
        link.Connect(true);
        link.Sent.clear();
    }

    FakeLogger logger;
    ScriptedLink link;
    RecordingMessages messages;
    Globals globals;
    LoggerSettings settings;
    GridModel grid;
    RecordingScreen screen;
    int32_t timeoutAtFirstRes = -1;
};

TEST_F(Monitor, SuccessfulCheckReadsTheSettingsAndStartsPolling)
{
    logger.Present = {1, 2, 4};
    LiveMonitor monitor = Make();
    int16_t mode = 0;
    monitor.Tick(mode);

    EXPECT_EQ(mode, 1);
    EXPECT_EQ(link.ConnectCalls, 1);
    EXPECT_TRUE(link.PortOpened());
    EXPECT_EQ(link.WaitCalls, 1);
    EXPECT_EQ(timeoutAtFirstRes, 1000);
    ASSERT_FALSE(link.Sent.empty());
    EXPECT_EQ(link.Sent.front(), QStringLiteral("RES"));
    // The status line speaks before the settings read starts.
    EXPECT_EQ(screen.Status, QStringLiteral("QL-860H is connected. Get parameters!"));
    EXPECT_EQ(screen.SentBeforeStatus, 1);
    EXPECT_EQ(screen.Completed, 1);
    EXPECT_EQ(settings.ChannelCount, 3);
    const std::vector<QString> tail(link.Sent.end() - 6, link.Sent.end());
    EXPECT_EQ(tail, (std::vector<QString>{"RES", "SET1", "SET2", "SET4", "PON", "TRM21"}));
    EXPECT_TRUE(screen.TimerRunning);
    EXPECT_EQ(screen.IntervalMs, 1000);
    EXPECT_EQ(screen.Left, 0);
    EXPECT_TRUE(messages.Shown.empty());
}

TEST_F(Monitor, FailedChecksTellTheOperatorAndLeaveTheScreen)
{
    struct Case {
        const char* What;
        std::function<void(FakeLogger&, ScriptedLink&)> Arrange;
        const char* TitleJa;
        const char* Text;
    };
    const std::vector<Case> cases = {
        {"error reply to the probe",
         [](FakeLogger& l, ScriptedLink&) { l.Nth["RES"][1] = "ERR-031"; }, "PWS-500C 未接続!",
         "PWS-500C Not Connected!"},
        {"silent logger", [](FakeLogger&, ScriptedLink& k) { k.Silent("RES"); }, "QL-860H 未接続!",
         "QL-860H Not Connected!"},
        {"no CH2",
         [](FakeLogger& l, ScriptedLink&) {
             l.Present = {1, 3};
         },
         "PWS-500C 未接続!", "PWS-500C Not Connected!"},
    };
    for (const Case& c : cases) {
        logger = FakeLogger();
        link = ScriptedLink();
        link.Otherwise = [this](const QString& cmd) { return logger(cmd); };
        messages.Shown.clear();
        screen = RecordingScreen();
        c.Arrange(logger, link);

        LiveMonitor monitor = Make();
        int16_t mode = 0;
        monitor.Tick(mode);
        EXPECT_EQ(mode, 0) << c.What;
        ASSERT_EQ(messages.Shown.size(), 1u) << c.What;
        const UiMessage& m = messages.Shown[0];
        EXPECT_EQ(m.Title.Ja, QString::fromUtf8(c.TitleJa)) << c.What;
        EXPECT_EQ(m.Title.En, QString::fromLatin1(c.Text)) << c.What;
        EXPECT_EQ(m.Text.Ja, QString::fromLatin1(c.Text)) << c.What;
        EXPECT_EQ(m.Text.En, QString::fromLatin1(c.Text)) << c.What;
        EXPECT_EQ(m.Icon, MessageIcon::None) << c.What;
        EXPECT_EQ(screen.Left, 1) << c.What;
        EXPECT_EQ(screen.Completed, 0) << c.What;
        EXPECT_FALSE(screen.TimerRunning) << c.What;
        EXPECT_EQ(std::count(link.Sent.begin(), link.Sent.end(), QStringLiteral("PON")), 0)
            << c.What;
    }
}

TEST_F(Monitor, DebugModeCompletesTheScreenWithoutAnyTraffic)
{
    globals.DebugMode = 1;
    LiveMonitor monitor = Make();
    int16_t mode = 0;
    monitor.Tick(mode);
    EXPECT_TRUE(link.Sent.empty());
    EXPECT_EQ(link.ConnectCalls, 0);
    EXPECT_EQ(link.WaitCalls, 0);
    EXPECT_EQ(screen.Completed, 1);
    EXPECT_FALSE(screen.TimerRunning); // idle: no monitoring without a logger
    EXPECT_EQ(mode, 0);
    EXPECT_TRUE(messages.Shown.empty());
}

TEST_F(Monitor, PollScalesEachReadingIntoItsUnit)
{
    Polling({{1, 0.025}, {2, 0.5}});
    LiveMonitor monitor = Make();
    int16_t mode = 1;
    monitor.Tick(mode);
    EXPECT_EQ(link.Sent, std::vector<QString>{"MDT"});
    EXPECT_EQ(grid.Text(0, 1), QStringLiteral("30850"));
    EXPECT_EQ(grid.Text(1, 1), QStringLiteral("28.0"));
    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_EQ(screen.Left, 0);
}

TEST_F(Monitor, PollWalksOnlyTheActiveChannels)
{
    Polling({{1, 0.01}, {2, 0.1}, {4, 0.2}});
    logger.Wide["MDT"] = "+000100,-000015,ABCDEFG,+000999";
    LiveMonitor monitor = Make();
    monitor.MonitorPoll();
    EXPECT_EQ(grid.Text(0, 1), QStringLiteral("1000"));
    EXPECT_EQ(grid.Text(1, 1), QStringLiteral("-1.5"));
    EXPECT_EQ(grid.Text(2, 1), QStringLiteral("****")); // not a number; surplus field ignored
}

TEST_F(Monitor, ShortOrFailedReadingsAreACommunicationFailure)
{
    for (const QString& reply : {QStringLiteral("12,3"), QStringLiteral("ERR-002"), QString()}) {
        Polling({{1, 0.025}, {2, 0.5}});
        logger.Wide["MDT"] = reply;
        messages.Shown.clear();
        screen.Left = 0;
        LiveMonitor monitor = Make();
        monitor.MonitorPoll();
        ASSERT_EQ(messages.Shown.size(), 1u) << reply.toStdString();
        const UiMessage& m = messages.Shown[0];
        EXPECT_EQ(m.Title.En, QStringLiteral("RS-232C ERROR"));
        EXPECT_EQ(m.Title.Ja, QString::fromUtf8("RS-232Cエラー"));
        EXPECT_EQ(m.Text.En,
                  QStringLiteral("Communication Error on RS-232C!\r\nReturn Mainmenu.\r\n"
                                 "Check RS-232C Connection."));
        EXPECT_EQ(m.Text.Ja, QString::fromUtf8("QL-860Hとの通信でエラーが発生しました！\r\n"
                                               "メインメニューに戻ります。\r\n"
                                               "RS-232Cの接続等を確認してください。"));
        EXPECT_EQ(screen.Left, 1);
        EXPECT_TRUE(grid.Text(0, 1).isEmpty());
    }
}

TEST_F(Monitor, SixteenCharactersAreEnoughAndASingleFieldChangesNothing)
{
    Polling({{1, 1.0}, {2, 1.0}});
    logger.Wide["MDT"] = "+00001,+0000002"; // 15 + CR LF
    LiveMonitor monitor = Make();
    monitor.MonitorPoll();
    EXPECT_EQ(grid.Text(1, 1), QStringLiteral("2.0"));
    logger.Wide["MDT"] = "+0000000000009"; // no "," at all
    monitor.MonitorPoll();
    EXPECT_EQ(grid.Text(1, 1), QStringLiteral("2.0"));
    EXPECT_TRUE(messages.Shown.empty());
}

TEST_F(Monitor, PortClosedUnderTheMonitorIsALostLogger)
{
    Polling({{1, 1.0}, {2, 1.0}});
    link.Connect(false); // as the line does when the peer hangs up
    LiveMonitor monitor = Make();
    int16_t mode = 1;
    monitor.Tick(mode);
    EXPECT_TRUE(link.Sent.empty());
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Title.En, QStringLiteral("RS-232C ERROR"));
    EXPECT_EQ(screen.Left, 1);
}

TEST(MonitorRowsTable, NamesFollowTheChannelNumbersInBothLanguages)
{
    LoggerSettings s;
    for (int ch : {1, 2, 4, 6})
        s.Channel[ch].Active = true;
    const auto en = MonitorRows(s, 1);
    ASSERT_EQ(en.size(), 4u);
    EXPECT_EQ(en[0].Name, QStringLiteral("Load P0"));
    EXPECT_EQ(en[0].Unit, QStringLiteral(" N"));
    EXPECT_EQ(en[1].Name, QStringLiteral("Acc. A0"));
    EXPECT_EQ(en[2].Name, QStringLiteral("Acc. A2"));
    EXPECT_EQ(en[3].Name, QStringLiteral("Acc. A4"));
    EXPECT_EQ(en[3].Unit, QStringLiteral(" m/s2"));
    const auto ja = MonitorRows(s, 0);
    EXPECT_EQ(ja[0].Name, QString::fromUtf8("荷重 P0"));
    EXPECT_EQ(ja[1].Name, QString::fromUtf8("加速度 A0"));
    EXPECT_EQ(ja[2].Name, QString::fromUtf8("加速度 A2"));
}

} // namespace
