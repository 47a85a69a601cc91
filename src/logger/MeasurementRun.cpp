#include "MeasurementRun.h"

#include "LiveMonitor.h"
#include "LoggerCommands.h"
#include "LoggerContext.h"
#include "LoggerReplies.h"

#include "serial/SerialLink.h"
#include "shell/Formatting.h"

#include <QElapsedTimer>

#include <algorithm>
#include <optional>
#include <utility>

namespace
{

constexpr int16_t DebugMeasNo = 200;
constexpr int16_t HighestMeasNo = 32767;

} // namespace

MeasurementRun::MeasurementRun(LoggerContext& context, RefusalWording refusalMessage)
    : m_context(context), m_refusalMessage(std::move(refusalMessage))
{
}

RunResult MeasurementRun::Result() const
{
    if (m_outcome != RunOutcome::Measured)
        return RunResult{m_outcome, std::nullopt};
    return RunResult{m_outcome, m_drop};
}

void MeasurementRun::Open()
{
    m_view = RunView{};
    m_state = RunState::Opening;
    m_drop.reset();
    const bool debug = m_context.G.DebugMode == 1;
    if (debug) {
        m_measNo = DebugMeasNo;
    } else {
        m_context.Link->RSCom(QStringLiteral("MNO?"));
        const QString reply = m_context.Link->ReplyText();
        if (reply.contains(QLatin1String("ERR"), Qt::CaseInsensitive)) {
            // The operator keeps the cancel and start commands; nothing runs by itself.
            m_state = RunState::Manual;
            return;
        }
        double number = 0.0;
        m_measNo = 0;
        if (LeadingFieldValue(reply, &number)) {
            const double whole = RoundHalfEven(number);
            if (whole > 0 && whole <= HighestMeasNo)
                m_measNo = static_cast<int16_t>(whole);
        }
    }
    m_view.MeasNoText = QString::number(m_measNo);
    m_view.Progress = 0;
    m_view.StartShown = false;
    if (debug) {
        m_view.Status = RunStatusLine::DebugMode;
        m_state = RunState::Debug;
        return;
    }
    m_view.Status = RunStatusLine::WaitForTrigger;
    m_view.TransferShown = false;
    m_view.TimerRunning = true;
    m_state = RunState::WaitingToArm;
}

void MeasurementRun::Tick()
{
    if (!m_view.TimerRunning || m_view.Closed)
        return;
    if (!m_armed) {
        if (ArmLogger() == -1)
            Cancel();
        return;
    }
    ArmedTick();
}

void MeasurementRun::StartPressed()
{
    if (m_view.Closed)
        return;
    m_view.StartShown = false;
    ArmLogger(); // a refusal has shown its message; the operator can still cancel
}

int16_t MeasurementRun::ArmLogger()
{
    SerialLink& link = *m_context.Link;
    const LoggerSettings& settings = m_context.Logger;
    SelectActiveChannels(link, settings);

    const int32_t trigger = settings.TriggerChannel;
    if (trigger < LoggerSettings::FirstChannel || trigger > LoggerSettings::LastChannelNumber) {
        m_context.Messages->Show(
            m_refusalMessage({ArmRefusal::Reason::TriggerChannelInvalid, trigger}));
        return -1;
    }
    if (link.RSCom(QStringLiteral("MDT")) > 0) {
        // A trigger channel without a reading is never above its level (levels are 0 or more).
        const std::optional<double> raw =
            ReadingsReply(link.ReplyText(), settings).Channel[trigger].Raw;
        if (raw && RoundHalfEven(*raw) > RoundHalfEven(settings.Channel[trigger].TriggerLevel)) {
            m_context.Messages->Show(
                m_refusalMessage({ArmRefusal::Reason::TriggerExceeded, trigger}));
            return -1;
        }
    }
    link.RSCom(QStringLiteral("TRM21"));
    link.RSCom(QStringLiteral("BAL"));
    link.RSCom(QStringLiteral("DTG"));

    m_view.TimerRunning = true;
    m_armed = true;
    m_silentPolls = 0;
    m_state = RunState::Armed;
    return 0;
}

int MeasurementRun::ReadProgress()
{
    SerialLink& link = *m_context.Link;
    const int32_t status = link.RSCom(QStringLiteral("EOC"));
    m_silentPolls = status == StatusNoReply ? m_silentPolls + 1 : 0;
    double samples = 0.0;
    if (status == StatusNoReply || !LeadingFieldValue(link.ReplyText(), &samples))
        return 0;
    const float recordLength = float(std::max<int32_t>(m_context.Logger.RecordLength, 1));
    const float percent = std::clamp(float(samples) * 100.0f / recordLength, 0.0f, 100.0f);
    return int(percent); // whole percent: the bar shows 100 only when the recording is done
}

void MeasurementRun::ArmedTick()
{
    const int progress = ReadProgress();
    if (m_silentPolls >= SilentPollLimit) {
        LinkLost();
        return;
    }
    if (progress > 0)
        m_view.Progress = progress;
    if (progress >= 100)
        BeginTransfer();
}

void MeasurementRun::BeginTransfer()
{
    m_view.TimerRunning = false;
    m_view.CancelShown = false;
    m_view.TransferShown = true;
    m_state = RunState::Transferring;
    if (Repaint)
        Repaint();
    if (!DataTrans()) {
        LinkLost();
        return;
    }
    Close(RunOutcome::Measured);
}

bool MeasurementRun::DataTrans()
{
    SerialLink& link = *m_context.Link;
    LoggerSettings& settings = m_context.Logger;
    settings.MeasTime = m_context.Time->Now();
    settings.TestDate = settings.MeasTime;
    SelectActiveChannels(link, settings);
    link.RSCom(QStringLiteral("EXE0"));

    // The recording is normally complete already; the bounds only stop a logger that
    // never says so from holding the program.
    QElapsedTimer elapsed;
    elapsed.start();
    int silent = 0;
    for (int polls = 1;; ++polls) {
        const int32_t status = link.RSCom(QStringLiteral("EOC"));
        silent = status == StatusNoReply ? silent + 1 : 0;
        if (silent >= SilentPollLimit)
            return false;
        double samples = 0.0;
        if (status != StatusNoReply && LeadingFieldValue(link.ReplyText(), &samples) &&
            samples >= settings.RecordLength)
            break;
        if (polls >= TransferPollLimit || elapsed.elapsed() > TransferTimeLimitMs)
            return false;
    }
    link.RSCom(QStringLiteral("ANS0"));
    // An error reply, or one without a single number in it, is no measurement: the run ends
    // as a failed exchange instead, and nothing is stored.
    if (link.RSCom(QStringLiteral("ANS?")) < 1)
        return false;
    const std::optional<PeakValues> peaks = PeakValuesReply(link.ReplyText(), settings);
    if (!peaks)
        return false;
    m_drop = DropAnswers{settings.MeasTime, *peaks};
    return true;
}

void MeasurementRun::Cancel()
{
    if (m_view.Closed)
        return;
    if (m_context.G.DebugMode != 1) {
        if (m_view.TimerRunning) {
            m_view.TimerRunning = false;
            m_context.Link->RSCom(QStringLiteral("RES"));
        }
        SelectActiveChannels(*m_context.Link, m_context.Logger);
    }
    Close(RunOutcome::Cancelled);
}

void MeasurementRun::LinkLost()
{
    m_view.TimerRunning = false;
    m_context.Messages->Show(CommunicationFailureMessage());
    Close(RunOutcome::LinkLost);
}

void MeasurementRun::Close(RunOutcome outcome)
{
    m_view.TimerRunning = false;
    m_view.Closed = true;
    m_state = RunState::Closed;
    m_outcome = outcome;
}
