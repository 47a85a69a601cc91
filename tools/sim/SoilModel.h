#pragma once

#include "SimTypes.h"

#include <array>
#include <cstdint>
#include <vector>

namespace vxsim
{

// What the ground does under the falling weight: an elastic half-space loaded through a
// rigid plate. Burmister's and Boussinesq's plate formulas are the ones the operators'
// software inverts, so a result computed from the simulated peaks gives the modulus back.
struct SoilModel {
    double ModulusMPa = 50.0; // N/mm2
    double Poisson = 0.35;
    double PlateDiameterMm = 300.0;
    bool Burmister = true;

    // Settlement under the plate centre for a peak load in N, in mm (0 when the model is
    // degenerate: no plate, no stiffness).
    double CentreDisplacementMm(double loadN) const;
};

// The sensors further out see a fraction of the centre settlement: CH3 to CH6.
double DistanceFactor(int channel);

// Peak values of one drop, per channel (index 1 to 6): CH1 the load in N, others the
// displacement in whole micrometres.
struct DropPeaks {
    std::array<long long, LastChannel + 1> Value{};
};

DropPeaks PeaksOfDrop(double loadN, const SoilModel& soil);

// The recorded waveform of one channel in raw counts: a half-sine pulse of the load (or,
// on an accelerometer, the acceleration of a half-sine settlement), starting at the
// trigger sample, on top of the channel's residual reading.
struct PulseShape {
    int Samples = 800;
    int PreTrigger = 400;
    int SamplingIntervalUs = 50;
    double PulseMs = 18.0;
};

std::vector<int16_t> LoadWaveform(double loadN, double countsPerN, const PulseShape& shape);
std::vector<int16_t> AccelerationWaveform(double displacementMm, double countsPerMs2,
                                          const PulseShape& shape);

} // namespace vxsim
