#include "GpsdReport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cmath>

namespace
{

// gpsd's reports are a few hundred bytes; a longer line is no report of a receiver's.
constexpr qsizetype LongestReport = 64 * 1024;
// Lines that look like reports read in one burst at most, whatever else they hold.
constexpr int MostLinesRead = 4 * MostReceivers;

std::optional<double> Number(const QJsonObject& report, const char* key)
{
    const QJsonValue value = report.value(QLatin1String(key));
    if (!value.isDouble() || !std::isfinite(value.toDouble()))
        return std::nullopt;
    return value.toDouble();
}

std::optional<double> HorizontalError(const QJsonObject& report)
{
    if (const std::optional<double> eph = Number(report, "eph"))
        return eph;
    const std::optional<double> x = Number(report, "epx");
    const std::optional<double> y = Number(report, "epy");
    if (x && y)
        return std::max(*x, *y);
    return x ? x : y;
}

// "2026-12-09T10:05:01.000Z", gpsd's time of the fix.
std::optional<QDateTime> FixTime(const QJsonObject& report)
{
    const QString text = report.value(QLatin1String("time")).toString();
    QDateTime time = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!time.isValid() || time.timeSpec() != Qt::UTC)
        return std::nullopt;
    return time;
}

// The device a line names, found without reading the line as JSON: "device":"/dev/ttyUSB0"
// gives /dev/ttyUSB0, a line naming none an empty view. Only good for telling receivers
// apart; ParseTpv reads the name itself.
QByteArrayView DeviceKey(QByteArrayView line)
{
    const qsizetype key = line.indexOf("\"device\"");
    if (key < 0)
        return {};
    qsizetype i = key + 8;
    while (i < line.size() && (line[i] == ' ' || line[i] == ':'))
        ++i;
    if (i >= line.size() || line[i] != '"')
        return {};
    const qsizetype close = line.indexOf('"', i + 1);
    return close < 0 ? QByteArrayView() : line.sliced(i + 1, close - i - 1);
}

} // namespace

GpsdEndpoint GpsdEndpointFrom(const QByteArray& setting)
{
    GpsdEndpoint where;
    QString text = QString::fromLocal8Bit(setting).trimmed();
    if (text.isEmpty())
        return where;
    QString host = text;
    QString port;
    if (text.startsWith(QLatin1Char('['))) { // an IPv6 address in brackets
        const qsizetype close = text.indexOf(QLatin1Char(']'));
        if (close < 0)
            return GpsdEndpoint{};
        host = text.mid(1, close - 1);
        const QString rest = text.mid(close + 1);
        if (!rest.isEmpty() && !rest.startsWith(QLatin1Char(':')))
            return GpsdEndpoint{};
        port = rest.mid(1);
    } else if (text.count(QLatin1Char(':')) == 1) {
        host = text.section(QLatin1Char(':'), 0, 0);
        port = text.section(QLatin1Char(':'), 1);
    }
    if (!port.isEmpty()) {
        bool ok = false;
        const uint number = port.toUInt(&ok);
        if (!ok || number == 0 || number > 65535)
            return GpsdEndpoint{};
        where.Port = quint16(number);
    }
    if (!host.isEmpty())
        where.Host = host;
    return where;
}

GpsdEndpoint GpsdEndpointOfEnvironment()
{
    return GpsdEndpointFrom(qgetenv("VX2968_GPSD"));
}

QByteArray GpsdWatchCommand()
{
    return QByteArrayLiteral("?WATCH={\"enable\":true,\"json\":true};\n");
}

std::optional<TpvReport> ParseTpv(QByteArrayView line)
{
    const QJsonDocument document = QJsonDocument::fromJson(line.toByteArray());
    const QJsonObject report = document.object();
    if (report.value(QLatin1String("class")).toString() != QLatin1String("TPV"))
        return std::nullopt;
    TpvReport tpv;
    tpv.Device = report.value(QLatin1String("device")).toString();
    tpv.Mode = report.value(QLatin1String("mode")).toInt(0);
    tpv.Time = FixTime(report);
    const std::optional<double> lat = Number(report, "lat");
    const std::optional<double> lon = Number(report, "lon");
    if (tpv.Mode < 2 || !lat || !lon || !IsValidLatLon(LatLon{*lat, *lon}))
        return tpv;
    DropFix fix;
    fix.Where = LatLon{*lat, *lon};
    fix.Device = tpv.Device;
    fix.ThreeD = tpv.Mode >= 3;
    if (fix.ThreeD) {
        fix.Altitude = Number(report, "altMSL");
        if (!fix.Altitude)
            fix.Altitude = Number(report, "alt");
    }
    fix.HorizontalError = HorizontalError(report);
    tpv.Fix = fix;
    return tpv;
}

std::vector<TpvReport> NewestTpvOfEachDevice(QByteArrayView lines)
{
    std::vector<TpvReport> newest;
    std::vector<QByteArrayView> seen;
    int read = 0;
    qsizetype end = lines.size();
    while (end > 0 && read < MostLinesRead && int(newest.size()) < MostReceivers) {
        const qsizetype start = lines.first(end).lastIndexOf('\n') + 1;
        const QByteArrayView line = lines.sliced(start, end - start);
        end = std::max<qsizetype>(0, start - 1);
        if (line.size() > LongestReport || !line.contains("\"TPV\""))
            continue;
        const QByteArrayView key = DeviceKey(line);
        if (std::find(seen.begin(), seen.end(), key) != seen.end())
            continue;
        ++read;
        std::optional<TpvReport> tpv = ParseTpv(line);
        if (!tpv)
            continue;
        seen.push_back(key);
        newest.push_back(std::move(*tpv));
    }
    return newest;
}
