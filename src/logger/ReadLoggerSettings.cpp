#include "ReadLoggerSettings.h"

#include "LoggerErrors.h"
#include "LoggerReplies.h"
#include "serial/SerialLink.h"

#include <algorithm>
#include <optional>

namespace
{

// One read of settings: queries in order, each value taken only from an accepted reply.
// An error reply to the opening "RES" or to any query is shown to the operator and ends
// the read; nothing after it is sent. Set commands in between ignore their status.
class SettingsRead
{
public:
    SettingsRead(SerialLink& link, MessageSink& messages) : m_link(link), m_messages(messages) {}

    void Open() { Check(m_link.RSCom(QStringLiteral("RES"))); }

    void Send(const QString& cmd)
    {
        if (!m_ended)
            m_link.RSCom(cmd);
    }
    void Select(int channel) { Send(QStringLiteral("SET%1").arg(channel)); }

    template <typename T, typename Reader> void Take(const char* cmd, T& target, Reader read)
    {
        if (m_ended)
            return;
        const int32_t status = m_link.RSCom(QString::fromLatin1(cmd));
        if (Check(status) && status > 0) {
            if (const auto value = read(m_link.ReplyText()))
                target = static_cast<T>(*value);
        }
    }

    template <typename T, typename Reader> void TakeWord(int address, T& target, Reader read)
    {
        Send(QStringLiteral("EPA%1").arg(address));
        Take("EPD?", target, read);
    }

    // Range, low-pass and high-pass filter of the selected channel.
    void TakeFilters(ChannelSettings& c)
    {
        Take("RNG?", c.Range, RangeReply);
        Take("LPF?", c.LowPass, LowPassReply);
        Take("HPF?", c.HighPass, HighPassReply);
    }

    // The calculation type, asked only of firmware that knows "SEA?" (Burmister for older
    // firmware). A failed "SEA?" names the sensor unit or the logger and ends the read.
    void TakeCalcType(int16_t& calcType)
    {
        if (m_ended)
            return;
        if (!CheckSeaSupport(m_link, m_messages)) {
            calcType = 1;
            return;
        }
        const int32_t status = m_link.RSCom(QStringLiteral("SEA?"));
        if (status < 1) {
            ReportSensorFault(m_messages, status, m_link.ReplyText());
            m_ended = true;
            return;
        }
        if (const auto type = CalcTypeReply(m_link.ReplyText()))
            calcType = *type;
    }

private:
    // False (the error shown, the read ended) for an error reply.
    bool Check(int32_t status)
    {
        if (status != StatusErrorReply)
            return true;
        DecodeLoggerError(m_messages, m_link.ReplyText());
        m_ended = true;
        return false;
    }

    SerialLink& m_link;
    MessageSink& m_messages;
    bool m_ended = false;
};

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
    SettingsRead read(link, messages);
    ChannelSettings& load = s.Channel[1];
    ChannelSettings& acc = s.Channel[2];
    read.Open();
    read.Select(1);
    read.TakeFilters(load);

    read.Take("CLK?", s.SamplingInterval, SamplingIntervalReply);
    read.Take("MRY?", s.RecordLength, RecordLengthReply);
    const int32_t recordLength = s.RecordLength;
    read.Take("MRY-?", s.PreTriggerLength,
              [recordLength](const QString& r) { return PreTriggerReply(r, recordLength); });

    std::optional<int16_t> number;
    read.Take("MNO?", number, MeasNoReply);
    if (number) {
        s.MeasNo = *number;
        load.MeasNo = *number;
    }
    read.Take("TGL?", load.TriggerLevel, TriggerLevelReply);

    read.TakeWord(AddressPlateDiameter, s.PlateDiameter, PlateDiameterWord);
    read.TakeWord(AddressPoissonRatio, s.PoissonRatio, PoissonRatioWord);
    read.TakeWord(AddressLoadCapacity, load.Capacity, LoadCapacityWord);
    read.TakeWord(AddressSensorCapacity, acc.Capacity, TenthsWord);
    read.TakeWord(AddressLoadRatedOutput, load.RatedOutput, TenthsWord);
    read.TakeWord(AddressSensorRatedOutput, acc.RatedOutput, TenthsWord);
    const int16_t highest = s.MaxChannel;
    read.TakeWord(AddressTriggerChannel, s.TriggerChannel,
                  [highest](const QString& r) { return TriggerChannelWord(r, highest); });

    read.TakeCalcType(s.CalcType);

    read.Send(QStringLiteral("RES"));
    read.Select(2);
    read.TakeFilters(acc);
    read.Take("TGL?", acc.TriggerLevel, TriggerLevelReply);
    read.Send(QStringLiteral("RES"));
}

void ReadChannelSettings(SerialLink& link, MessageSink& messages, LoggerSettings& s, int channel)
{
    if (channel < 3 || channel > LoggerSettings::LastChannelNumber)
        return;
    SettingsRead read(link, messages);
    ChannelSettings& c = s.Channel[channel];
    read.Open();
    read.Select(channel);
    read.TakeFilters(c);
    read.Take("MNO?", c.MeasNo, MeasNoReply);
    read.Take("TGL?", c.TriggerLevel, TriggerLevelReply);
    read.TakeWord(AddressSensorCapacity, c.Capacity, TenthsWord);
    read.TakeWord(AddressSensorRatedOutput, c.RatedOutput, TenthsWord);
    read.Send(QStringLiteral("RES"));
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
            link.RSCom(QStringLiteral("SET%1").arg(ch));
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
