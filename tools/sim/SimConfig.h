#pragma once

#include "SimTypes.h"

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vxsim
{

// Parameter-memory addresses the program reads, and the words a freshly set-up logger of
// the test crew holds there.
inline constexpr int AddressPlateDiameter = 47; // mm
inline constexpr int AddressPoisson = 48;       // ratio x 1000
inline constexpr int AddressLoadCapacity = 51;  // CH1 rated capacity, kN x 100
inline constexpr int AddressCapacity = 52;      // CH2 and above, x 10
inline constexpr int AddressLoadOutput = 53;    // CH1 rated output, x 10
inline constexpr int AddressOutput = 54;        // CH2 and above, x 10
inline constexpr int AddressTriggerChannel = 57;

struct ChannelConfig {
    bool Present = false;
    int Range = 1000;
    int LowPass = 1000;
    int HighPass = 0;
    int TriggerLevel = 0;
    int MeasNo = 0;
    int Offset = 0; // the unbalanced raw reading at rest
};

// Everything the command line can set. The defaults make a consistent test day: 300 mm
// plate, Poisson 0.35, 50 kN load cell and accelerometers read at 2.5 N and 0.05 m/s2 per
// count, a 7 kN drop on a 50 MN/m2 subgrade (about 0.52 mm under the plate).
struct SimConfig {
    SimConfig();

    std::array<ChannelConfig, LastChannel + 1> Channels; // index 1 to 6
    std::string Firmware = "2.1A";
    int Sea = 1;
    std::map<int, int> Params;
    int SamplingInterval = 50; // microseconds
    int RecordLength = 800;    // samples per channel
    int PreTrigger = 400;
    double Modulus = 50.0; // MN/m2
    double LoadN = 7000.0; // peak load of a drop
    double LoadSpreadPercent = 0.0;
    double NoiseCounts = 0.8; // standard deviation of a raw reading at rest
    unsigned RandomStart = 1;
    int DropAfterMs = 0;
    bool Pace = true;
    int Baud = 9600;
    std::string LinkPath;
    int ComPort = 0; // 0: no --com given
    std::string TranscriptPath;
    std::string ControlFifo;
    bool ReadStdin = true;           // --no-stdin: control through the FIFO only
    std::vector<std::string> Faults; // each as the words after "fault" of a control line
    std::string ReplayPath;          // --replay: answer from a service transcript
};

struct ParseOutcome {
    std::optional<SimConfig> Config; // empty when the arguments were refused or --help
    bool Help = false;
    std::string Error;
};

// Reads the command line (without the program name).
ParseOutcome ParseArguments(const std::vector<std::string>& arguments);

// The text of --help.
std::string UsageText();

// Whole decimal number, all of the text (a leading sign allowed).
std::optional<long long> ParseInteger(const std::string& text);
std::optional<double> ParseReal(const std::string& text);

} // namespace vxsim
