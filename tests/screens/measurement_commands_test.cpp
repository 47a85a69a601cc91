// The measurement screen's commands as logic, without a widget: what follows a run, the
// monitor timer around the settings and a printout, and a close asked for during a tick.
#include "ScreenDay.h"
#include "ScriptedLink.h"
#include "screens/MeasurementCommands.h"
#include "screens/MeasurementScreen.h"
#include "shell/GridModel.h"

#include <gtest/gtest.h>

namespace
{

using Steps = std::vector<std::string>;

// The window as its commands see it; every step is logged. Closing comes back to the
// commands, as the window's close event does.
struct Window : MeasurementWindow {
    bool TimerActive() const override { return Active; }
    void StopTimer() override { Active = (Log("stop"), false); }
    void StartTimer() override { Active = (Log("start"), true); }
    void ShowPrint() override { Log("print"); }
    void Close() override { Closed = (Log("close"), Commands->MayClose()); }
    void Log(const char* step) { Done.push_back(step); }
    bool Active = true;
    bool Closed = false;
    MeasurementCommands* Commands = nullptr;
    Steps Done;
};

struct Screen : ScreenDay<> {
    Screen()
    {
        context.Link = &link;
        link.Connect(true);
        PutFixedHeadings(grid, 2, UiLanguage::English);
        window.Commands = &commands;
    }
    ScriptedLink link;
    GridModel grid;
    Window window;
    MeasurementCommands commands{context, grid, window};
};

TEST(MeasurementCommands, AfterTheRun)
{
    const struct {
        std::optional<RunOutcome> Outcome; // none: the screen went during the run
        Steps Expected;
        int GridRows; // 2: headings only, untouched
        QString Sent;
        int16_t DebugMode = 0;
    } cases[] = {
        {RunOutcome::Measured, {"stop", "run", "print", "start"}, 12, "RES SET1 MNO12 RES SET1"},
        {RunOutcome::Cancelled,
         {"stop", "run", "start"},
         2,
         "RES SET1 RES SET2 RES SET3 RES SET4 RES SET5 RES SET6 RES RES"},
        {RunOutcome::LinkLost, {"stop", "run", "close", "stop"}, 2, ""},
        {std::nullopt, {"stop", "run"}, 2, ""},
        {RunOutcome::Measured, {"stop", "run", "start"}, 2, "", 1}, // debug mode keeps nothing
        {RunOutcome::Cancelled, {"stop", "run", "start"}, 2, "", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Outcome ? int(*c.Outcome) : -1);
        Screen s;
        s.context.G.DebugMode = c.DebugMode;
        s.context.Logger.MeasNo = 11;
        s.context.Logger.PlateDiameter = 300;
        s.context.Logger.Channel[1].Active = true;
        s.context.Logger.MaxChannel = 1;
        // MaxResults results before the run; the run leaves its drop, not yet numbered.
        ResultsTable& table = s.context.Results;
        for (; table.ResultCount < 10; ++table.ResultCount)
            table.Entries[table.ResultCount] = {
                QString::number(table.ResultCount + 100001).mid(1), "", {0, 30000, 1}};
        s.commands.Measure(
            [&]() -> std::optional<RunResult> {
                s.window.Log("run");
                if (!c.Outcome)
                    return std::nullopt;
                RunResult result{*c.Outcome, std::nullopt};
                if (*c.Outcome == RunOutcome::Measured)
                    result.Drop = DropAnswers{s.clock.Now(), {0, 30000, 1}};
                return result;
            },
            200);
        EXPECT_EQ(s.window.Done, c.Expected);
        EXPECT_EQ(s.grid.Rows(), c.GridRows);
        EXPECT_EQ(s.link.PortOpened(), c.Outcome != RunOutcome::LinkLost);
        // The next number after the stored line; the settings read again after a cancel.
        EXPECT_EQ(QStringList(s.link.Sent.begin(), s.link.Sent.end()).join(' '), c.Sent);
        if (c.GridRows == 2)
            continue;
        // Ten kept, newest first: the oldest went, the new one is numbered and stored.
        EXPECT_EQ(table.ResultCount, 10);
        EXPECT_EQ(s.grid.Text(2, 0) + s.grid.Text(2, 4) + s.grid.Text(11, 0), "0001142400002");
        EXPECT_EQ(s.grid.RowHeight(11), 200);
        QFile file(s.TodaysFile());
        EXPECT_TRUE(
            file.open(QIODevice::ReadOnly) &&
            file.readAll().endsWith("\n00011,05/01/2024 09:30:15,30000,1.000,424,100,,,,,,BO\r\n"))
            << s.TodaysFile().toStdString();
    }
}

TEST(MeasurementCommands, SettingAndPrintPauseTheMonitorAndResumeOnlyWhatRan)
{
    const struct {
        bool Polling, ScreenStays;
        Steps Expected;
    } cases[] = {
        {true, true, {"stop", "open", "start"}},
        {false, true, {"stop", "open"}}, // debug mode's idle timer stays idle
        {true, false, {"stop", "open"}},
    };
    for (const auto& c : cases) {
        Screen s;
        s.window.Active = c.Polling;
        s.commands.Paused([&] {
            EXPECT_FALSE(s.window.Active);
            s.window.Log("open");
            return c.ScreenStays;
        });
        EXPECT_EQ(s.window.Done, c.Expected) << c.Polling << c.ScreenStays;
    }
}

TEST(MeasurementCommands, ACloseDuringATickWaitsForItsEnd)
{
    Screen s;
    s.commands.Tick([&] {
        s.window.Log("tick");
        s.window.Close(); // Main Menu pressed while the check waits for a reply
        EXPECT_FALSE(s.window.Closed);
        EXPECT_TRUE(s.link.PortOpened());
        s.window.Log("tick over");
    });
    EXPECT_EQ(s.window.Done, (Steps{"tick", "close", "tick over", "close", "stop"}));
    EXPECT_TRUE(s.window.Closed);
    EXPECT_FALSE(s.link.PortOpened());
}

} // namespace
