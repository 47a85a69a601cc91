// The logger's words: error replies and sensor faults as messages, the readers of query
// replies with their accepted values and the firmware check.
#include "logger/LoggerErrors.h"
#include "logger/LoggerReplies.h"
#include "record/ResetLoggerSettings.h"
#include "serial/SerialLink.h"

#include <gtest/gtest.h>

namespace
{

TEST(LoggerErrorDecoder, ShowsOneBoxInBothLanguagesForTheFirstSevenCharactersOfAKnownCode)
{
    // The reply as it comes off the line, with its line end.
    const auto m = LoggerErrorMessage(QStringLiteral("ERR-031\r\n"));
    ASSERT_TRUE(m.has_value());
    EXPECT_EQ(QStringList({m->Title.Ja, m->Text.Ja, m->Title.En, m->Text.En}),
              QStringList({QString::fromUtf8("センサー未接続"),
                           QString::fromUtf8("センサーが接続されていません"),
                           "Sensor is not connected!", "Sensor is not connected!"}));
    EXPECT_EQ(m->Buttons, MessageButtons::Ok);
    EXPECT_EQ(m->Icon, MessageIcon::None);
    for (const char* reply :
         {"", "ERR-00", "ERR-013\r\n", "ERR-999", "err-002", " ERR-002", "OK\r\n"})
        EXPECT_FALSE(LoggerErrorMessage(QString::fromLatin1(reply)).has_value()) << reply;
    RecordingMessages sink;
    DecodeLoggerError(sink, QStringLiteral("ERR-004 LPF?\r\n"));
    DecodeLoggerError(sink, QStringLiteral("ERR-077\r\n"));
    ASSERT_EQ(sink.Shown.size(), 1u);
    EXPECT_EQ(sink.Shown[0].Title.En, QStringLiteral("Parameter value is overrange!"));
}

// A reader as a yes or no: did it take the reply.
template <typename T>
std::function<bool(const QString&)> Takes(std::optional<T> (*read)(const QString&))
{
    return [read](const QString& r) { return read(r).has_value(); };
}

// Readings and peak values come one field per selected channel: here CH1, CH2 and CH4.
LoggerSettings ChannelsOneTwoFour()
{
    LoggerSettings s;
    for (int ch : {1, 2, 4})
        s.Channel[ch].Active = true;
    return s;
}

TEST(ReplyReaders, TakeOnlyTheAcceptedValues)
{
    const LoggerSettings s = ChannelsOneTwoFour();
    struct Case {
        const char* Name;
        std::function<bool(const QString&)> Accepts;
        const char* Taken; // replies, "|" between two
        const char* Ignored;
    };
    const Case cases[] = {
        {"RNG?", Takes(RangeReply), "1000|4000|+4000", "2000|0|1000.5|RANGE|"},
        {"LPF?", Takes(LowPassReply), "500|1000|2000|3000|5000", "4000|100|5000x"},
        {"HPF?", Takes(HighPassReply), "0|1", "2|-1|ON"},
        {"CLK?", Takes(SamplingIntervalReply), "50|32000|100", "49|32001|75.5"},
        {"MRY?", Takes(RecordLengthReply), "1|16384", "0|16385|-3"},
        {"TGL?", Takes(TriggerLevelReply), "0|32767|100.4", "32768|-1|TGL"},
        {"EPD? 47", Takes(PlateDiameterWord), "1|300|1000", "0|1001|30.5"},
        {"EPD? 48", Takes(PoissonRatioWord), "1|350|999", "0|1000|-350"},
        {"EPD? 51", Takes(LoadCapacityWord), "5000|1", "0|-1"},
        {"EPD? 52-54", Takes(TenthsWord), "10000|1", "0|-20"},
        {"MRY-? of 1000", [](const QString& r) { return PreTriggerReply(r, 1000).has_value(); },
         "999|0", "1000"},
        {"MNO?", Takes(MeasNoReply), "-5|32767", "32768|12,13"},
        {"EPD? 57 of 4 channels",
         [](const QString& r) { return TriggerChannelWord(r, 4).has_value(); }, "4|1", "5|0"},
        {"SEA?", Takes(CalcTypeReply), "1|2|0", "SEA"},
        {"MDT: CH4's reading",
         [&s](const QString& r) { return ReadingsReply(r, s).Channel[4].Raw.has_value(); },
         "1,2,3|+000010,abc,-000030", "1,2|1,2,abc|1,2,1e999"},
        {"ANS?", [&s](const QString& r) { return PeakValuesReply(r, s).has_value(); },
         "30000,1000,250|30000|x,5", "abc,def|,|1e999|ERR-001"},
    };
    for (const Case& c : cases) {
        for (const QString& r : QString(c.Taken).split('|'))
            EXPECT_TRUE(c.Accepts(r + "\r\n")) << c.Name << " " << r.toStdString();
        for (const QString& r : QString(c.Ignored).split('|'))
            EXPECT_FALSE(c.Accepts(r + "\r\n")) << c.Name << " " << r.toStdString();
    }
}

TEST(ReplyReaders, ConvertTheirWordsIntoTheirUnits)
{
    EXPECT_DOUBLE_EQ(*PoissonRatioWord("350\r\n"), 0.35);
    EXPECT_DOUBLE_EQ(*LoadCapacityWord("5000\r\n"), 50.0);
    EXPECT_DOUBLE_EQ(*TenthsWord("15934\r\n"), 1593.4);
    EXPECT_EQ(*PlateDiameterWord("300\r\n"), 300);
    EXPECT_EQ(*MeasNoReply("-5\r\n"), 0);
    EXPECT_EQ(*CalcTypeReply("0\r\n"), 2); // Burmister only for 1
    EXPECT_EQ(*CalcTypeReply("1\r\n"), 1);
    // Each field to its own channel, CH3 left out; displacements from micrometres into mm.
    const LoggerSettings s = ChannelsOneTwoFour();
    EXPECT_EQ(PeakValuesReply("30000,1000,250\r\n", s),
              PeakValues({-1, 30000, 1.0, -1, 0.25, -1, -1}));
    EXPECT_EQ(ReadingsReply("+000010,abc,-000030\r\n", s).Channel[4].Raw, -30.0);
    // The reset's own coefficient: capacity over rated output, by 10 on range 4000 and by 5 on
    // any other; 1.0 without a rated output.
    const struct {
        double Capacity, Rated;
        int32_t Range;
        double Coefficient;
    } resets[] = {{20, 1060, 1000, 20.0 / 1060 / 5},
                  {1000, 1600, 4000, 1000.0 / 1600 / 10},
                  {1000, 0, 4000, 1.0}};
    for (const auto& r : resets) {
        ChannelSettings channel;
        std::tie(channel.Capacity, channel.RatedOutput, channel.Range) =
            std::tuple(r.Capacity, r.Rated, r.Range);
        EXPECT_DOUBLE_EQ(ResetCoefficient(channel), r.Coefficient) << r.Range;
    }
}

} // namespace
