#include "MeasurementCommands.h"

#include "logger/LoggerCommands.h"
#include "logger/ReadLoggerSettings.h"
#include "results/ResultGrid.h"
#include "results/ResultsContext.h"
#include "results/StoreDrop.h"

MeasurementCommands::MeasurementCommands(ResultsContext& context, GridModel& resultGrid,
                                         MeasurementWindow& window)
    : m_context(context), m_resultGrid(resultGrid), m_window(window)
{
}

void MeasurementCommands::Measure(const std::function<std::optional<RunResult>()>& run,
                                  int dataRowHeight)
{
    m_window.StopTimer();
    const std::optional<RunResult> result = run();
    if (!result)
        return; // the screen is gone, and this with it
    if (result->Outcome == RunOutcome::LinkLost) {
        m_window.Close();
        return;
    }
    if (m_context.G.DebugMode != 1) {
        if (result->Drop)
            Store(*result->Drop, dataRowHeight);
        else
            ReadSettingsAgain();
    }
    m_window.StartTimer();
}

void MeasurementCommands::Store(const DropAnswers& drop, int dataRowHeight)
{
    // The line goes to the disk before the logger is given the next number: a program that
    // dies in between then repeats a number rather than losing a result. A line the operator
    // gave up on takes its number all the same. The print command is shown only for a result
    // on the disk.
    const bool onDisk = StoreDrop(m_context, drop) == AppendOutcome::Written;
    if (m_context.Link)
        SendMeasNo(*m_context.Link, m_context.Logger);
    FillResultGrid(m_resultGrid, m_context.Results, m_context.Logger, dataRowHeight);
    if (onDisk)
        m_window.ShowPrint();
}

void MeasurementCommands::ReadSettingsAgain()
{
    // A cancelled run may have been refused for a setting changed at the logger.
    if (!m_context.Link)
        return;
    ReadLoggerSettings(*m_context.Link, *m_context.Messages, m_context.Logger);
    SelectActiveChannels(*m_context.Link, m_context.Logger);
}

void MeasurementCommands::Paused(const std::function<bool()>& open)
{
    const bool polling = m_window.TimerActive();
    m_window.StopTimer();
    if (!open())
        return;
    if (polling)
        m_window.StartTimer();
}

void MeasurementCommands::Tick(const std::function<void()>& tick)
{
    m_inTick = true;
    tick();
    m_inTick = false;
    if (m_closeWanted)
        m_window.Close();
}

bool MeasurementCommands::MayClose()
{
    if (m_inTick) {
        m_closeWanted = true;
        return false;
    }
    m_window.StopTimer();
    if (m_context.Link)
        m_context.Link->Connect(false);
    return true;
}
