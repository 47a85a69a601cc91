#include "LoggerReplies.h"

#include "shell/Formatting.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{

constexpr double MicrometresPerMillimetre = 1000.0;

// A whole number within [low, high].
std::optional<int32_t> WholeIn(const QString& replyText, double low, double high)
{
    const std::optional<double> v = NumericReply(replyText);
    if (!v || *v != std::floor(*v) || *v < low || *v > high)
        return std::nullopt;
    return static_cast<int32_t>(*v);
}

std::optional<int32_t> OneOf(const QString& replyText, std::initializer_list<int32_t> accepted)
{
    const std::optional<int32_t> v = WholeIn(replyText, std::numeric_limits<int32_t>::min(),
                                             std::numeric_limits<int32_t>::max());
    if (!v)
        return std::nullopt;
    for (int32_t a : accepted) {
        if (*v == a)
            return v;
    }
    return std::nullopt;
}

std::optional<double> ScaledAboveZero(const QString& replyText, double factor)
{
    const std::optional<double> v = NumericReply(replyText);
    if (!v || *v * factor <= 0.0)
        return std::nullopt;
    return *v * factor;
}

} // namespace

QString ReplyLine(const QString& replyText)
{
    // A stray byte the line picked up before the reply, or after its line end, is noise
    // around the text, never part of it (noise inside it still spoils it).
    auto noise = [](QChar c) { return c.unicode() < 0x20 || c.unicode() > 0x7E; };
    auto lineEnd = [](QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); };
    qsizetype begin = 0;
    while (begin < replyText.size() && noise(replyText.at(begin)) && !lineEnd(replyText.at(begin)))
        ++begin;
    qsizetype end = begin;
    while (end < replyText.size() && !lineEnd(replyText.at(end)))
        ++end;
    while (end > begin && noise(replyText.at(end - 1)))
        --end;
    return replyText.mid(begin, end - begin);
}

std::optional<double> NumericReply(const QString& replyText)
{
    const QString text = ReplyLine(replyText);
    double value = 0.0;
    if (!ParseNumber(text, &value))
        return std::nullopt;
    return value;
}

bool LeadingFieldValue(const QString& reply, double* value)
{
    const QString text = ReplyLine(reply);
    const int comma = text.indexOf(QLatin1Char(','));
    return ParseNumber(comma < 0 ? text : text.left(comma), value);
}

std::optional<int32_t> RangeReply(const QString& r)
{
    return OneOf(r, {1000, 4000});
}
std::optional<int32_t> LowPassReply(const QString& r)
{
    return OneOf(r, {500, 1000, 2000, 3000, 5000});
}
std::optional<int32_t> HighPassReply(const QString& r)
{
    return OneOf(r, {0, 1});
}
std::optional<int32_t> SamplingIntervalReply(const QString& r)
{
    return WholeIn(r, 50, 32000);
}
std::optional<int32_t> RecordLengthReply(const QString& r)
{
    return WholeIn(r, 1, 16384);
}

std::optional<int32_t> PreTriggerReply(const QString& r, int32_t recordLength)
{
    return WholeIn(r, 0, double(recordLength) - 1);
}

std::optional<int16_t> MeasNoReply(const QString& r)
{
    const std::optional<int32_t> v = WholeIn(r, -32768, 32767);
    if (!v)
        return std::nullopt;
    return static_cast<int16_t>(*v < 0 ? 0 : *v);
}

std::optional<double> TriggerLevelReply(const QString& r)
{
    const std::optional<double> v = NumericReply(r);
    if (!v || *v < 0 || *v > 32767)
        return std::nullopt;
    return v;
}

std::optional<int16_t> CalcTypeReply(const QString& r)
{
    const std::optional<double> v = NumericReply(r);
    if (!v)
        return std::nullopt;
    return static_cast<int16_t>(*v == 1.0 ? 1 : 2);
}

std::optional<int32_t> PlateDiameterWord(const QString& r)
{
    return WholeIn(r, 1, 1000);
}

std::optional<double> PoissonRatioWord(const QString& r)
{
    const std::optional<double> v = NumericReply(r);
    if (!v)
        return std::nullopt;
    const double ratio = *v / 1000.0;
    if (ratio <= 0.0 || ratio >= 1.0)
        return std::nullopt;
    return ratio;
}

std::optional<double> LoadCapacityWord(const QString& r)
{
    return ScaledAboveZero(r, 0.01);
}
std::optional<double> TenthsWord(const QString& r)
{
    return ScaledAboveZero(r, 0.1);
}

std::optional<int32_t> TriggerChannelWord(const QString& r, int16_t highestChannel)
{
    return WholeIn(r, 1, highestChannel);
}

bool FirmwareSupportsSea(const QString& versionReply)
{
    // Characters 16 to 18 (1-based) and 19.
    const QString version = versionReply.mid(15, 3);
    double number = 0.0;
    if (version.size() < 3 || !ParseNumber(version, &number))
        return false;
    if (number > 2.0)
        return true;
    if (number < 2.0)
        return false;
    const QChar revision = versionReply.size() > 18 ? versionReply.at(18) : QChar();
    return revision.unicode() >= u'E';
}

LiveReadings ReadingsReply(const QString& replyText, const LoggerSettings& settings)
{
    const QStringList fields = ReplyLine(replyText).split(QLatin1Char(','));
    LiveReadings readings;
    readings.Fields = int(fields.size());
    int next = 0;
    for (int ch = LoggerSettings::FirstChannel;
         ch <= LoggerSettings::LastChannelNumber && next < fields.size(); ++ch) {
        if (!settings.Channel[ch].Active)
            continue;
        ChannelReading& reading = readings.Channel[ch];
        reading.InReply = true;
        double v = 0.0;
        if (ParseNumber(fields.at(next++), &v))
            reading.Raw = v;
    }
    return readings;
}

std::optional<PeakValues> PeakValuesReply(const QString& replyText, const LoggerSettings& settings)
{
    const QStringList fields = ReplyLine(replyText).split(QLatin1Char(','));
    // Storing a reply without a number would put a row of undefined values into the day's
    // record as if the drop had been measured.
    if (std::none_of(fields.begin(), fields.end(),
                     [](const QString& field) { return ParseNumber(field, nullptr); }))
        return std::nullopt;
    PeakValues peaks;
    peaks.fill(-1.0);
    double v = 0.0;
    if (ParseNumber(fields.at(0), &v))
        peaks[1] = v; // the load comes first whichever channels are selected
    int next = 1;
    for (int ch = 2; ch <= LoggerSettings::LastChannelNumber && next < fields.size(); ++ch) {
        if (!settings.Channel[ch].Active)
            continue;
        if (ParseNumber(fields.at(next), &v))
            peaks[ch] = v / MicrometresPerMillimetre;
        ++next;
    }
    return peaks;
}

double ReadCoefficient(const ChannelSettings& channel)
{
    if (channel.RatedOutput == 0.0)
        return 1.0;
    const double ratio = channel.Capacity / channel.RatedOutput;
    return channel.Range == 4000 ? ratio / 5.0 : ratio / 10.0;
}

int32_t UnitCode(int channel)
{
    return channel == 1 ? 1 : 2;
}
