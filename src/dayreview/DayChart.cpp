#include "DayChart.h"

#include "DayTexts.h"

#include <algorithm>
#include <cmath>

namespace
{
// K, then E, then the second formula's E on a day that mixes them.
constexpr uint32_t SeriesColours[] = {0x1f5fbf, 0xc03020, 0x2f9f3f};
} // namespace

DayChartData BuildDayChart(const ReviewedDay& day, const DaySelection& selection)
{
    const std::vector<ReviewRow>& rows = day.File().Rows;
    const UiLanguage uiLanguage = day.Language();
    DayChartData chart;
    bool rising = true;
    int last = -1;
    for (int r : selection.Covered) {
        bool ok = false;
        const int n = rows[r].Entry.No.toInt(&ok);
        rising = rising && ok && n > last;
        last = n;
    }
    chart.XTitle = rising ? Tr(uiLanguage, "測定番号 (No)", "Measurement number (No)")
                          : Tr(uiLanguage, "結果の順番", "Result in order of the day");

    double xlo = 1, xhi = 1, ylo = 0, yhi = 0;
    bool any = false;
    for (size_t i = 0; i < selection.Quantities.size(); ++i) {
        const Quantity& q = selection.Quantities[i];
        if (!q.IsKOrE())
            continue;
        ChartSeries s;
        s.Name = QuantityHeading(day.Columns(), q);
        s.Colour = SeriesColours[chart.Series.size()];
        s.HasMean = selection.Statistics[i].Count > 0;
        s.Mean = selection.Statistics[i].Mean;
        s.MeanLabel = s.Name + QStringLiteral("  ") + Tr(uiLanguage, "平均", "mean") +
                      QLatin1Char(' ') + QString::number(qRound64(s.Mean));
        for (size_t n = 0; n < selection.Covered.size(); ++n) {
            const ReviewRow& row = rows[selection.Covered[n]];
            const double x = rising ? row.Entry.No.toInt() : double(n + 1);
            const double y = q.ValueOf(row.Entry);
            if (!q.Covers(row) || !IsDefinedValue(true, y))
                continue;
            xlo = any ? std::min(xlo, x) : x;
            xhi = any ? std::max(xhi, x) : x;
            ylo = any ? std::min(ylo, y) : y;
            yhi = any ? std::max(yhi, y) : y;
            any = true;
            s.Points.emplace_back(x, y);
        }
        chart.Series.push_back(s);
    }
    chart.X = RoundAxis(xlo, xhi, 10);
    chart.Y = RoundAxis(std::min(0.0, ylo), yhi, 6);
    return chart;
}
