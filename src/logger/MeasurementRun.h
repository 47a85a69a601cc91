#pragma once

#include "record/DropAnswers.h"
#include "shell/MessageSink.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

struct LoggerContext;

// Why a run could not be armed: the trigger channel is not one of CH1 to CH6, or its reading
// is above its level. The screen words the message; the run shows it where it stops.
struct ArmRefusal {
    enum class Reason { TriggerChannelInvalid, TriggerExceeded };
    Reason Why = Reason::TriggerExceeded;
    int32_t TriggerChannel = 0;
};
using RefusalWording = std::function<UiMessage(const ArmRefusal&)>;

// What the status line of the run form says; the form words it.
enum class RunStatusLine { None, WaitForTrigger, DebugMode };

// What the run form shows. The form copies it onto its controls after every step.
struct RunView {
    QString MeasNoText;
    RunStatusLine Status = RunStatusLine::None;
    bool TransferShown = false; // the line under it says that the data come in
    int Progress = 0;           // the recording bar, 0 to 100
    bool StartShown = true;
    bool CancelShown = true;
    bool TimerRunning = false;
    bool Closed = false;
};

enum class RunState { Opening, Manual, Debug, WaitingToArm, Armed, Transferring, Closed };
enum class RunOutcome { Cancelled, Measured, LinkLost };

// How a run ended, and the drop it fetched when it ended Measured.
struct RunResult {
    RunOutcome Outcome = RunOutcome::Cancelled;
    std::optional<DropAnswers> Drop;
};

// One measurement run, driven by the run form's 500 ms timer: reads the measurement
// number, checks that the trigger channel is quiet, balances and arms the logger, follows
// the recording and fetches the peak values of the drop, which it hands on in Result().
// Every wait on the logger is bounded: a logger that stops answering ends the run with the
// communication-failure message, and nothing stored before is touched.
class MeasurementRun
{
public:
    static constexpr int TimerIntervalMs = 500;
    // Consecutive unanswered progress polls, armed or transferring, that end a run.
    static constexpr int SilentPollLimit = 3;
    // Bounds of the wait for the recording to complete once the transfer has begun.
    static constexpr int TransferPollLimit = 1000;
    static constexpr int TransferTimeLimitMs = 10000;

    MeasurementRun(LoggerContext& context, RefusalWording refusalMessage);

    // Opening the form: the number, the bars, the status line and the timer.
    void Open();
    // One tick of the form's timer.
    void Tick();
    // The start command, offered only when the set-up stopped at an error reply.
    void StartPressed();
    // The cancel command (and the window's close box): back to the monitor.
    void Cancel();

    // 0 armed; -1 refused (the trigger channel is above its level or is not a channel).
    int16_t ArmLogger();
    // Fetches the peak values of the drop. False when the logger stopped answering; nothing
    // is handed on then.
    bool DataTrans();

    const RunView& View() const { return m_view; }
    RunState State() const { return m_state; }
    RunOutcome Outcome() const { return m_outcome; }
    // The outcome, with the drop when the run ended Measured.
    RunResult Result() const;
    int16_t MeasNo() const { return m_measNo; }
    bool Armed() const { return m_armed; }

    // Called when the view has changed just before a step that blocks (the transfer), so
    // that the form can paint it first.
    std::function<void()> Repaint;

private:
    void ArmedTick();
    void BeginTransfer();
    void Close(RunOutcome outcome);
    void LinkLost();
    int ReadProgress();

    LoggerContext& m_context;
    RefusalWording m_refusalMessage;
    RunView m_view;
    RunState m_state = RunState::Opening;
    RunOutcome m_outcome = RunOutcome::Cancelled;
    std::optional<DropAnswers> m_drop;
    int16_t m_measNo = 0;
    bool m_armed = false;
    int m_silentPolls = 0;
};
