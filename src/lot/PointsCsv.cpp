#include "PointsCsv.h"

QString MeanText(bool has, double value, int decimals)
{
    return has ? QString::number(value, 'f', decimals) : QString();
}

QString PointsCsv(const std::vector<LotPoint>& points, const Requirement& need)
{
    return PointsCsvHeading() + PointsCsvLines(points, need, 1);
}

QString PointsCsvHeading()
{
    return QStringLiteral(
        "Point,First drop,Drops,Used,P0(N),D0(mm),K-NWR(MN/m3),E-NWR(MN/m2),Result\n");
}

QString PointsCsvLines(const std::vector<LotPoint>& points, const Requirement& need,
                       int firstNumber)
{
    QString out;
    int number = firstNumber - 1;
    for (const LotPoint& p : points) {
        const PointValues& v = p.Values;
        const QStringList fields{QString::number(++number),
                                 v.FirstDrop.toString(QStringLiteral("yyyy-MM-ddThh:mm:ss")),
                                 QString::number(v.Drops),
                                 QString::number(v.Used),
                                 MeanText(v.HasP0, v.P0, 1),
                                 MeanText(v.HasD0, v.D0, 3),
                                 MeanText(v.HasK, v.K, 1),
                                 MeanText(v.HasE, v.E, 1),
                                 VerdictWord(JudgePoint(v, need).Result)};
        out += fields.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return out;
}
