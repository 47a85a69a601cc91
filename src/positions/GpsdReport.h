#pragma once

#include "record/PositionLine.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

// gpsd's JSON protocol as the measurement program speaks it: where gpsd listens, the one
// command sent, and the position reports (TPV) read back. No sockets here.

inline constexpr quint16 GpsdDefaultPort = 2947;

struct GpsdEndpoint {
    QString Host = QStringLiteral("localhost");
    quint16 Port = GpsdDefaultPort;
    bool operator==(const GpsdEndpoint&) const = default;
};
// From the setting VX2968_GPSD: "host:port", "host", ":port" or "[::1]:2947". Empty or
// unreadable: localhost:2947, where a receiver's gpsd usually listens.
GpsdEndpoint GpsdEndpointFrom(const QByteArray& setting);
// The same from the environment, for a receiver elsewhere and for tests with their own gpsd.
GpsdEndpoint GpsdEndpointOfEnvironment();

// Asks gpsd for its reports as JSON lines, one per fix.
QByteArray GpsdWatchCommand();

// One TPV report: the receiver it is of (gpsd's device; empty when gpsd names none), gpsd's
// fix mode (0 unknown, 1 no fix, 2 2D, 3 3D), the fix it holds when it has a position
// (AgeSeconds 0, Device the receiver's) and the fix's own time, in UTC, when it has one.
struct TpvReport {
    QString Device;
    int Mode = 0;
    std::optional<DropFix> Fix;
    std::optional<QDateTime> Time;
    bool operator==(const TpvReport&) const = default;
};
// One line of gpsd's output; nothing for the other classes (VERSION, DEVICES, SKY, ...)
// and for a damaged line. A report of mode 2 or 3 without a usable latitude and longitude
// holds no fix. The altitude is altMSL (older gpsd: alt), the horizontal error eph or else
// the larger of epx and epy.
std::optional<TpvReport> ParseTpv(QByteArrayView line);

// The newest TPV report of each receiver in `lines`, complete lines of gpsd's output in the
// order they came; the older ones are passed over unread. A burst of any size costs one scan
// for line ends and the reading of at most a few dozen lines, so that a gpsd flooding the
// program never holds it up. At most MostReceivers receivers, newest first.
inline constexpr int MostReceivers = 8;
std::vector<TpvReport> NewestTpvOfEachDevice(QByteArrayView lines);
