#include "MeasurementSession.h"

#include "results/AfterMeasurementRun.h"
#include "results/ResultGrid.h"
#include "results/ResultsContext.h"

MeasurementSession::MeasurementSession(ResultsContext& context, GridModel& resultGrid,
                                       MeasurementWindow& window)
    : m_context(context), m_resultGrid(resultGrid), m_window(window)
{
}

void MeasurementSession::Measure(const std::function<std::optional<RunOutcome>()>& run,
                                 int dataRowHeight)
{
    m_window.StopTimer();
    const std::optional<RunOutcome> outcome = run();
    if (!outcome)
        return; // the screen is gone, and this with it
    if (*outcome == RunOutcome::LinkLost) {
        m_window.Close();
        return;
    }
    const AfterRun after = AfterMeasurementRun(m_context);
    if (after.RefillGrid)
        FillResultGrid(m_resultGrid, m_context.Results, m_context.Logger, dataRowHeight);
    if (after.ShowPrint)
        m_window.ShowPrint();
    m_window.StartTimer();
}

void MeasurementSession::Paused(const std::function<bool()>& open)
{
    const bool polling = m_window.TimerActive();
    m_window.StopTimer();
    if (!open())
        return;
    if (polling)
        m_window.StartTimer();
}

void MeasurementSession::Tick(const std::function<void()>& tick)
{
    m_inTick = true;
    tick();
    m_inTick = false;
    if (m_closeWanted)
        m_window.Close();
}

bool MeasurementSession::MayClose()
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
