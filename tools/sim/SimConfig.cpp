#include "SimConfig.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <sstream>

namespace vxsim
{

std::string ErrorReply(int code)
{
    std::string digits = std::to_string(code);
    while (digits.size() < 3)
        digits.insert(digits.begin(), '0');
    return "ERR-" + digits;
}

SimConfig::SimConfig()
{
    // A load cell on CH1 and one geophone-style accelerometer on CH2, trigger levels well
    // above what the channels read at rest so that a run can be armed before balancing.
    const std::array<int, LastChannel + 1> offsets{0, 48, -12, 7, -5, 3, -9};
    for (int c = FirstChannel; c <= LastChannel; ++c) {
        ChannelConfig& ch = Channels[c];
        ch.Present = c <= 2;
        ch.Range = 1000;
        ch.LowPass = c == 1 ? 500 : 1000;
        ch.HighPass = c == 1 ? 0 : 1;
        ch.TriggerLevel = c == 1 ? 400 : 2000;
        ch.Offset = offsets[c];
    }
    Params = {
        {AddressPlateDiameter, 300}, {AddressPoisson, 350},      {AddressLoadCapacity, 5000},
        {AddressCapacity, 10000},    {AddressLoadOutput, 20000}, {AddressOutput, 20000},
        {AddressTriggerChannel, 1},
    };
}

std::optional<long long> ParseInteger(const std::string& text)
{
    if (text.empty())
        return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || end != text.c_str() + text.size() || text.front() == ' ')
        return std::nullopt;
    return value;
}

std::optional<double> ParseReal(const std::string& text)
{
    if (text.empty() || text.front() == ' ')
        return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (errno != 0 || end != text.c_str() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

namespace
{

// "CH=V" with a channel 1 to 6.
bool ParseChannelValue(const std::string& text, int& channel, long long& value)
{
    const auto eq = text.find('=');
    if (eq == std::string::npos)
        return false;
    const auto ch = ParseInteger(text.substr(0, eq));
    const auto v = ParseInteger(text.substr(eq + 1));
    if (!ch || !v || *ch < FirstChannel || *ch > LastChannel)
        return false;
    channel = static_cast<int>(*ch);
    value = *v;
    return true;
}

bool ParseChannelList(const std::string& text, SimConfig& config)
{
    std::array<bool, LastChannel + 1> present{};
    std::stringstream in(text);
    std::string item;
    bool any = false;
    while (std::getline(in, item, ',')) {
        const auto ch = ParseInteger(item);
        if (!ch || *ch < FirstChannel || *ch > LastChannel)
            return false;
        present[*ch] = true;
        any = true;
    }
    if (!any)
        return false;
    for (int c = FirstChannel; c <= LastChannel; ++c)
        config.Channels[c].Present = present[c];
    return true;
}

} // namespace

ParseOutcome ParseArguments(const std::vector<std::string>& arguments)
{
    ParseOutcome outcome;
    SimConfig config;
    auto refuse = [&outcome](const std::string& why) {
        outcome.Error = why;
        return outcome;
    };

    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        auto needValue = [&](std::string& value) {
            if (i + 1 >= arguments.size())
                return false;
            value = arguments[++i];
            return true;
        };
        // Options with a whole-number value between lo and hi.
        auto integer = [&](long long lo, long long hi, const std::function<void(long long)>& set) {
            std::string value;
            if (!needValue(value))
                return false;
            const auto n = ParseInteger(value);
            if (!n || *n < lo || *n > hi)
                return false;
            set(*n);
            return true;
        };
        auto real = [&](double lo, double hi, const std::function<void(double)>& set) {
            std::string value;
            if (!needValue(value))
                return false;
            const auto x = ParseReal(value);
            if (!x || *x < lo || *x > hi)
                return false;
            set(*x);
            return true;
        };
        // Per-channel options, CH=V.
        auto perChannel = [&](const std::function<void(ChannelConfig&, long long)>& set) {
            std::string value;
            int channel = 0;
            long long v = 0;
            if (!needValue(value) || !ParseChannelValue(value, channel, v))
                return false;
            set(config.Channels[channel], v);
            return true;
        };

        bool ok = true;
        std::string value;
        if (option == "--help" || option == "-h") {
            outcome.Help = true;
            return outcome;
        } else if (option == "--link") {
            ok = needValue(config.LinkPath) && !config.LinkPath.empty();
        } else if (option == "--com") {
            ok = integer(1, 255, [&](long long n) { config.ComPort = static_cast<int>(n); });
        } else if (option == "--channels") {
            ok = needValue(value) && ParseChannelList(value, config);
        } else if (option == "--firmware") {
            ok = needValue(config.Firmware);
        } else if (option == "--sea") {
            ok = integer(-32768, 32767, [&](long long n) { config.Sea = static_cast<int>(n); });
        } else if (option == "--param") {
            ok = needValue(value);
            const auto eq = value.find('=');
            const auto address =
                ok && eq != std::string::npos ? ParseInteger(value.substr(0, eq)) : std::nullopt;
            const auto word = address ? ParseInteger(value.substr(eq + 1)) : std::nullopt;
            ok = word && *address >= 0 && *address <= 127 && *word >= -32768 && *word <= 32767;
            if (ok)
                config.Params[static_cast<int>(*address)] = static_cast<int>(*word);
        } else if (option == "--mno") {
            ok = needValue(value);
            int channel = 0;
            long long n = 0;
            if (ok && ParseChannelValue(value, channel, n)) {
                config.Channels[channel].MeasNo = static_cast<int>(n);
            } else if (const auto all = ok ? ParseInteger(value) : std::nullopt) {
                for (int c = FirstChannel; c <= LastChannel; ++c)
                    config.Channels[c].MeasNo = static_cast<int>(*all);
            } else {
                ok = false;
            }
        } else if (option == "--range") {
            ok = perChannel([](ChannelConfig& c, long long v) { c.Range = static_cast<int>(v); });
        } else if (option == "--lpf") {
            ok = perChannel([](ChannelConfig& c, long long v) { c.LowPass = static_cast<int>(v); });
        } else if (option == "--hpf") {
            ok =
                perChannel([](ChannelConfig& c, long long v) { c.HighPass = static_cast<int>(v); });
        } else if (option == "--tgl") {
            ok = perChannel(
                [](ChannelConfig& c, long long v) { c.TriggerLevel = static_cast<int>(v); });
        } else if (option == "--offset") {
            ok = perChannel([](ChannelConfig& c, long long v) { c.Offset = static_cast<int>(v); });
        } else if (option == "--clk") {
            ok = integer(1, 1000000,
                         [&](long long n) { config.SamplingInterval = static_cast<int>(n); });
        } else if (option == "--mry") {
            ok = integer(1, 65535, [&](long long n) { config.RecordLength = static_cast<int>(n); });
        } else if (option == "--mry-pre") {
            ok = integer(0, 65535, [&](long long n) { config.PreTrigger = static_cast<int>(n); });
        } else if (option == "--modulus") {
            ok = real(0.001, 1e6, [&](double x) { config.Modulus = x; });
        } else if (option == "--poisson") {
            ok = real(0.0, 0.999, [&](double x) {
                config.Params[AddressPoisson] = static_cast<int>(std::lround(x * 1000.0));
            });
        } else if (option == "--plate") {
            ok = integer(1, 32767, [&](long long n) {
                config.Params[AddressPlateDiameter] = static_cast<int>(n);
            });
        } else if (option == "--load") {
            ok = real(0.0, 1e6, [&](double x) { config.LoadN = x; });
        } else if (option == "--load-spread") {
            ok = real(0.0, 50.0, [&](double x) { config.LoadSpreadPercent = x; });
        } else if (option == "--noise") {
            ok = real(0.0, 1000.0, [&](double x) { config.NoiseCounts = x; });
        } else if (option == "--rng") {
            ok = integer(0, 4294967295LL,
                         [&](long long n) { config.RandomStart = static_cast<unsigned>(n); });
        } else if (option == "--drop-after") {
            ok =
                integer(0, 3600000, [&](long long n) { config.DropAfterMs = static_cast<int>(n); });
        } else if (option == "--pace") {
            config.Pace = true;
        } else if (option == "--no-pace") {
            config.Pace = false;
        } else if (option == "--baud") {
            ok = integer(300, 1000000, [&](long long n) { config.Baud = static_cast<int>(n); });
        } else if (option == "--transcript") {
            ok = needValue(config.TranscriptPath) && !config.TranscriptPath.empty();
        } else if (option == "--control-fifo") {
            ok = needValue(config.ControlFifo) && !config.ControlFifo.empty();
        } else if (option == "--no-stdin") {
            config.ReadStdin = false;
        } else if (option == "--replay") {
            ok = needValue(config.ReplayPath) && !config.ReplayPath.empty();
        } else if (option == "--fault") {
            ok = needValue(value) && !value.empty();
            if (ok)
                config.Faults.push_back(value);
        } else {
            return refuse("unknown option " + option + " (see --help)");
        }
        if (!ok)
            return refuse("bad or missing value for " + option + " (see --help)");
    }
    if (config.ComPort != 0 && !config.LinkPath.empty())
        return refuse("give either --link or --com, not both");
    outcome.Config = config;
    return outcome;
}

std::string UsageText()
{
    return R"(vx-logger-sim: a stand-in for the QL-860H logger with its PWS-500C sensor unit,
answering on a pseudo-terminal. Prints "PTY <slave path>" once ready; serves until
standard input closes, the control line "quit", SIGTERM or SIGINT.

Line
  --link PATH          symbolic link PATH -> the pty slave (replaced; removed at the end)
  --com N              the same as --link <Documents>/VX-2968/ports/COMN
  --pace | --no-pace   send at the line speed (default) or at once
  --baud N             line speed for pacing, 10 bits a byte (9600)
  --transcript FILE    append "> CMD", "< REPLY", "! NOTE" lines
  --control-fifo PATH  also read control lines from this FIFO (made if missing)
  --no-stdin           do not read standard input (to run in the background: control
                       through the FIFO, end with "quit" or a signal)
  --replay LINE.LOG    answer each command with the reply the program's service
                       transcript recorded for it, in order; on a command the
                       transcript does not hold next, say so on standard error and
                       fall silent. Only a regular file up to 16 MB whose exchange
                       lines are whole is taken (exit 2 otherwise, naming the line)

Logger
  --channels LIST      channels fitted, e.g. 1,2,4 (1,2)
  --firmware VR        version and revision letter, e.g. 2.0E (2.1A); VS answers
                       "QL-860H FW Ver " followed by it
  --sea N              the SEA? reply, 1 Burmister, else Boussinesq (1)
  --param ADDR=WORD    a parameter-memory word, 0 to 127 (repeatable). Defaults:
                       47=300 plate mm, 48=350 Poisson x1000, 51=5000 CH1 capacity
                       (50 kN), 52=10000 capacity CH2+ (1000 m/s2), 53=20000 CH1 rated
                       output, 54=20000 rated output CH2+, 57=1 trigger channel;
                       every other word 0. CH1 then reads 2.5 N a count, CH2+ 0.05 m/s2
  --mno N | CH=N       starting measurement number of every channel, or of one (0)
  --range CH=V         RNG? of a channel (1000)
  --lpf CH=V           LPF? (CH1 500, others 1000)
  --hpf CH=V           HPF? (CH1 0, others 1)
  --tgl CH=V           TGL?, raw counts (CH1 400, others 2000)
  --offset CH=RAW      unbalanced reading at rest (48 -12 7 -5 3 -9); BAL zeroes it
  --noise SIGMA        standard deviation of a reading at rest, counts (0.8)
  --rng N              start of the random noise and the drop-to-drop spread (1)
  --clk US             CLK?, sampling interval in microseconds (50)
  --mry N              MRY?, record length in samples (800)
  --mry-pre N          MRY-?, pre-trigger samples (400)

Drops and soil
  --modulus E          subgrade modulus, MN/m2 (50)
  --poisson NU         sets word 48 to NU x 1000
  --plate MM           sets word 47
  --load N             peak load of a drop, N (7000)
  --load-spread PCT    each drop's load varies by up to +-PCT percent (0)
  --drop-after MS      drop by itself this long after DTG (0: only on "drop")
  --fault LINE         a fault from the start, as a control line without "fault"
                       (repeatable), e.g. --fault silent, --fault "error RES 031"

ANS? answers the peak load in N and, for every further selected channel, a displacement
in micrometres: D0 under the plate from the soil (Burmister D = 4(1-nu^2)P/(pi d E) when
SEA? is 1 or the firmware is older than 2.0E, otherwise Boussinesq D = (1-nu^2)P/(d E)),
and D0 x 0.55, 0.38, 0.27, 0.17 for CH3 to CH6 (sensors further out).

Recording: DTG arms the selected channels; a drop starts the recording, which holds the
pre-trigger samples at once and gains one sample every CLK? microseconds up to MRY?.
EOC answers that count (0 while armed). RES before the drop disarms. BDTn answers 2n
raw bytes (big-endian signed 16-bit) of the last completed recording, the selected
channels one after the other, zeros beyond its end.

Errors: unknown command ERR-002; missing number ERR-003; value out of range ERR-004;
SET of a channel not fitted ERR-008; a channel query with no channel selected ERR-001;
EPA beyond 127 ERR-007; CLK below 50 ERR-010; MRY-n not below MRY? ERR-005.

Control lines (standard input or the FIFO), each answered "ACK <line>" (or
"NAK <line>: <why>") on standard output:
  drop | offset CH RAW | load N | modulus E | quit
  fault none | silent | nosensor | stuck | stray | nochannel CH
  fault error CMD CODE | garble CMD | partial CMD | nul CMD | longline CMD
  fault slow CMD MS | hangup-after N
CMD matches a command exactly regardless of case, "X*" any command starting with X,
"*" every command.
)";
}

} // namespace vxsim
