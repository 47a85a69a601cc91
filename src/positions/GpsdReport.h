#pragma once

#include "PositionLine.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

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

// One TPV report: gpsd's fix mode (0 unknown, 1 no fix, 2 2D, 3 3D) and the fix it holds,
// when it has a position (AgeSeconds 0: the report is new).
struct TpvReport {
    int Mode = 0;
    std::optional<DropFix> Fix;
    bool operator==(const TpvReport&) const = default;
};
// One line of gpsd's output; nothing for the other classes (VERSION, DEVICES, SKY, ...)
// and for a damaged line. A report of mode 2 or 3 without a usable latitude and longitude
// holds no fix. The altitude is altMSL (older gpsd: alt), the horizontal error eph or else
// the larger of epx and epy.
std::optional<TpvReport> ParseTpv(QByteArrayView line);
