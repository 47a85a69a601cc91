#pragma once

#include "logger/MeasurementRun.h"

#include <functional>
#include <optional>

class GridModel;
struct ResultsContext;

// What the measurement screen's commands need of their window.
class MeasurementWindow
{
public:
    virtual ~MeasurementWindow() = default;
    virtual bool TimerActive() const = 0;
    virtual void StopTimer() = 0;
    virtual void StartTimer() = 0; // again, at the interval it had
    virtual void ShowPrint() = 0;
    virtual void Close() = 0; // the window's own close, which comes back to MayClose
};

// The measurement screen's commands without their widgets: the monitor timer around a run,
// the settings and a printout, what follows a run, and a close asked for during a tick.
class MeasurementCommands
{
public:
    MeasurementCommands(ResultsContext& context, GridModel& resultGrid, MeasurementWindow& window);

    // Start: the monitor stops and `run` shows the run form; it returns how the run ended, or
    // nothing when the screen went meanwhile. A lost logger leaves the screen (the run has
    // told the operator). A measured drop is stored, the logger given the next number and
    // the grid brought up to date, Print offered when the line is on the disk; after a
    // cancel the settings are read again. Debug mode's runs leave all as it was. Then the
    // monitor runs again: only now, so that no poll runs while a failed append asks Retry.
    void Measure(const std::function<std::optional<RunResult>()>& run, int dataRowHeight);

    // Setting and Print: the monitor pauses while `open` shows its window and runs again
    // afterwards only if it was running (debug mode's idle timer stays idle). `open` returns
    // false when the screen went meanwhile.
    void Paused(const std::function<bool()>& open);

    // One tick of the timer. A tick pauses in the event loop between exchanges; a close
    // asked for meanwhile is carried out once the tick is over.
    void Tick(const std::function<void()>& tick);

    // Whether the window may close now; if so the timer stops and the port closes.
    bool MayClose();

private:
    void Store(const DropAnswers& drop, int dataRowHeight);
    void ReadSettingsAgain();

    ResultsContext& m_context;
    GridModel& m_resultGrid;
    MeasurementWindow& m_window;
    bool m_inTick = false;
    bool m_closeWanted = false;
};
