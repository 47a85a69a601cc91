// The start values of a test day, and the reset's own coefficient rule.
#include "logger/LoggerReplies.h"
#include "logger/ResetLoggerSettings.h"

#include <gtest/gtest.h>

namespace
{

const QDateTime Morning(QDate(2024, 5, 1), QTime(8, 30, 15));

TEST(SettingsReset, GivesTheTestConditionsTheirStartValues)
{
    LoggerSettings s;
    s.Comment = "yesterday";
    s.PlateDiameter = 300;
    s.PoissonRatio = 0.35;
    s.MeasNo = 77;
    ResetLoggerSettings(s, Morning);
    EXPECT_EQ(s.TestDate, Morning);
    EXPECT_EQ(s.MeasTime, Morning);
    EXPECT_EQ(s.Comment, QString(128, ' '));
    EXPECT_EQ(s.Place, QString(40, ' '));
    EXPECT_EQ(s.OperatorName, QString(20, ' '));
    EXPECT_EQ(s.PlateDiameter, 90);
    EXPECT_EQ(s.DropHeight, 200);
    EXPECT_EQ(s.WeightMass, 5);
    EXPECT_EQ(s.MeasNo, 0);
    EXPECT_DOUBLE_EQ(s.PoissonRatio, 0.3);
    EXPECT_EQ(s.SamplingInterval, 50);
    EXPECT_EQ(s.RecordLength, 800);
    EXPECT_EQ(s.PreTriggerLength, 400);
    EXPECT_EQ(s.TriggerChannel, 1);
}

TEST(SettingsReset, GivesEveryChannelItsStartValues)
{
    struct Row {
        int SensorType, UnitCode;
        double Capacity, RatedOutput;
        int HighPass;
        double TriggerLevel;
    };
    const Row rows[7] = {{},
                         {1, 1, 20.0, 1060.0, 0, 100},
                         {2, 2, 1000.0, 1593.4, 1, 200},
                         {2, 2, 1000.0, 1615.0, 1, 300},
                         {2, 2, 1000.0, 1593.0, 1, 400},
                         {2, 2, 1000.0, 1626.0, 1, 500},
                         {2, 2, 1000.0, 1569.0, 1, 600}};
    LoggerSettings s;
    ResetLoggerSettings(s, Morning);
    for (int ch = 1; ch <= 6; ++ch) {
        const ChannelSettings& c = s.Channel[ch];
        EXPECT_EQ(c.SensorType, rows[ch].SensorType) << ch;
        EXPECT_EQ(c.UnitCode, rows[ch].UnitCode) << ch;
        EXPECT_DOUBLE_EQ(c.Capacity, rows[ch].Capacity) << ch;
        EXPECT_DOUBLE_EQ(c.RatedOutput, rows[ch].RatedOutput) << ch;
        EXPECT_EQ(c.Range, 1000) << ch;
        EXPECT_EQ(c.LowPass, 5000) << ch;
        EXPECT_EQ(c.HighPass, rows[ch].HighPass) << ch;
        EXPECT_DOUBLE_EQ(c.TriggerLevel, rows[ch].TriggerLevel) << ch;
        // Every start range is 1000, so the reset divides by 5.
        EXPECT_DOUBLE_EQ(c.Coefficient, rows[ch].Capacity / rows[ch].RatedOutput / 5.0) << ch;
    }
    EXPECT_DOUBLE_EQ(s.Channel[1].Coefficient, 20.0 / 1060.0 / 5.0);
}

TEST(SettingsReset, KeepsTheCalculationTypeAndTheChannelsFound)
{
    LoggerSettings s;
    s.CalcType = 2;
    s.Channel[4].Active = true;
    s.Channel[3].Active = false;
    ResetLoggerSettings(s, Morning);
    EXPECT_EQ(s.CalcType, 2);
    EXPECT_TRUE(s.Channel[4].Active);
    EXPECT_FALSE(s.Channel[3].Active);
}

TEST(SettingsReset, ItsCoefficientRuleDiffersFromTheReadRule)
{
    ChannelSettings c;
    c.Capacity = 50;
    c.RatedOutput = 2.0;
    c.Range = 4000;
    EXPECT_DOUBLE_EQ(ResetCoefficient(c), 2.5);
    EXPECT_DOUBLE_EQ(ReadCoefficient(c), 5.0);
    c.Range = 1000;
    EXPECT_DOUBLE_EQ(ResetCoefficient(c), 5.0);
    EXPECT_DOUBLE_EQ(ReadCoefficient(c), 2.5);
    c.RatedOutput = 0.0;
    EXPECT_DOUBLE_EQ(ResetCoefficient(c), 1.0);
}

} // namespace
