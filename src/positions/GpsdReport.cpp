#include "GpsdReport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cmath>

namespace
{

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
    tpv.Mode = report.value(QLatin1String("mode")).toInt(0);
    const std::optional<double> lat = Number(report, "lat");
    const std::optional<double> lon = Number(report, "lon");
    if (tpv.Mode < 2 || !lat || !lon || !IsValidLatLon(LatLon{*lat, *lon}))
        return tpv;
    DropFix fix;
    fix.Where = LatLon{*lat, *lon};
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
