#include "ReceiverFixes.h"

#include <algorithm>
#include <cmath>
#include <tuple>

bool ReceiverFixes::Take(const TpvReport& report, qint64 steadyMs)
{
    auto it = std::find_if(m_receivers.begin(), m_receivers.end(),
                           [&](const Receiver& r) { return r.Device == report.Device; });
    const bool isNew = it == m_receivers.end();
    if (isNew) {
        // A host with more receivers than anyone carries: the one heard from longest ago goes.
        if (int(m_receivers.size()) >= MostReceivers) {
            m_receivers.erase(std::min_element(
                m_receivers.begin(), m_receivers.end(),
                [](const Receiver& a, const Receiver& b) { return a.HeardMs < b.HeardMs; }));
        }
        Receiver heard;
        heard.Device = report.Device;
        m_receivers.push_back(heard);
        it = std::prev(m_receivers.end());
    }
    Receiver& r = *it;
    const bool hadFix = r.Fix.has_value();
    const int oldMode = r.Mode;
    r.Mode = report.Mode;
    r.HeardMs = steadyMs;
    if (report.Fix) {
        r.Fix = report.Fix;
        // A receiver that repeats its last sentence repeats its time: the fix is as old as
        // when that time last moved, however often it arrives.
        if (isNew || !hadFix || r.Time != report.Time)
            r.TimeMovedMs = steadyMs;
        r.Time = report.Time;
    } else if (report.Mode < 2) {
        // gpsd also reports a 2D or 3D mode without a position (from a GSA sentence alone):
        // the latest fix stays and ages. Only a report of no fix takes it away.
        r.Fix.reset();
        r.Time.reset();
    }
    return isNew || oldMode != r.Mode || hadFix != r.Fix.has_value();
}

std::vector<ReceiverStatus> ReceiverFixes::Judge(const QDateTime& utcNow, qint64 steadyMs) const
{
    std::vector<ReceiverStatus> judged;
    judged.reserve(m_receivers.size());
    for (const Receiver& r : m_receivers) {
        ReceiverStatus s{r.Device, r.Mode, r.Fix, r.Time};
        if (s.Fix && !s.Time) {
            s.Standing = FixStanding::NoTime;
        } else if (s.Fix) {
            s.ClockDifference = double(s.Time->msecsTo(utcNow)) / 1000.0;
            s.SecondsStill = double(steadyMs - r.TimeMovedMs) / 1000.0;
            // A fix a little ahead of the computer's clock is taken as just made.
            s.Fix->AgeSeconds = std::max(0.0, s.ClockDifference);
            if (s.SecondsStill > NewestFixSeconds)
                s.Standing = FixStanding::StandsStill;
            else if (std::abs(s.ClockDifference) > NewestFixSeconds)
                s.Standing = FixStanding::ClockApart;
            else
                s.Standing = FixStanding::Current;
        }
        judged.push_back(s);
    }
    return judged;
}

std::optional<DropFix> BestFix(const std::vector<ReceiverStatus>& receivers)
{
    const auto rank = [](const DropFix& f) {
        return std::make_tuple(!f.ThreeD, !f.HorizontalError.has_value(),
                               f.HorizontalError.value_or(0.0));
    };
    std::optional<DropFix> best;
    for (const ReceiverStatus& r : receivers) {
        if (r.Standing == FixStanding::Current && (!best || rank(*r.Fix) < rank(*best)))
            best = r.Fix;
    }
    return best;
}
