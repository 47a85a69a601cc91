#include "SoilModel.h"

#include <algorithm>
#include <cmath>

namespace vxsim
{

namespace
{
// The value of pi the operators' K and E formulas use; the same here, so that feeding
// the peaks back returns the modulus without a systematic offset.
constexpr double Pi = 3.1415927;

int16_t ClampToCounts(double value)
{
    return static_cast<int16_t>(std::clamp(std::lround(value), -32767L, 32767L));
}
} // namespace

double SoilModel::CentreDisplacementMm(double loadN) const
{
    if (ModulusMPa <= 0.0 || PlateDiameterMm <= 0.0 || loadN <= 0.0)
        return 0.0;
    const double squeeze = 1.0 - Poisson * Poisson;
    if (Burmister)
        return 4.0 * squeeze * loadN / (Pi * PlateDiameterMm * ModulusMPa);
    return squeeze * loadN / (PlateDiameterMm * ModulusMPa);
}

double DistanceFactor(int channel)
{
    static constexpr std::array<double, LastChannel + 1> factors{0, 0, 1.0, 0.55, 0.38, 0.27, 0.17};
    if (channel < FirstChannel || channel > LastChannel)
        return 0.0;
    return factors[channel];
}

DropPeaks PeaksOfDrop(double loadN, const SoilModel& soil)
{
    DropPeaks peaks;
    const double load = std::max(0.0, loadN);
    peaks.Value[1] = std::llround(load);
    const double centreUm = soil.CentreDisplacementMm(load) * 1000.0;
    for (int c = 2; c <= LastChannel; ++c)
        peaks.Value[c] = std::llround(centreUm * DistanceFactor(c));
    return peaks;
}

namespace
{
// sin(pi t / T) over the pulse, 0 elsewhere, at each sample.
std::vector<double> HalfSine(const PulseShape& shape)
{
    std::vector<double> pulse(static_cast<size_t>(std::max(0, shape.Samples)), 0.0);
    const double pulseUs = shape.PulseMs * 1000.0;
    for (int i = std::max(0, shape.PreTrigger); i < shape.Samples; ++i) {
        const double t = static_cast<double>(i - shape.PreTrigger) * shape.SamplingIntervalUs;
        if (t > pulseUs)
            break;
        pulse[i] = std::sin(Pi * t / pulseUs);
    }
    return pulse;
}
} // namespace

std::vector<int16_t> LoadWaveform(double loadN, double countsPerN, const PulseShape& shape)
{
    std::vector<int16_t> counts;
    for (double s : HalfSine(shape))
        counts.push_back(ClampToCounts(loadN * countsPerN * s));
    return counts;
}

std::vector<int16_t> AccelerationWaveform(double displacementMm, double countsPerMs2,
                                          const PulseShape& shape)
{
    // d(t) = D sin(pi t / T) gives a(t) = -D (pi / T)^2 sin(pi t / T).
    const double seconds = shape.PulseMs / 1000.0;
    const double peak = displacementMm / 1000.0 * (Pi / seconds) * (Pi / seconds);
    std::vector<int16_t> counts;
    for (double s : HalfSine(shape))
        counts.push_back(ClampToCounts(-peak * countsPerMs2 * s));
    return counts;
}

} // namespace vxsim
