#include "ChartData.h"

#include "DayStatistics.h"
#include "ReviewTable.h"

#include <algorithm>
#include <cmath>

namespace
{
// K, then E, then the second formula's E on a day that mixes them.
constexpr uint32_t SeriesColours[] = {0x1f5fbf, 0xc03020, 0x2f9f3f};
} // namespace

int ChartAxis::Ticks() const
{
    return int(std::lround((Max - Min) / Step)) + 1;
}

ChartAxis RoundAxis(double lo, double hi, int wantedSteps)
{
    if (!(hi > lo)) {
        const double pad = std::max(1.0, std::abs(lo) * 0.1);
        lo -= pad;
        hi += pad;
    }
    const double raw = (hi - lo) / std::max(1, wantedSteps);
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = power;
    for (double m : {1.0, 2.0, 5.0, 10.0}) {
        step = m * power;
        if (step >= raw)
            break;
    }
    return ChartAxis{std::floor(lo / step) * step, std::ceil(hi / step) * step, step};
}

ChartData BuildChartData(const DayFile& day, int16_t uiLanguage, const std::vector<int>& rows)
{
    std::vector<int> shown = rows;
    if (shown.empty()) {
        for (size_t r = 0; r < day.Rows.size(); ++r)
            shown.push_back(int(r));
    }
    ChartData chart;
    bool rising = true;
    int last = -1;
    for (int r : shown) {
        bool ok = false;
        const int n = day.Rows[r].Entry.No.toInt(&ok);
        rising = rising && ok && n > last;
        last = n;
    }
    chart.XTitle = rising ? Tr(uiLanguage, "測定番号 (No)", "Measurement number (No)")
                          : Tr(uiLanguage, "結果の順番", "Result in order of the day");

    const std::vector<ReviewColumn> columns = DayColumns(day, uiLanguage);
    const std::vector<Quantity> ke = KAndE(day, rows);
    const std::vector<ColumnStatistics> stats = DayStatistics(day, ke, rows);
    double xlo = 1, xhi = 1, ylo = 0, yhi = 0;
    bool any = false;
    for (size_t i = 0; i < ke.size(); ++i) {
        ChartSeries s;
        s.Name = QuantityHeading(columns, ke[i]);
        s.Colour = SeriesColours[i];
        s.HasMean = stats[i].Count > 0;
        s.Mean = stats[i].Mean;
        s.MeanLabel = s.Name + QStringLiteral("  ") + Tr(uiLanguage, "平均", "mean") +
                      QLatin1Char(' ') + QString::number(qRound64(s.Mean));
        for (size_t n = 0; n < shown.size(); ++n) {
            const ReviewRow& row = day.Rows[shown[n]];
            const double x = rising ? row.Entry.No.toInt() : double(n + 1);
            const double y = ke[i].ValueOf(row.Entry);
            if (!ke[i].Covers(row) || !IsDefinedValue(true, y))
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
