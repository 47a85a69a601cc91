#include "LotChart.h"

#include <algorithm>

LotChartData BuildLotChart(const LotSession& lot, bool modulus, int16_t language)
{
    LotChartData c;
    c.Title = modulus ? QStringLiteral("E-NWR(MN/m2)") : QStringLiteral("K-NWR(MN/m3)");
    c.XTitle = Tr(language, "測点", "Point");
    const Requirement& need = lot.Document().Judgement.Need;
    c.Required = modulus ? need.E : need.K;
    double lo = c.Required.value_or(1e300), hi = c.Required.value_or(-1e300);
    const auto& points = lot.Points();
    for (size_t p = 0; p < points.size(); ++p) {
        const PointValues& v = points[p].Values;
        if (!(modulus ? v.HasE : v.HasK))
            continue;
        const double y = modulus ? v.E : v.K;
        const bool fails = c.Required && y < *c.Required;
        (fails ? c.Failing : c.Passing).push_back(QPointF(double(p + 1), y));
        lo = std::min(lo, y);
        hi = std::max(hi, y);
    }
    if (lo > hi) {
        lo = 0.0;
        hi = 1.0;
    }
    c.Y = RoundAxis(lo - (hi - lo) * 0.1 - 1.0, hi + (hi - lo) * 0.1 + 1.0, 6);
    c.X = RoundAxis(0.0, double(std::max<size_t>(points.size(), 1) + 1), 10);
    return c;
}
