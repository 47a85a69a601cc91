#include "ChartAxis.h"

#include <algorithm>
#include <cmath>

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
