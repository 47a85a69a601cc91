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

// The defined values of a point's used drops in ascending order, from which the median of
// all but one of them is read without sorting again for every drop: a point of many drops
// then costs n log n rather than n² log n.
class UsedValues
{
public:
    UsedValues(const std::vector<LotDrop>& drops, const LotPoint& point, double LotDrop::*value)
    {
        for (const PointDrop& d : point.Drops) {
            const double v = drops[size_t(d.Index)].*value;
            if (d.State == DropState::Used && v >= 0.0)
                m_sorted.push_back(v);
        }
        std::sort(m_sorted.begin(), m_sorted.end());
    }

    // Whether a drop's `value` is far from the others; its own counts among them when the drop
    // is `used`.
    bool IsFarFromOthers(double value, bool used) const
    {
        if (value < 0.0)
            return false;
        const size_t n = m_sorted.size() - (used ? 1 : 0);
        if (int(n) < FewestOthers)
            return false;
        // The others are the values with one copy of the drop's own left out.
        const size_t own = used ? size_t(std::lower_bound(m_sorted.begin(), m_sorted.end(), value) -
                                         m_sorted.begin())
                                : n;
        const auto other = [&](size_t k) { return m_sorted[k < own ? k : k + 1]; };
        const double median = n % 2 == 1 ? other(n / 2) : (other(n / 2 - 1) + other(n / 2)) / 2.0;
        return std::abs(value - median) > FarShare * median;
    }

private:
    std::vector<double> m_sorted;
};

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
    const UsedValues ks(drops, point, &LotDrop::K), es(drops, point, &LotDrop::E);
    std::vector<bool> far;
    far.reserve(point.Drops.size());
    for (const PointDrop& pd : point.Drops) {
        const LotDrop& d = drops[size_t(pd.Index)];
        const bool used = pd.State == DropState::Used;
        far.push_back(ks.IsFarFromOthers(d.K, used) || es.IsFarFromOthers(d.E, used));
    }
    return far;
}
