#include "PositionLine.h"

#include "PlaceFormat.h"
#include <QDir>
#include <QFileInfo>
#include <QList>
#include <cmath>

bool IsValidLatLon(const LatLon& where)
{
    return std::isfinite(where.Latitude) && std::isfinite(where.Longitude) &&
           std::abs(where.Latitude) <= 90.0 && std::abs(where.Longitude) <= 180.0;
}

QString PositionsFilePath(const QString& dayFilePath)
{
    const QFileInfo day(dayFilePath);
    return day.dir().filePath(day.completeBaseName() + QStringLiteral(".pos"));
}

namespace
{

const char* const HeadingBeforeDevices =
    "No.,Date Time,Latitude,Longitude,Altitude(m),Fix,Horizontal error(m),Age(s)";
constexpr qsizetype FieldsBeforeDevices = 8;

QString DeviceField(QString device)
{
    for (QChar& c : device) {
        if (c == QLatin1Char(',') || c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = QLatin1Char('_');
    }
    return device;
}

QString OptionalText(const std::optional<double>& value)
{
    return value ? QString::number(*value, 'f', 1) : QString();
}

bool ReadNumber(QStringView text, double* value)
{
    bool ok = false;
    *value = text.toDouble(&ok);
    return ok && std::isfinite(*value);
}

bool ReadOptional(QStringView text, std::optional<double>* value)
{
    if (text.trimmed().isEmpty()) {
        value->reset();
        return true;
    }
    double number = 0.0;
    if (!ReadNumber(text, &number))
        return false;
    *value = number;
    return true;
}

} // namespace

QString PositionsHeading()
{
    return QLatin1String(HeadingBeforeDevices) + QStringLiteral(",Device");
}

bool IsPositionsHeading(QStringView line)
{
    const QStringView trimmed = line.trimmed();
    return trimmed == PositionsHeading() || trimmed == QLatin1String(HeadingBeforeDevices);
}

QString PositionLine(const DropPosition& position)
{
    const DropFix& fix = position.Fix;
    return QStringList{position.No,
                       position.DateTime,
                       DegreesText(fix.Where.Latitude),
                       DegreesText(fix.Where.Longitude),
                       OptionalText(fix.Altitude),
                       fix.ThreeD ? QStringLiteral("3D") : QStringLiteral("2D"),
                       OptionalText(fix.HorizontalError),
                       QString::number(fix.AgeSeconds, 'f', 1),
                       DeviceField(fix.Device)}
        .join(QLatin1Char(','));
}

bool ParsePositionLine(QStringView line, DropPosition* position)
{
    const QList<QStringView> fields = line.trimmed().split(QLatin1Char(','));
    if ((fields.size() != FieldsBeforeDevices && fields.size() != FieldsBeforeDevices + 1) ||
        fields[0].trimmed().isEmpty() || fields[1].trimmed().isEmpty())
        return false;
    DropPosition read;
    read.No = fields[0].trimmed().toString();
    read.DateTime = fields[1].trimmed().toString();
    DropFix& fix = read.Fix;
    const QStringView mode = fields[5].trimmed();
    if (mode != QLatin1String("2D") && mode != QLatin1String("3D"))
        return false;
    fix.ThreeD = mode == QLatin1String("3D");
    if (!ReadNumber(fields[2], &fix.Where.Latitude) ||
        !ReadNumber(fields[3], &fix.Where.Longitude) || !IsValidLatLon(fix.Where) ||
        !ReadOptional(fields[4], &fix.Altitude) || !ReadOptional(fields[6], &fix.HorizontalError) ||
        !ReadNumber(fields[7], &fix.AgeSeconds))
        return false;
    if (fields.size() > FieldsBeforeDevices)
        fix.Device = fields[FieldsBeforeDevices].trimmed().toString();
    *position = read;
    return true;
}
