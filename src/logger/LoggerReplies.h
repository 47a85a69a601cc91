#pragma once

#include "record/LoggerSettings.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

// Readers of the logger's replies. Each takes ReplyText (line end included) of an exchange
// with a positive status and gives the value only when the reply is a number the setting
// accepts; otherwise the setting keeps what it had. Whole-number settings take only whole
// numbers.

// The text of a reply's line: up to its first line end, without the line noise before or
// after it.
QString ReplyLine(const QString& replyText);

// The reply's line as a decimal number.
std::optional<double> NumericReply(const QString& replyText);

// The value before the first "," of a reply (or the whole reply) as a number; false when
// it is not one. The line end does not count. "MNO?" and "EOC" answer one such field per
// selected channel, the same in each: the first stands for them all.
bool LeadingFieldValue(const QString& reply, double* value);

std::optional<int32_t> RangeReply(const QString& replyText);            // "RNG?": 1000, 4000
std::optional<int32_t> LowPassReply(const QString& replyText);          // "LPF?": 500 ... 5000 Hz
std::optional<int32_t> HighPassReply(const QString& replyText);         // "HPF?": 0, 1
std::optional<int32_t> SamplingIntervalReply(const QString& replyText); // "CLK?": 50 to 32000
std::optional<int32_t> RecordLengthReply(const QString& replyText);     // "MRY?": 1 to 16384
// "MRY-?": 0 to recordLength - 1.
std::optional<int32_t> PreTriggerReply(const QString& replyText, int32_t recordLength);
// "MNO?": a 16-bit number, negative read as 0.
std::optional<int16_t> MeasNoReply(const QString& replyText);
std::optional<double> TriggerLevelReply(const QString& replyText); // "TGL?": 0 to 32767
// "SEA?": 1 Burmister, any other number 2 (Boussinesq).
std::optional<int16_t> CalcTypeReply(const QString& replyText);

// Parameter-memory words ("EPD?" after "EPA" + address).
inline constexpr int AddressPlateDiameter = 47;
inline constexpr int AddressPoissonRatio = 48;
inline constexpr int AddressLoadCapacity = 51;
inline constexpr int AddressSensorCapacity = 52; // CH2 and every further channel
inline constexpr int AddressLoadRatedOutput = 53;
inline constexpr int AddressSensorRatedOutput = 54; // CH2 and every further channel
inline constexpr int AddressTriggerChannel = 57;

std::optional<int32_t> PlateDiameterWord(const QString& replyText); // mm, 1 to 1000
std::optional<double> PoissonRatioWord(const QString& replyText);   // / 1000, in (0, 1)
std::optional<double> LoadCapacityWord(const QString& replyText);   // x 0.01, above 0
// Addresses 52, 53 and 54: x 0.1, above 0.
std::optional<double> TenthsWord(const QString& replyText);
std::optional<int32_t> TriggerChannelWord(const QString& replyText, int16_t highestChannel);

// "VS": 1-based characters 16 to 18 are the version, 19 the revision letter. "SEA?" is
// understood from 2.0E on.
bool FirmwareSupportsSea(const QString& versionReply);

// "MDT": the raw reading of every selected channel, in channel order, "," between two. A
// reading is any finite decimal number (the logger writes signed counts, "+001234"); a
// field holding anything else is read as no reading.
struct ChannelReading {
    bool InReply = false;      // the reply has a field for the channel
    std::optional<double> Raw; // that field's number
};
struct LiveReadings {
    int Fields = 0; // in the reply's line, 1 for a line without ","
    std::array<ChannelReading, LoggerSettings::LastChannelNumber + 1> Channel; // index 1 to 6
};
LiveReadings ReadingsReply(const QString& replyText, const LoggerSettings& settings);

// Index 1 to 6 as in the settings: CH1's peak load in N, every further channel's peak
// displacement in mm; -1 where there is none.
using PeakValues = std::array<double, LoggerSettings::LastChannelNumber + 1>;
// "ANS?": the drop's peak values, "," between two: the load first, then the displacement of
// every further selected channel in channel order, in micrometres. Each is any finite
// decimal number; a field holding anything else, or missing, leaves its value at -1. A
// reply without a single number is no measurement: nothing.
std::optional<PeakValues> PeakValuesReply(const QString& replyText, const LoggerSettings& settings);

// Raw reading into the channel's unit, once the logger's values are known: Capacity /
// RatedOutput divided by 5 for range 4000 and by 10 otherwise (1.0 without a rated output).
double ReadCoefficient(const ChannelSettings& channel);
// 1 (kN) for CH1, 2 (m/s2) for every other channel.
int32_t UnitCode(int channel);
