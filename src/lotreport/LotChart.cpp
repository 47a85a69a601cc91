#include "LotChart.h"

#include "shell/Formatting.h"

#include <algorithm>

namespace
{

constexpr uint32_t MeanColour = 0x208040;
constexpr uint32_t CharacteristicColour = 0xc07000;

std::vector<LotChartLine> LinesOf(const std::optional<double>& required, const ValueSummary& s,
                                  UiLanguage language)
{
    std::vector<LotChartLine> lines;
    const auto one = [](double v) { return QString::number(v, 'f', 1); };
    if (required)
        lines.push_back({Tr(language, "規定値 %1", "required %1").arg(FormatGeneral(*required)),
                         *required, LotFailingColour, true});
    if (s.Count > 0)
        lines.push_back(
            {Tr(language, "平均 %1", "mean %1").arg(one(s.Mean)), s.Mean, MeanColour, false});
    if (s.Characteristic)
        lines.push_back({Tr(language, "特性値 %1", "characteristic %1").arg(one(*s.Characteristic)),
                         *s.Characteristic, CharacteristicColour, true});
    return lines;
}

} // namespace

LotChartData BuildLotChart(const LotSession& lot, bool modulus, UiLanguage language)
{
    LotChartData c;
    c.Title = modulus ? QStringLiteral("E-NWR(MN/m2)") : QStringLiteral("K-NWR(MN/m3)");
    c.XTitle = Tr(language, "測点", "Point");
    const Requirement& need = lot.Document().Judgement.Need;
    c.Required = modulus ? need.E : need.K;
    c.PassingName = c.Required ? Tr(language, "合格", "passed") : Tr(language, "測点", "points");
    c.FailingName = Tr(language, "不合格", "failed");
    c.Lines = LinesOf(c.Required, modulus ? lot.Summary().E : lot.Summary().K, language);
    double lo = 1e300, hi = -1e300;
    for (const LotChartLine& line : c.Lines) {
        lo = std::min(lo, line.Value);
        hi = std::max(hi, line.Value);
    }
    const auto& points = lot.Points();
    for (size_t p = 0; p < points.size(); ++p) {
        const PointValues& v = points[p].Values;
        // A point left out is in no statistic of the lot, and so not among its values.
        if (points[p].Excluded() || !(modulus ? v.HasE : v.HasK))
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
