#include "ResultComputation.h"

#include "shell/Formatting.h"

#include <algorithm>
#include <cmath>

namespace
{

// The plate area is taken as that of the 300 mm plate whatever the diameter, and the
// result scaled to MN/m3: the definition of K-NWR.
constexpr double KPlateRadius = 150.0;
constexpr double KScale = 2000.0;

bool Defined(double displacement, int32_t plateDiameter)
{
    return displacement >= DisplacementThreshold && plateDiameter > 0; // false for NaN too
}

double OrUndefined(double value)
{
    return std::isfinite(value) ? value : -1.0;
}

} // namespace

double CalcK(double p, double d, int32_t plateDiameter)
{
    if (!Defined(d, plateDiameter))
        return -1.0;
    return OrUndefined(p / d / KPlateRadius / ResultPi / plateDiameter * KScale);
}

double CalcE(double p, double d, int32_t plateDiameter, double poisson, int16_t calcType)
{
    if (!Defined(d, plateDiameter))
        return -1.0;
    const double factor = 1.0 - std::pow(poisson, 2.0);
    if (calcType == CalcTypeBurmister)
        return OrUndefined((factor + factor) * p / ResultPi / plateDiameter / d * 2.0);
    return OrUndefined(factor * p / plateDiameter / d);
}

QString FormatPositive(double value, const QString& format)
{
    if (value > 0.0) // false for NaN
        return FormatNumber(value, format);
    return QStringLiteral("------");
}

int16_t NextMeasNo(int16_t measNo)
{
    if (measNo < 0 || measNo >= HighestMeasNo)
        return 0;
    return static_cast<int16_t>(measNo + 1);
}
