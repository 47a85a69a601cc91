#include "DropSpread.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace
{

// The median of the defined values of a point's used drops, when there are enough of them.
std::optional<double> UsedMedian(const std::vector<LotDrop>& drops, const LotPoint& point,
                                 double LotDrop::*value)
{
    std::vector<double> used;
    for (const PointDrop& d : point.Drops) {
        const double v = drops[size_t(d.Index)].*value;
        if (d.State == DropState::Used && v >= 0.0)
            used.push_back(v);
    }
    if (int(used.size()) < FewestUsed)
        return std::nullopt;
    std::sort(used.begin(), used.end());
    const size_t n = used.size();
    return n % 2 == 1 ? used[n / 2] : (used[n / 2 - 1] + used[n / 2]) / 2.0;
}

bool IsFar(double value, const std::optional<double>& median)
{
    return value >= 0.0 && median && std::abs(value - *median) > FarShare * *median;
}

} // namespace

std::vector<bool> FarDrops(const std::vector<LotDrop>& drops, const LotPoint& point)
{
    const std::optional<double> k = UsedMedian(drops, point, &LotDrop::K),
                                e = UsedMedian(drops, point, &LotDrop::E);
    std::vector<bool> far;
    far.reserve(point.Drops.size());
    for (const PointDrop& pd : point.Drops) {
        const LotDrop& d = drops[size_t(pd.Index)];
        far.push_back(IsFar(d.K, k) || IsFar(d.E, e));
    }
    return far;
}
