#include "LoggerModel.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

namespace vxsim
{

namespace
{

// Error codes of the logger's own list.
constexpr int ErrChannelNotSet = 1;
constexpr int ErrCommand = 2;
constexpr int ErrParameterCount = 3;
constexpr int ErrParameterRange = 4;
constexpr int ErrParameterCombination = 5;
constexpr int ErrParameterType = 6;
constexpr int ErrAddressOver = 7;
constexpr int ErrRangeOff = 8;
constexpr int ErrRangeOver = 9;
constexpr int ErrClockTooFast = 10;
constexpr int ErrSensorMissing = 31;

constexpr int MaxAddress = 127;
constexpr int MaxRecordLength = 16384;
constexpr int MinSamplingInterval = 50;
constexpr int MaxSamplingInterval = 32000;
constexpr long long MaxBinaryValues = 32767;

std::string Line(const std::string& text)
{
    return text + LineEnd;
}

std::string Error(int code)
{
    return Line(ErrorReply(code));
}

const std::string Ok = Line("OK");

std::string Upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

// What follows a command name: nothing, "?", or a number.
struct Argument {
    enum Kind { None, Query, Number, Garbage } Kind = None;
    long long Value = 0;
};

Argument ReadArgument(const std::string& rest)
{
    Argument a;
    if (rest.empty())
        return a;
    if (rest == "?") {
        a.Kind = Argument::Query;
        return a;
    }
    const bool digits = std::all_of(rest.begin(), rest.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '+';
    });
    const auto n = digits ? ParseInteger(rest) : std::nullopt;
    if (n) {
        a.Kind = Argument::Number;
        a.Value = *n;
    } else {
        a.Kind = Argument::Garbage;
    }
    return a;
}

std::string Signed6(int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%+07d", value);
    return text;
}

} // namespace

LoggerModel::LoggerModel(const SimConfig& config)
    : m_config(config), m_channels(config.Channels), m_params(config.Params),
      m_samplingInterval(config.SamplingInterval), m_recordLength(config.RecordLength),
      m_preTrigger(config.PreTrigger), m_sea(config.Sea), m_loadN(config.LoadN),
      m_modulus(config.Modulus), m_random(config.RandomStart)
{
}

bool LoggerModel::ChannelFitted(int channel) const
{
    return channel >= FirstChannel && channel <= LastChannel && m_channels[channel].Present &&
           !m_missing[channel];
}

void LoggerModel::SetChannelMissing(int channel, bool missing)
{
    if (channel < FirstChannel || channel > LastChannel)
        return;
    m_missing[channel] = missing;
    if (missing)
        m_selected[channel] = false;
}

void LoggerModel::SetOffset(int channel, int raw)
{
    if (channel >= FirstChannel && channel <= LastChannel)
        m_channels[channel].Offset = raw;
}

int LoggerModel::Param(int address) const
{
    const auto it = m_params.find(address);
    return it == m_params.end() ? 0 : it->second;
}

bool LoggerModel::FirmwareKnowsSea() const
{
    // Characters 16 to 18 of the VS reply are the version, 19 the revision letter.
    const std::string& fw = m_config.Firmware;
    const auto version = ParseReal(fw.substr(0, 3));
    if (!version || fw.size() < 3)
        return false;
    const char letter = fw.size() > 3 ? fw[3] : '\0';
    return *version > 2.0 || (*version == 2.0 && letter >= 'E');
}

SoilModel LoggerModel::Soil() const
{
    SoilModel soil;
    soil.ModulusMPa = m_modulus;
    soil.Poisson = Param(AddressPoisson) / 1000.0;
    soil.PlateDiameterMm = Param(AddressPlateDiameter);
    // The program takes Burmister when the firmware cannot be asked.
    soil.Burmister = !FirmwareKnowsSea() || m_sea == 1;
    return soil;
}

double LoggerModel::Coefficient(int channel) const
{
    const bool load = channel == 1;
    const double capacity = load ? Param(AddressLoadCapacity) * 0.01 : Param(AddressCapacity) * 0.1;
    const double output = (load ? Param(AddressLoadOutput) : Param(AddressOutput)) * 0.1;
    if (capacity <= 0.0 || output <= 0.0)
        return 0.0;
    const double divisor = m_channels[channel].Range == 4000 ? 5.0 : 10.0;
    return capacity / output / divisor;
}

bool LoggerModel::AnySelected() const
{
    return std::any_of(m_selected.begin(), m_selected.end(), [](bool s) { return s; });
}

std::string LoggerModel::ForSelected(const std::function<std::string(int)>& field) const
{
    if (!AnySelected())
        return Error(ErrChannelNotSet);
    std::string reply;
    for (int c = FirstChannel; c <= LastChannel; ++c) {
        if (!m_selected[c])
            continue;
        if (!reply.empty())
            reply += ',';
        reply += field(c);
    }
    return Line(reply);
}

std::string LoggerModel::ChannelQuery(int ChannelConfig::*field) const
{
    return ForSelected([this, field](int c) { return std::to_string(m_channels[c].*field); });
}

std::string LoggerModel::ChannelSet(int ChannelConfig::*field, long long value)
{
    if (!AnySelected())
        return Error(ErrChannelNotSet);
    for (int c = FirstChannel; c <= LastChannel; ++c)
        if (m_selected[c])
            m_channels[c].*field = static_cast<int>(value);
    return Ok;
}

int LoggerModel::Reading(int channel)
{
    double noise = 0.0;
    if (m_config.NoiseCounts > 0.0)
        noise = std::normal_distribution<double>(0.0, m_config.NoiseCounts)(m_random);
    const long long raw = std::llround(m_channels[channel].Offset - m_balance[channel] + noise);
    return static_cast<int>(std::clamp(raw, -32767LL, 32767LL));
}

std::string LoggerModel::Handle(const std::string& command, Micros now)
{
    Advance(now);
    return Dispatch(Upper(command), now);
}

std::string LoggerModel::Dispatch(const std::string& cmd, Micros now)
{
    if (cmd == "RES") {
        if (m_sensorUnitMissing)
            return Error(ErrSensorMissing);
        m_selected.fill(false);
        // A reset before the weight fell gives up waiting; a recording under way or
        // finished is kept, the transfer after it begins with a RES of its own.
        if (m_phase == Phase::Armed) {
            m_phase = Phase::Idle;
            m_autoDropAt.reset();
            m_notes.push_back("disarmed by RES");
        }
        return Ok;
    }
    if (cmd == "VS") {
        if (m_sensorUnitMissing)
            return Error(ErrSensorMissing);
        return Line("QL-860H FW Ver " + m_config.Firmware);
    }
    if (cmd == "MDT")
        return ForSelected([this](int c) { return Signed6(Reading(c)); });
    if (cmd == "BAL") {
        if (!AnySelected())
            return Error(ErrChannelNotSet);
        for (int c = FirstChannel; c <= LastChannel; ++c)
            if (m_selected[c])
                m_balance[c] = m_channels[c].Offset;
        return Ok;
    }
    if (cmd == "DTG") {
        if (!AnySelected())
            return Error(ErrChannelNotSet);
        m_phase = Phase::Armed;
        m_armedAt = now;
        m_current = Recording{};
        m_current.Channels = m_selected;
        if (m_config.DropAfterMs > 0)
            m_autoDropAt = now + static_cast<Micros>(m_config.DropAfterMs) * 1000;
        else
            m_autoDropAt.reset();
        m_notes.push_back("armed");
        return Ok;
    }
    if (cmd == "EOC") {
        const int samples = RecordedSamples(now);
        return ForSelected([samples](int) { return std::to_string(samples); });
    }
    if (cmd == "PON")
        return Ok;
    if (cmd == "ANS?") {
        return ForSelected(
            [this](int c) { return std::to_string(m_last ? m_last->Peaks.Value[c] : 0); });
    }

    // Commands with an argument: a name, then nothing, "?" or a number.
    static const std::vector<std::string> names = {"SET", "RNG",  "LPF", "HPF", "TGL", "MNO",
                                                   "CLK", "MRY-", "MRY", "EPA", "EPD", "SEA",
                                                   "TRM", "EXE",  "ANS", "BDT"};
    const auto name = std::find_if(names.begin(), names.end(),
                                   [&cmd](const std::string& n) { return StartsWith(cmd, n); });
    if (name == names.end())
        return Error(ErrCommand);
    const std::string rest = cmd.substr(name->size());
    const Argument arg = ReadArgument(rest);
    if (arg.Kind == Argument::None)
        return Error(ErrParameterCount);
    if (arg.Kind == Argument::Garbage)
        return Error(ErrParameterType);
    const bool query = arg.Kind == Argument::Query;
    const long long n = arg.Value;
    const std::string& key = *name;

    if (key == "SET") {
        if (query || rest.size() != 1 || n < FirstChannel || n > LastChannel)
            return Error(ErrParameterRange);
        if (!ChannelFitted(static_cast<int>(n)))
            return Error(ErrRangeOff);
        m_selected[n] = true;
        return Ok;
    }
    if (key == "RNG") {
        if (query)
            return ChannelQuery(&ChannelConfig::Range);
        return n == 1000 || n == 4000 ? ChannelSet(&ChannelConfig::Range, n) : Error(ErrRangeOver);
    }
    if (key == "LPF") {
        if (query)
            return ChannelQuery(&ChannelConfig::LowPass);
        static const std::array<long long, 5> accepted{500, 1000, 2000, 3000, 5000};
        if (std::find(accepted.begin(), accepted.end(), n) == accepted.end())
            return Error(ErrParameterRange);
        return ChannelSet(&ChannelConfig::LowPass, n);
    }
    if (key == "HPF") {
        if (query)
            return ChannelQuery(&ChannelConfig::HighPass);
        return n == 0 || n == 1 ? ChannelSet(&ChannelConfig::HighPass, n)
                                : Error(ErrParameterRange);
    }
    if (key == "TGL") {
        if (query)
            return ChannelQuery(&ChannelConfig::TriggerLevel);
        return n >= 0 && n <= 32767 ? ChannelSet(&ChannelConfig::TriggerLevel, n)
                                    : Error(ErrParameterRange);
    }
    if (key == "MNO") {
        if (query)
            return ChannelQuery(&ChannelConfig::MeasNo);
        return n >= 0 && n <= 32767 ? ChannelSet(&ChannelConfig::MeasNo, n)
                                    : Error(ErrParameterRange);
    }
    if (key == "CLK") {
        if (query)
            return Line(std::to_string(m_samplingInterval));
        if (n < MinSamplingInterval)
            return Error(ErrClockTooFast);
        if (n > MaxSamplingInterval)
            return Error(ErrParameterRange);
        m_samplingInterval = static_cast<int>(n);
        return Ok;
    }
    if (key == "MRY") {
        if (query)
            return Line(std::to_string(m_recordLength));
        if (n < 1 || n > MaxRecordLength)
            return Error(ErrParameterRange);
        if (m_preTrigger >= n)
            return Error(ErrParameterCombination);
        m_recordLength = static_cast<int>(n);
        return Ok;
    }
    if (key == "MRY-") {
        if (query)
            return Line(std::to_string(m_preTrigger));
        if (n < 0 || n >= m_recordLength)
            return Error(ErrParameterCombination);
        m_preTrigger = static_cast<int>(n);
        return Ok;
    }
    if (key == "EPA") {
        if (query)
            return Line(std::to_string(m_address));
        if (n < 0 || n > MaxAddress)
            return Error(ErrAddressOver);
        m_address = static_cast<int>(n);
        return Ok;
    }
    if (key == "EPD") {
        if (query)
            return Line(std::to_string(Param(m_address)));
        if (n < -32768 || n > 32767)
            return Error(ErrParameterRange);
        m_params[m_address] = static_cast<int>(n);
        return Ok;
    }
    if (key == "SEA") {
        if (m_sensorUnitMissing)
            return Error(ErrSensorMissing);
        if (query)
            return Line(std::to_string(m_sea));
        if (n != 1 && n != 2)
            return Error(ErrParameterRange);
        m_sea = static_cast<int>(n);
        return Ok;
    }
    if (key == "TRM") {
        if (query)
            return Line(m_triggerMode);
        if (rest.size() != 2)
            return Error(ErrParameterRange);
        m_triggerMode = rest;
        return Ok;
    }
    if (key == "EXE" || key == "ANS") {
        // The transfer's preparation steps; only answer set 0 exists.
        return !query && n == 0 ? Ok : Error(ErrParameterRange);
    }
    // BDT
    if (query || n < 1 || n > MaxBinaryValues)
        return Error(ErrParameterRange);
    if (!AnySelected())
        return Error(ErrChannelNotSet);
    return BinaryBlock(n);
}

std::string LoggerModel::BinaryBlock(long long values) const
{
    std::string bytes;
    bytes.reserve(static_cast<size_t>(values) * 2);
    auto put = [&bytes](int16_t v) {
        const auto u = static_cast<uint16_t>(v);
        bytes.push_back(static_cast<char>(u >> 8));
        bytes.push_back(static_cast<char>(u & 0xff));
    };
    for (int c = FirstChannel;
         c <= LastChannel && static_cast<long long>(bytes.size()) < values * 2; ++c) {
        if (!m_selected[c] || !m_last)
            continue;
        for (int16_t v : m_last->Samples[c]) {
            if (static_cast<long long>(bytes.size()) >= values * 2)
                break;
            put(v);
        }
    }
    while (static_cast<long long>(bytes.size()) < values * 2)
        put(0);
    return bytes;
}

int LoggerModel::RecordedSamples(Micros now)
{
    Advance(now);
    switch (m_phase) {
    case Phase::Idle:
    case Phase::Armed:
        return 0;
    case Phase::Done:
        return m_recordLength;
    case Phase::Recording:
        break;
    }
    const long long grown =
        std::min<long long>(m_preTrigger, m_recordLength) + (now - m_dropAt) / m_samplingInterval;
    const long long cap = m_stuck ? m_recordLength - 1 : m_recordLength;
    return static_cast<int>(std::clamp<long long>(grown, 0, std::max(0LL, cap)));
}

LoggerModel::Recording LoggerModel::RecordDrop(double loadN)
{
    Recording rec;
    rec.Channels = m_current.Channels;
    rec.Peaks = PeaksOfDrop(loadN, Soil());
    PulseShape shape;
    shape.Samples = m_recordLength;
    shape.PreTrigger = std::min(m_preTrigger, m_recordLength);
    shape.SamplingIntervalUs = m_samplingInterval;
    for (int c = FirstChannel; c <= LastChannel; ++c) {
        if (!ChannelFitted(c))
            continue;
        const double coefficient = Coefficient(c);
        const double perUnit = coefficient > 0.0 ? 1.0 / coefficient : 0.0;
        std::vector<int16_t> wave =
            c == 1 ? LoadWaveform(loadN, perUnit / 1000.0, shape)
                   : AccelerationWaveform(rec.Peaks.Value[c] / 1000.0, perUnit, shape);
        for (int16_t& v : wave)
            v = static_cast<int16_t>(std::clamp(v + Reading(c), -32767, 32767));
        rec.Samples[c] = std::move(wave);
    }
    return rec;
}

bool LoggerModel::Drop(Micros now)
{
    Advance(now);
    if (m_phase != Phase::Armed) {
        m_notes.push_back("drop ignored: the logger is not armed");
        return false;
    }
    double load = m_loadN;
    if (m_config.LoadSpreadPercent > 0.0) {
        const double spread = m_config.LoadSpreadPercent / 100.0;
        load *= 1.0 + std::uniform_real_distribution<double>(-spread, spread)(m_random);
    }
    m_autoDropAt.reset();
    m_phase = Phase::Recording;
    m_dropAt = now;
    m_current = RecordDrop(load);
    std::string note = "drop: peaks";
    for (int c = FirstChannel; c <= LastChannel; ++c)
        if (m_current.Channels[c])
            note += " CH" + std::to_string(c) + "=" + std::to_string(m_current.Peaks.Value[c]);
    m_notes.push_back(note);
    Settle(now);
    return true;
}

void LoggerModel::Settle(Micros now)
{
    if (m_phase != Phase::Recording || m_stuck)
        return;
    const Micros span =
        static_cast<Micros>(std::max(0, m_recordLength - std::min(m_preTrigger, m_recordLength))) *
        m_samplingInterval;
    if (now - m_dropAt < span)
        return;
    m_phase = Phase::Done;
    m_last = m_current;
    m_notes.push_back("recording complete: " + std::to_string(m_recordLength) + " samples");
}

void LoggerModel::Advance(Micros now)
{
    if (m_phase == Phase::Armed && m_autoDropAt && now >= *m_autoDropAt) {
        const Micros at = *m_autoDropAt;
        m_autoDropAt.reset();
        m_notes.push_back("drop " + std::to_string(m_config.DropAfterMs) + " ms after DTG");
        Drop(at);
    }
    Settle(now);
}

std::optional<Micros> LoggerModel::NextEventTime() const
{
    if (m_phase == Phase::Armed && m_autoDropAt)
        return m_autoDropAt;
    if (m_phase == Phase::Recording && !m_stuck) {
        const int post = std::max(0, m_recordLength - std::min(m_preTrigger, m_recordLength));
        return m_dropAt + static_cast<Micros>(post) * m_samplingInterval;
    }
    return std::nullopt;
}

std::vector<std::string> LoggerModel::TakeNotes()
{
    std::vector<std::string> notes;
    notes.swap(m_notes);
    return notes;
}

} // namespace vxsim
