#include "ResetLoggerSettings.h"

namespace
{

constexpr std::array<double, 7> StartRatedOutput{0.0,    1060.0, 1593.4, 1615.0,
                                                 1593.0, 1626.0, 1569.0};
constexpr std::array<double, 7> StartTriggerLevel{0.0, 100, 200, 300, 400, 500, 600};

} // namespace

double ResetCoefficient(const ChannelSettings& channel)
{
    if (channel.RatedOutput == 0.0)
        return 1.0;
    const double ratio = channel.Capacity / channel.RatedOutput;
    return channel.Range == 4000 ? ratio / 10.0 : ratio / 5.0;
}

void ResetLoggerSettings(LoggerSettings& s, const QDateTime& now)
{
    s.MeasTime = now;
    s.TestDate = s.MeasTime;

    s.Comment = QString(CommentLength, QLatin1Char(' '));
    s.Place = QString(PlaceLength, QLatin1Char(' '));
    s.OperatorName = QString(OperatorNameLength, QLatin1Char(' '));

    s.PlateDiameter = 90;
    s.DropHeight = 200;
    s.WeightMass = 5;
    s.MeasNo = 0;
    s.PoissonRatio = 0.3;

    for (int ch = LoggerSettings::FirstChannel; ch <= LoggerSettings::LastChannelNumber; ++ch) {
        ChannelSettings& c = s.Channel[ch];
        c.SensorType = 2;
        c.Capacity = 1000.0;
        c.UnitCode = 2;
        c.RatedOutput = 1000.0;
        c.Range = 1000;
        c.LowPass = 5000;
        c.HighPass = 1;
        c.Coefficient = 1.0;
    }
    ChannelSettings& load = s.Channel[1];
    load.UnitCode = 1;
    load.HighPass = 0;
    load.SensorType = 1;
    load.Capacity = 20.0;
    for (int ch = LoggerSettings::FirstChannel; ch <= LoggerSettings::LastChannelNumber; ++ch)
        s.Channel[ch].RatedOutput = StartRatedOutput[ch];

    for (int ch = LoggerSettings::FirstChannel; ch <= LoggerSettings::LastChannelNumber; ++ch)
        s.Channel[ch].Coefficient = ResetCoefficient(s.Channel[ch]);

    s.SamplingInterval = 50;
    s.RecordLength = 800;
    s.PreTriggerLength = 400;
    s.TriggerChannel = 1;
    for (int ch = LoggerSettings::FirstChannel; ch <= LoggerSettings::LastChannelNumber; ++ch)
        s.Channel[ch].TriggerLevel = StartTriggerLevel[ch];
}
