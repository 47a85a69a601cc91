#include "PointsCsv.h"

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

QString PointsCsv(const std::vector<LotPoint>& points, const Requirement& need, CsvColumns columns)
{
    return PointsCsvHeading(columns) + PointsCsvLines(points, need, 1, columns);
}

QString PointsCsvHeading(CsvColumns columns)
{
    const QString nine =
        QStringLiteral("Point,First drop,Drops,Used,P0(N),D0(mm),K-NWR(MN/m3),E-NWR(MN/m2),Result");
    return nine + (columns == CsvColumns::PointsAndLocation ? QStringLiteral(",Location\n")
                                                            : QStringLiteral("\n"));
}

QString PointsCsvLines(const std::vector<LotPoint>& points, const Requirement& need,
                       int firstNumber, CsvColumns columns)
{
    QString out;
    int number = firstNumber - 1;
    for (const LotPoint& p : points) {
        const PointValues& v = p.Values;
        QStringList fields{QString::number(++number),
                           v.FirstDrop.toString(QStringLiteral("yyyy-MM-ddThh:mm:ss")),
                           QString::number(v.Drops), QString::number(v.Used)};
        fields << MeanTexts(v)
               << (p.Excluded() ? QString() : VerdictWord(JudgePoint(v, need).Result));
        if (columns == CsvColumns::PointsAndLocation)
            fields << CsvField(p.Location());
        out += fields.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return out;
}
