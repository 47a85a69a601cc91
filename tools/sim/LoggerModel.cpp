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
    std::string Text; // as received
};

// The error code for an argument outside a command's range, 0 for one within it.
using Refusal = std::function<int(const LoggerModel&, const Argument&)>;

Refusal Within(long long low, long long high, int error)
{
    return [=](const LoggerModel&, const Argument& a) {
        return a.Value >= low && a.Value <= high ? 0 : error;
    };
}

Refusal OneOf(std::vector<long long> accepted, int error)
{
    return [accepted = std::move(accepted), error](const LoggerModel&, const Argument& a) {
        return std::find(accepted.begin(), accepted.end(), a.Value) != accepted.end() ? 0 : error;
    };
}

Argument ReadArgument(const std::string& rest)
{
    Argument a;
    a.Text = rest;
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

// Rows marked so are answered with ERR-031, whatever else they say, while the sensor unit
// is missing.
constexpr bool WithSensorUnit = true;

struct LoggerModel::NamedCommand {
    std::string Name;
    std::function<std::string(LoggerModel&, Micros)> Reply;
    bool NeedsSensorUnit = false;
};

// The reply to "?"; the error for an argument outside the range, checked before any
// setting is made; the setting and its reply.
struct LoggerModel::ArgumentCommand {
    std::string Name;
    std::function<std::string(LoggerModel&)> Query; // none: a query is out of range
    Refusal Refused;
    std::function<std::string(LoggerModel&, const Argument&)> Set;
    bool NeedsSensorUnit = false;
};

const std::vector<LoggerModel::NamedCommand>& LoggerModel::NamedCommands()
{
    using M = LoggerModel;
    static const std::vector<NamedCommand> commands = {
        {"RES", [](M& m, Micros) { return m.Reset(); }, WithSensorUnit},
        {"VS", [](M& m, Micros) { return Line("QL-860H FW Ver " + m.m_config.Firmware); },
         WithSensorUnit},
        {"MDT",
         [](M& m, Micros) { return m.ForSelected([&m](int c) { return Signed6(m.Reading(c)); }); }},
        {"BAL",
         [](M& m, Micros) {
             if (!m.AnySelected())
                 return Error(ErrChannelNotSet);
             for (int c = FirstChannel; c <= LastChannel; ++c)
                 if (m.m_selected[c])
                     m.m_balance[c] = m.m_channels[c].Offset;
             return Ok;
         }},
        {"DTG", [](M& m, Micros now) { return m.Arm(now); }},
        {"EOC",
         [](M& m, Micros now) {
             const int samples = m.RecordedSamples(now);
             return m.ForSelected([samples](int) { return std::to_string(samples); });
         }},
        {"PON", [](M&, Micros) { return Ok; }},
        {"ANS?",
         [](M& m, Micros) {
             return m.ForSelected(
                 [&m](int c) { return std::to_string(m.m_last ? m.m_last->Peaks.Value[c] : 0); });
         }},
    };
    return commands;
}

const std::vector<LoggerModel::ArgumentCommand>& LoggerModel::ArgumentCommands()
{
    using M = LoggerModel;
    // A setting each selected channel holds.
    auto channel = [](const char* name, int ChannelConfig::*field, Refusal refused) {
        return ArgumentCommand{
            name, [field](M& m) { return m.ChannelQuery(field); }, std::move(refused),
            [field](M& m, const Argument& a) { return m.ChannelSet(field, a.Value); }};
    };
    // A setting of the logger as a whole.
    auto logger = [](const char* name, int M::*member, Refusal refused, bool sensorUnit = false) {
        return ArgumentCommand{name, [member](M& m) { return Line(std::to_string(m.*member)); },
                               std::move(refused),
                               [member](M& m, const Argument& a) {
                                   m.*member = static_cast<int>(a.Value);
                                   return Ok;
                               },
                               sensorUnit};
    };
    // The transfer's preparation steps; only answer set 0 exists.
    auto step = [](const char* name) {
        return ArgumentCommand{name, nullptr, Within(0, 0, ErrParameterRange),
                               [](M&, const Argument&) { return Ok; }};
    };
    // "MRY-" before "MRY": a name is found by the start of the command.
    static const std::vector<ArgumentCommand> commands = {
        {"SET", nullptr,
         [](const M& m, const Argument& a) {
             if (a.Text.size() != 1 || a.Value < FirstChannel || a.Value > LastChannel)
                 return ErrParameterRange;
             return m.ChannelFitted(static_cast<int>(a.Value)) ? 0 : ErrRangeOff;
         },
         [](M& m, const Argument& a) {
             m.m_selected[a.Value] = true;
             return Ok;
         }},
        channel("RNG", &ChannelConfig::Range, OneOf({1000, 4000}, ErrRangeOver)),
        channel("LPF", &ChannelConfig::LowPass,
                OneOf({500, 1000, 2000, 3000, 5000}, ErrParameterRange)),
        channel("HPF", &ChannelConfig::HighPass, OneOf({0, 1}, ErrParameterRange)),
        channel("TGL", &ChannelConfig::TriggerLevel, Within(0, 32767, ErrParameterRange)),
        channel("MNO", &ChannelConfig::MeasNo, Within(0, 32767, ErrParameterRange)),
        logger("CLK", &M::m_samplingInterval,
               [](const M&, const Argument& a) {
                   if (a.Value < MinSamplingInterval)
                       return ErrClockTooFast;
                   return a.Value > MaxSamplingInterval ? ErrParameterRange : 0;
               }),
        logger("MRY-", &M::m_preTrigger,
               [](const M& m, const Argument& a) {
                   return a.Value < 0 || a.Value >= m.m_recordLength ? ErrParameterCombination : 0;
               }),
        logger("MRY", &M::m_recordLength,
               [](const M& m, const Argument& a) {
                   if (a.Value < 1 || a.Value > MaxRecordLength)
                       return ErrParameterRange;
                   return m.m_preTrigger >= a.Value ? ErrParameterCombination : 0;
               }),
        logger("EPA", &M::m_address, Within(0, MaxAddress, ErrAddressOver)),
        {"EPD", [](M& m) { return Line(std::to_string(m.Param(m.m_address))); },
         Within(-32768, 32767, ErrParameterRange),
         [](M& m, const Argument& a) {
             m.m_params[m.m_address] = static_cast<int>(a.Value);
             return Ok;
         }},
        logger("SEA", &M::m_sea, OneOf({1, 2}, ErrParameterRange), WithSensorUnit),
        {"TRM", [](M& m) { return Line(m.m_triggerMode); },
         [](const M&, const Argument& a) { return a.Text.size() == 2 ? 0 : ErrParameterRange; },
         [](M& m, const Argument& a) {
             m.m_triggerMode = a.Text;
             return Ok;
         }},
        step("EXE"),
        step("ANS"),
        {"BDT", nullptr, Within(1, MaxBinaryValues, ErrParameterRange),
         [](M& m, const Argument& a) {
             return m.AnySelected() ? m.BinaryBlock(a.Value) : Error(ErrChannelNotSet);
         }},
    };
    return commands;
}

std::string LoggerModel::Dispatch(const std::string& cmd, Micros now)
{
    const std::vector<NamedCommand>& named = NamedCommands();
    const auto plain = std::find_if(named.begin(), named.end(),
                                    [&cmd](const NamedCommand& c) { return cmd == c.Name; });
    if (plain != named.end()) {
        if (plain->NeedsSensorUnit && m_sensorUnitMissing)
            return Error(ErrSensorMissing);
        return plain->Reply(*this, now);
    }

    const std::vector<ArgumentCommand>& withArgument = ArgumentCommands();
    const auto command =
        std::find_if(withArgument.begin(), withArgument.end(),
                     [&cmd](const ArgumentCommand& c) { return StartsWith(cmd, c.Name); });
    if (command == withArgument.end())
        return Error(ErrCommand);
    const Argument arg = ReadArgument(cmd.substr(command->Name.size()));
    if (arg.Kind == Argument::None)
        return Error(ErrParameterCount);
    if (arg.Kind == Argument::Garbage)
        return Error(ErrParameterType);
    if (command->NeedsSensorUnit && m_sensorUnitMissing)
        return Error(ErrSensorMissing);
    if (arg.Kind == Argument::Query)
        return command->Query ? command->Query(*this) : Error(ErrParameterRange);
    if (const int refusal = command->Refused(*this, arg))
        return Error(refusal);
    return command->Set(*this, arg);
}

std::string LoggerModel::Reset()
{
    m_selected.fill(false);
    // A reset before the weight fell gives up waiting; a recording under way or finished is
    // kept, the transfer after it begins with a RES of its own.
    if (m_phase == Phase::Armed) {
        m_phase = Phase::Idle;
        m_autoDropAt.reset();
        m_notes.push_back("disarmed by RES");
    }
    return Ok;
}

std::string LoggerModel::Arm(Micros now)
{
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
