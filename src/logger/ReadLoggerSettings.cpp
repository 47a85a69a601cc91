#include "ReadLoggerSettings.h"

#include "LoggerErrors.h"
#include "LoggerReplies.h"
#include "serial/SerialLink.h"

#include <algorithm>
#include <optional>

namespace
{

// The reply of a query, when it came without error.
std::optional<QString> Ask(SerialLink& link, const QString& cmd)
{
    if (link.RSCom(cmd) > 0)
        return link.ReplyText();
    return std::nullopt;
}

// Queries one setting and takes its value when the reply is accepted.
template <typename T, typename Reader>
void Take(SerialLink& link, const char* cmd, T& target, Reader read)
{
    if (const auto reply = Ask(link, QString::fromLatin1(cmd))) {
        if (const auto value = read(*reply))
            target = static_cast<T>(*value);
    }
}

template <typename T, typename Reader>
void TakeWord(SerialLink& link, int address, T& target, Reader read)
{
    link.RSCom(QStringLiteral("EPA%1").arg(address));
    Take(link, "EPD?", target, read);
}

void Select(SerialLink& link, int channel)
{
    link.RSCom(QStringLiteral("SET%1").arg(channel));
}

// Range, low-pass and high-pass filter of the selected channel.
void TakeFilters(SerialLink& link, ChannelSettings& c)
{
    Take(link, "RNG?", c.Range, RangeReply);
    Take(link, "LPF?", c.LowPass, LowPassReply);
    Take(link, "HPF?", c.HighPass, HighPassReply);
}

} // namespace

bool CheckSeaSupport(SerialLink& link, MessageSink& messages)
{
    const int32_t status = link.RSCom(QStringLiteral("VS"));
    if (status > 0)
        return FirmwareSupportsSea(link.ReplyText());
    ReportSensorFault(messages, status, link.ReplyText());
    return false;
}

void DetectChannels(SerialLink& link, LoggerSettings& s)
{
    s.ChannelCount = 0;
    s.LastChannel = 0;
    for (int ch = LoggerSettings::FirstChannel; ch <= LoggerSettings::LastChannelNumber; ++ch) {
        link.RSCom(QStringLiteral("RES"));
        const bool present = link.RSCom(QStringLiteral("SET%1").arg(ch)) > 0;
        s.Channel[ch].Active = present;
        if (present) {
            s.LastChannel = static_cast<int16_t>(ch);
            ++s.ChannelCount;
        }
    }
    link.RSCom(QStringLiteral("RES"));
    if (s.MaxChannel <= 0 || s.MaxChannel < s.LastChannel)
        s.MaxChannel = s.LastChannel;
}

void ReadMainSettings(SerialLink& link, MessageSink& messages, LoggerSettings& s)
{
    if (link.RSCom(QStringLiteral("RES")) == StatusErrorReply) {
        DecodeLoggerError(messages, link.ReplyText());
        return;
    }
    ChannelSettings& load = s.Channel[1];
    Select(link, 1);
    TakeFilters(link, load);

    Take(link, "CLK?", s.SamplingInterval, SamplingIntervalReply);
    Take(link, "MRY?", s.RecordLength, RecordLengthReply);
    const int32_t recordLength = s.RecordLength;
    Take(link, "MRY-?", s.PreTriggerLength,
         [recordLength](const QString& r) { return PreTriggerReply(r, recordLength); });

    std::optional<int16_t> number;
    Take(link, "MNO?", number, MeasNoReply);
    if (number) {
        s.MeasNo = *number;
        load.MeasNo = *number;
    }
    Take(link, "TGL?", load.TriggerLevel, TriggerLevelReply);

    ChannelSettings& acc = s.Channel[2];
    TakeWord(link, AddressPlateDiameter, s.PlateDiameter, PlateDiameterWord);
    TakeWord(link, AddressPoissonRatio, s.PoissonRatio, PoissonRatioWord);
    TakeWord(link, AddressLoadCapacity, load.Capacity, LoadCapacityWord);
    TakeWord(link, AddressSensorCapacity, acc.Capacity, TenthsWord);
    TakeWord(link, AddressLoadRatedOutput, load.RatedOutput, TenthsWord);
    TakeWord(link, AddressSensorRatedOutput, acc.RatedOutput, TenthsWord);
    const int16_t highest = s.MaxChannel;
    TakeWord(link, AddressTriggerChannel, s.TriggerChannel,
             [highest](const QString& r) { return TriggerChannelWord(r, highest); });

    if (CheckSeaSupport(link, messages)) {
        const int32_t status = link.RSCom(QStringLiteral("SEA?"));
        if (status < 1) {
            ReportSensorFault(messages, status, link.ReplyText());
            return;
        }
        if (const auto type = CalcTypeReply(link.ReplyText()))
            s.CalcType = *type;
    } else {
        s.CalcType = 1;
    }

    link.RSCom(QStringLiteral("RES"));
    Select(link, 2);
    TakeFilters(link, acc);
    Take(link, "TGL?", acc.TriggerLevel, TriggerLevelReply);
    link.RSCom(QStringLiteral("RES"));
}

void ReadChannelSettings(SerialLink& link, MessageSink& messages, LoggerSettings& s, int channel)
{
    if (channel < 3 || channel > LoggerSettings::LastChannelNumber)
        return;
    if (link.RSCom(QStringLiteral("RES")) == StatusErrorReply) {
        DecodeLoggerError(messages, link.ReplyText());
        return;
    }
    ChannelSettings& c = s.Channel[channel];
    Select(link, channel);
    TakeFilters(link, c);
    Take(link, "MNO?", c.MeasNo, MeasNoReply);
    Take(link, "TGL?", c.TriggerLevel, TriggerLevelReply);
    TakeWord(link, AddressSensorCapacity, c.Capacity, TenthsWord);
    TakeWord(link, AddressSensorRatedOutput, c.RatedOutput, TenthsWord);
    link.RSCom(QStringLiteral("RES"));
}

int32_t ReadLoggerSettings(SerialLink& link, MessageSink& messages, LoggerSettings& s)
{
    for (int ch = LoggerSettings::FirstChannel; ch <= LoggerSettings::LastChannelNumber; ++ch) {
        s.Channel[ch].MeasNo = -1;
        s.Channel[ch].Active = false;
    }
    DetectChannels(link, s);
    if (s.ChannelCount == 0 || !s.Channel[1].Active || !s.Channel[2].Active)
        return -1;
    s.MaxChannel = s.LastChannel;

    ReadMainSettings(link, messages, s);
    for (int ch = 3; ch <= s.LastChannel; ++ch) {
        if (s.Channel[ch].Active)
            ReadChannelSettings(link, messages, s, ch);
    }

    // Every channel carries the measurement number of CH1; one that was not read (-1) is
    // never sent.
    const int16_t number = s.Channel[1].MeasNo;
    for (int ch = 3; ch <= LoggerSettings::LastChannelNumber && number >= 0; ++ch) {
        if (s.Channel[ch].Active && s.Channel[ch].MeasNo != number) {
            link.RSCom(QStringLiteral("RES"));
            Select(link, ch);
            link.RSCom(QStringLiteral("MNO%1").arg(number));
        }
    }

    const int last = std::min<int>(s.MaxChannel, LoggerSettings::LastChannelNumber);
    for (int ch = LoggerSettings::FirstChannel; ch <= last; ++ch)
        s.Channel[ch].Coefficient = ReadCoefficient(s.Channel[ch]);
    for (int ch = LoggerSettings::FirstChannel; ch <= last; ++ch)
        s.Channel[ch].UnitCode = UnitCode(ch);
    return 0;
}
