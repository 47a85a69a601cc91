#include "DropSpread.h"

#include <algorithm>
#include <cmath>

namespace
{

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

// The defined values of the point's used drops other than drop `skip`.
std::vector<double> Others(const std::vector<LotDrop>& drops, const LotPoint& point, size_t skip,
                           double LotDrop::*value)
{
    std::vector<double> out;
    for (size_t i = 0; i < point.Drops.size(); ++i) {
        const double v = drops[size_t(point.Drops[i].Index)].*value;
        if (i != skip && point.Drops[i].State == DropState::Used && v >= 0.0)
            out.push_back(v);
    }
    return out;
}

} // namespace

bool IsFar(double value, const std::vector<double>& others)
{
    std::vector<double> defined;
    for (double v : others)
        if (v >= 0.0)
            defined.push_back(v);
    if (value < 0.0 || int(defined.size()) < FewestOthers)
        return false;
    const double median = Median(defined);
    return std::abs(value - median) > FarShare * median;
}

std::vector<bool> FarDrops(const std::vector<LotDrop>& drops, const LotPoint& point)
{
    std::vector<bool> far;
    for (size_t i = 0; i < point.Drops.size(); ++i) {
        const LotDrop& d = drops[size_t(point.Drops[i].Index)];
        far.push_back(IsFar(d.K, Others(drops, point, i, &LotDrop::K)) ||
                      IsFar(d.E, Others(drops, point, i, &LotDrop::E)));
    }
    return far;
}
