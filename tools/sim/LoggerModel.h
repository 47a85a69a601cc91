#pragma once

#include "SimConfig.h"
#include "SoilModel.h"

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace vxsim
{

// The logger and its sensor unit as the program sees them over the line: which channels
// are selected, each channel's settings and measurement number, the parameter memory,
// the readings at rest, arming, the recording of a drop and its peak values.
// It maps (command, time) to the reply bytes and keeps no clock of its own.
class LoggerModel
{
public:
    explicit LoggerModel(const SimConfig& config);

    // The reply to one command (without its line end) received at `now`: text replies
    // end in CR LF, "BDTn" answers raw bytes.
    std::string Handle(const std::string& command, Micros now);

    // The weight falls at `now`. An armed logger starts recording; false when it was not
    // armed (the drop goes unrecorded).
    bool Drop(Micros now);
    // Carries out what has fallen due by `now`: an automatic drop after "DTG", the end of
    // a recording. Handle() does this itself first.
    void Advance(Micros now);
    // When Advance() next has something to do, if ever.
    std::optional<Micros> NextEventTime() const;

    // What changed, for the transcript ("drop ...", "recording complete ...").
    std::vector<std::string> TakeNotes();

    // Conditions of the hardware, set by faults and control lines.
    void SetSensorUnitMissing(bool missing) { m_sensorUnitMissing = missing; }
    void SetStuck(bool stuck) { m_stuck = stuck; }
    void SetChannelMissing(int channel, bool missing);
    void SetOffset(int channel, int raw);
    void SetLoad(double loadN) { m_loadN = loadN; }
    void SetModulus(double modulus) { m_modulus = modulus; }

    // State, for tests and notes.
    bool ChannelFitted(int channel) const;
    bool Selected(int channel) const { return m_selected.at(channel); }
    bool Armed() const { return m_phase == Phase::Armed; }
    // Samples held by the current recording at `now` (what "EOC" answers).
    int RecordedSamples(Micros now);
    SoilModel Soil() const;
    // Raw counts per unit (kN on CH1, m/s2 elsewhere) by the same rule the program uses.
    double Coefficient(int channel) const;

private:
    enum class Phase { Idle, Armed, Recording, Done };

    struct Recording {
        DropPeaks Peaks;
        std::array<std::vector<int16_t>, LastChannel + 1> Samples;
        std::array<bool, LastChannel + 1> Channels{};
    };

    // The logger's vocabulary, one row per command: those of a name alone ("MDT"), and those
    // that take "?" or a number ("RNG?", "RNG1000").
    struct NamedCommand;
    struct ArgumentCommand;
    static const std::vector<NamedCommand>& NamedCommands();
    static const std::vector<ArgumentCommand>& ArgumentCommands();

    std::string Dispatch(const std::string& command, Micros now);
    std::string Reset();
    std::string Arm(Micros now);
    std::string ChannelQuery(int ChannelConfig::*field) const;
    std::string ChannelSet(int ChannelConfig::*field, long long value);
    std::string ForSelected(const std::function<std::string(int)>& field) const;
    bool AnySelected() const;
    int Reading(int channel);
    void Settle(Micros now);
    Recording RecordDrop(double loadN);
    std::string BinaryBlock(long long values) const;
    bool FirmwareKnowsSea() const;
    int Param(int address) const;

    SimConfig m_config;
    std::array<ChannelConfig, LastChannel + 1> m_channels;
    std::array<bool, LastChannel + 1> m_missing{};
    std::array<bool, LastChannel + 1> m_selected{};
    std::array<int, LastChannel + 1> m_balance{};
    std::map<int, int> m_params;
    int m_address = 0;
    int m_samplingInterval;
    int m_recordLength;
    int m_preTrigger;
    int m_sea;
    std::string m_triggerMode = "21";
    double m_loadN;
    double m_modulus;
    bool m_sensorUnitMissing = false;
    bool m_stuck = false;

    Phase m_phase = Phase::Idle;
    Micros m_armedAt = 0;
    Micros m_dropAt = 0;
    std::optional<Micros> m_autoDropAt;
    Recording m_current;
    std::optional<Recording> m_last;

    std::mt19937 m_random;
    std::vector<std::string> m_notes;
};

} // namespace vxsim
