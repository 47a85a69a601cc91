#include "PointsCsv.h"
#include "record/PlaceFormat.h"

namespace
{

// A field as RFC 4180 has it: quoted, its quotes doubled, when it would split the line.
QString CsvField(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

QString FirstDropText(const PointValues& values)
{
    return values.FirstDrop.toString(QStringLiteral("yyyy-MM-ddThh:mm:ss"));
}

Verdict FileVerdict(const LotPoint& point, const Requirement& need)
{
    return point.Excluded() ? Verdict::None : JudgePoint(point.Values, need).Result;
}

QStringList CoordinateHeadings(const CoordinateColumns& places)
{
    QStringList headings{QStringLiteral("Latitude"), QStringLiteral("Longitude")};
    if (places.Grid)
        headings << QStringLiteral("Northing(m)") << QStringLiteral("Easting(m)");
    if (places.Stations)
        headings << QStringLiteral("Station(m)") << QStringLiteral("Offset(m)");
    return headings;
}

QStringList CoordinateCells(const CoordinateColumns& places, size_t point)
{
    const PointCoordinates none;
    const PointCoordinates& c = point < places.Points.size() ? places.Points[point] : none;
    QStringList cells{c.HasPlace ? DegreesText(c.Latitude) : QString(),
                      c.HasPlace ? DegreesText(c.Longitude) : QString()};
    if (places.Grid)
        cells << (c.HasGrid ? GridMetresText(c.Northing) : QString())
              << (c.HasGrid ? GridMetresText(c.Easting) : QString());
    if (places.Stations) {
        const PointStation& s = c.Along;
        cells << (s.HasStation ? GridMetresText(s.Station) : QString())
              << (s.HasStation ? GridMetresText(s.Offset) : QString());
    }
    return cells;
}

QString PointsCsv(const std::vector<LotPoint>& points, const Requirement& need, CsvColumns columns,
                  const CoordinateColumns* places)
{
    return PointsCsvHeading(columns, places) + PointsCsvLines(points, need, 1, columns, places);
}

QString PointsCsvHeading(CsvColumns columns, const CoordinateColumns* places)
{
    QStringList headings{QStringLiteral("Point,First drop,Drops,Used,P0(N),D0(mm),K-NWR(MN/m3),"
                                        "E-NWR(MN/m2),Result")};
    if (columns == CsvColumns::PointsAndLocation)
        headings << QStringLiteral("Location");
    if (places)
        headings << CoordinateHeadings(*places);
    return headings.join(QLatin1Char(',')) + QLatin1Char('\n');
}

QString PointsCsvLines(const std::vector<LotPoint>& points, const Requirement& need,
                       int firstNumber, CsvColumns columns, const CoordinateColumns* places)
{
    QString out;
    int number = firstNumber - 1;
    for (size_t i = 0; i < points.size(); ++i) {
        const LotPoint& p = points[i];
        const PointValues& v = p.Values;
        QStringList fields{QString::number(++number), FirstDropText(v), QString::number(v.Drops),
                           QString::number(v.Used)};
        fields << MeanTexts(v) << VerdictWord(FileVerdict(p, need));
        if (columns == CsvColumns::PointsAndLocation)
            fields << CsvField(p.Location());
        if (places)
            fields << CoordinateCells(*places, i);
        out += fields.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return out;
}
