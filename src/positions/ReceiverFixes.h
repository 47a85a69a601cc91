#pragma once

#include "GpsdReport.h"

#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

// What a receiver's latest fix is worth for a drop stored now.
enum class FixStanding {
    NoFix,       // no position: gpsd's mode below 2D, or none reported yet
    NoTime,      // a position without gpsd's time: how old it is cannot be told
    StandsStill, // its time has not moved for longer than NewestFixSeconds: an old fix
    ClockApart,  // its time and the computer's clock differ by more than NewestFixSeconds
    Current,     // taken by a drop
};

// One receiver as gpsd reports it, judged at a moment.
struct ReceiverStatus {
    QString Device;
    int Mode = 0;                  // of its latest TPV report
    std::optional<DropFix> Fix;    // its latest position; AgeSeconds by its time, as of now
    std::optional<QDateTime> Time; // the fix's own time, UTC
    double ClockDifference = 0.0;  // s, the computer's clock less the fix's time
    double SecondsStill = 0.0;     // since the fix's time last moved
    FixStanding Standing = FixStanding::NoFix;
    bool operator==(const ReceiverStatus&) const = default;
};

// The latest report of each receiver gpsd serves, kept apart, so that one receiver's loss
// of its fix never takes another's. Times are handed in: the computer's clock in UTC, and
// a steady clock in milliseconds that never jumps.
class ReceiverFixes
{
public:
    // Takes one report that came at `steadyMs`. True when a receiver came, or its mode or
    // whether it has a position changed.
    bool Take(const TpvReport& report, qint64 steadyMs);
    // Every receiver as of `utcNow` and `steadyMs`, in the order they were first heard.
    std::vector<ReceiverStatus> Judge(const QDateTime& utcNow, qint64 steadyMs) const;
    bool Empty() const { return m_receivers.empty(); }

private:
    struct Receiver {
        QString Device;
        int Mode = 0;
        std::optional<DropFix> Fix;
        std::optional<QDateTime> Time;
        qint64 TimeMovedMs = 0;
        qint64 HeardMs = 0;
    };
    std::vector<Receiver> m_receivers;
};

// The fix a drop stored now takes: of the current ones, 3D before 2D, then the smallest
// horizontal error (one without an estimate after those with one). None when none is current.
std::optional<DropFix> BestFix(const std::vector<ReceiverStatus>& receivers);
