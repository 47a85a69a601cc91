// Reading the logger's settings: channel detection, the order of the queries, which
// replies are taken, and the error paths.
#include "FakeLogger.h"
#include "ScriptedLink.h"
#include "logger/ReadLoggerSettings.h"
#include "logger/ResetLoggerSettings.h"
#include "shell/MessageSink.h"

#include <gtest/gtest.h>

namespace
{

class SettingsRead : public testing::Test
{
protected:
    void SetUp() override
    {
        ResetLoggerSettings(settings, QDateTime(QDate(2024, 5, 1), QTime(9, 0)));
        link.Otherwise = [this](const QString& cmd) { return logger(cmd); };
        for (int ch = 1; ch <= 6; ++ch) {
            logger.PerChannel[ch] = {{"RNG?", "1000"},
                                     {"LPF?", "3000"},
                                     {"HPF?", "1"},
                                     {"MNO?", "12"},
                                     {"TGL?", QString::number(100 * ch + 5)}};
        }
        logger.Wide = {{"CLK?", "100"},
                       {"MRY?", "2000"},
                       {"MRY-?", "500"},
                       {"VS", "QL-860H FW Ver 2.1A"},
                       {"SEA?", "2"}};
        logger.Words = {{47, "300"}, {48, "350"},   {51, "5000"}, {52, "10000"},
                        {53, "20"},  {54, "15934"}, {57, "2"}};
    }

    // A fresh logger, line and message box for the next case of a table.
    void Fresh()
    {
        logger = FakeLogger();
        link.Sent.clear();
        messages.Shown.clear();
        settings = LoggerSettings();
        SetUp();
    }
    int32_t Read() { return ReadLoggerSettings(link, messages, settings); }
    std::vector<QString> SentFrom(size_t first) const
    {
        return std::vector<QString>(link.Sent.begin() + long(first), link.Sent.end());
    }

    FakeLogger logger;
    ScriptedLink link;
    RecordingMessages messages;
    LoggerSettings settings;
};

const std::vector<QString> Detection = {"RES",  "SET1", "RES",  "SET2", "RES",  "SET3", "RES",
                                        "SET4", "RES",  "SET5", "RES",  "SET6", "RES"};
const std::vector<QString> MainRead = {
    "RES",   "SET1",  "RNG?", "LPF?",  "HPF?", "CLK?",  "MRY?", "MRY-?", "MNO?", "TGL?",  "EPA47",
    "EPD?",  "EPA48", "EPD?", "EPA51", "EPD?", "EPA52", "EPD?", "EPA53", "EPD?", "EPA54", "EPD?",
    "EPA57", "EPD?",  "VS",   "SEA?",  "RES",  "SET2",  "RNG?", "LPF?",  "HPF?", "TGL?",  "RES"};

std::vector<QString> Joined(std::initializer_list<std::vector<QString>> parts)
{
    std::vector<QString> all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

TEST_F(SettingsRead, LoggerWithChannelsOneTwoAndFourIsReadInOrder)
{
    logger.Present = {1, 2, 4};
    logger.PerChannel[4]["MNO?"] = "3";
    logger.Words[57] = "4";
    ASSERT_EQ(Read(), 0);

    EXPECT_EQ(settings.ChannelCount, 3);
    EXPECT_EQ(settings.LastChannel, 4);
    EXPECT_EQ(settings.MaxChannel, 4);
    EXPECT_FALSE(settings.Channel[3].Active);
    EXPECT_TRUE(settings.Channel[4].Active);
    EXPECT_EQ(settings.TriggerChannel, 4);

    // CH4 is read with the addresses of CH2, then given CH1's measurement number.
    const std::vector<QString> ch4 = {"RES",  "SET4",  "RNG?", "LPF?",  "HPF?", "MNO?",
                                      "TGL?", "EPA52", "EPD?", "EPA54", "EPD?", "RES"};
    const std::vector<QString> align = {"RES", "SET4", "MNO12"};
    EXPECT_EQ(link.Sent, Joined({Detection, MainRead, ch4, align}));
    EXPECT_DOUBLE_EQ(settings.Channel[4].Capacity, 1000.0);
    EXPECT_DOUBLE_EQ(settings.Channel[4].RatedOutput, 1593.4);
    EXPECT_EQ(settings.Channel[4].TriggerLevel, 405);
    EXPECT_TRUE(messages.Shown.empty());
}

TEST_F(SettingsRead, TakesEveryAcceptedValue)
{
    ASSERT_EQ(Read(), 0);
    const LoggerSettings& s = settings;
    EXPECT_EQ(s.Channel[1].Range, 1000);
    EXPECT_EQ(s.Channel[1].LowPass, 3000);
    EXPECT_EQ(s.Channel[1].HighPass, 1);
    EXPECT_EQ(s.SamplingInterval, 100);
    EXPECT_EQ(s.RecordLength, 2000);
    EXPECT_EQ(s.PreTriggerLength, 500);
    EXPECT_EQ(s.MeasNo, 12);
    EXPECT_EQ(s.Channel[1].MeasNo, 12);
    EXPECT_EQ(s.Channel[1].TriggerLevel, 105);
    EXPECT_EQ(s.Channel[2].TriggerLevel, 205);
    EXPECT_EQ(s.PlateDiameter, 300);
    EXPECT_DOUBLE_EQ(s.PoissonRatio, 0.35);
    EXPECT_DOUBLE_EQ(s.Channel[1].Capacity, 50.0);
    EXPECT_DOUBLE_EQ(s.Channel[1].RatedOutput, 2.0);
    EXPECT_DOUBLE_EQ(s.Channel[2].Capacity, 1000.0);
    EXPECT_DOUBLE_EQ(s.Channel[2].RatedOutput, 1593.4);
    EXPECT_EQ(s.TriggerChannel, 2);
    EXPECT_EQ(s.CalcType, 2);
    // Capacity 50, rated output 2.0, range 1000: 50 / 2 / 10.
    EXPECT_DOUBLE_EQ(s.Channel[1].Coefficient, 2.5);
    EXPECT_DOUBLE_EQ(s.Channel[2].Coefficient, 1000.0 / 1593.4 / 10.0);
    EXPECT_EQ(s.Channel[1].UnitCode, 1);
    EXPECT_EQ(s.Channel[2].UnitCode, 2);
}

TEST_F(SettingsRead, IgnoresRepliesOutsideTheAcceptedValues)
{
    struct Case {
        std::function<void(FakeLogger&)> Answer;
        std::function<bool(const LoggerSettings&)> KeptOrTaken;
        const char* What;
    };
    const std::vector<Case> cases = {
        {[](FakeLogger& l) { l.PerChannel[1]["RNG?"] = "2000"; },
         [](const LoggerSettings& s) { return s.Channel[1].Range == 1000; }, "RNG? 2000 ignored"},
        {[](FakeLogger& l) { l.PerChannel[1]["RNG?"] = "4000"; },
         [](const LoggerSettings& s) {
             return s.Channel[1].Range == 4000 && s.Channel[1].Coefficient == 50.0 / 2.0 / 5.0;
         },
         "RNG? 4000 taken, coefficient divided by 5"},
        {[](FakeLogger& l) { l.Wide["MRY?"] = "1000", l.Wide["MRY-?"] = "1000"; },
         [](const LoggerSettings& s) {
             return s.RecordLength == 1000 && s.PreTriggerLength == 400;
         },
         "MRY-? equal to the record length ignored"},
        {[](FakeLogger& l) { l.Wide["MRY?"] = "1000", l.Wide["MRY-?"] = "999"; },
         [](const LoggerSettings& s) { return s.PreTriggerLength == 999; }, "MRY-? 999 taken"},
        {[](FakeLogger& l) { l.PerChannel[1]["MNO?"] = "-5"; },
         [](const LoggerSettings& s) { return s.MeasNo == 0 && s.Channel[1].MeasNo == 0; },
         "MNO? -5 read as 0"},
        {[](FakeLogger& l) { l.Words[57] = "3"; },
         [](const LoggerSettings& s) { return s.TriggerChannel == 1; },
         "trigger channel beyond the channels found ignored"},
    };
    for (const Case& c : cases) {
        Fresh();
        c.Answer(logger);
        ASSERT_EQ(Read(), 0) << c.What;
        EXPECT_TRUE(c.KeptOrTaken(settings)) << c.What;
        EXPECT_TRUE(messages.Shown.empty()) << c.What;
    }
}

TEST_F(SettingsRead, ErrorToTheFirstResShowsItAndReadsNoMainSetting)
{
    logger.Present = {1, 2, 4};
    logger.Nth["RES"][8] = "ERR-002"; // seven during detection, then the main read's
    ASSERT_EQ(Read(), 0);

    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Title.En, QStringLiteral("Command ERROR!"));
    EXPECT_EQ(messages.Shown[0].Text.En, QStringLiteral("The command is ignored!"));
    EXPECT_EQ(messages.Shown[0].Title.Ja, QString::fromUtf8("コマンドエラー"));

    // Nothing of CH1, CH2 and the logger-wide settings was asked; CH4 still was.
    const std::vector<QString> afterDetection = SentFrom(Detection.size());
    ASSERT_FALSE(afterDetection.empty());
    EXPECT_EQ(afterDetection.front(), QStringLiteral("RES"));
    EXPECT_EQ(std::vector<QString>(afterDetection.begin() + 1, afterDetection.begin() + 3),
              (std::vector<QString>{"RES", "SET4"}));
    EXPECT_EQ(logger.Count("CLK?"), 0);
    EXPECT_EQ(logger.Count("VS"), 0);
    EXPECT_EQ(settings.PlateDiameter, 90);
    EXPECT_EQ(settings.Channel[1].MeasNo, -1);
    // CH1's number was never read: nothing is sent to align the others with it.
    EXPECT_EQ(logger.Count("MNO-1"), 0);
    EXPECT_EQ(logger.Count("MNO12"), 0);
    // The coefficients still follow the read rule on what is held.
    EXPECT_DOUBLE_EQ(settings.Channel[1].Coefficient, 20.0 / 1060.0 / 10.0);
}

TEST_F(SettingsRead, ErrorToAQueryShowsItsMessageAndEndsThatRead)
{
    logger.PerChannel[1]["LPF?"] = "ERR-004";
    ASSERT_EQ(Read(), 0);
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Title.En, QStringLiteral("Parameter value is overrange!"));
    EXPECT_EQ(messages.Shown[0].Text.Ja,
              QString::fromUtf8("パラメータ値の範囲をオーバーしています"));
    EXPECT_EQ(link.Sent.back(), QStringLiteral("LPF?"));
    EXPECT_EQ(settings.Channel[1].LowPass, 5000);
}

TEST_F(SettingsRead, NoReplyToTheFirstResDoesNotStopTheRead)
{
    logger.Nth["RES"][8] = QString(); // times out
    ASSERT_EQ(Read(), 0);
    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_EQ(settings.PlateDiameter, 300);
}

TEST_F(SettingsRead, MissingSensorUnitOnSeaShowsItAndLeavesChannelTwoUnread)
{
    logger.Wide["SEA?"] = "ERR-031";
    logger.PerChannel[2]["RNG?"] = "4000";
    ASSERT_EQ(Read(), 0);
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Title.En, QStringLiteral("No PWS-500"));
    EXPECT_EQ(messages.Shown[0].Icon, MessageIcon::Exclamation);
    EXPECT_EQ(link.Sent.back(), QStringLiteral("SEA?"));
    EXPECT_EQ(settings.Channel[2].Range, 1000);
}

TEST_F(SettingsRead, SilentVersionQueryNamesTheLoggerAndCountsAsBurmister)
{
    logger.Wide["VS"] = QString();
    settings.CalcType = 2;
    ASSERT_EQ(Read(), 0);
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Text.En, QStringLiteral("QL-860H is not connected!"));
    EXPECT_EQ(logger.Count("SEA?"), 0);
    EXPECT_EQ(settings.CalcType, 1);
    EXPECT_EQ(settings.Channel[2].LowPass, 3000); // CH2 is still read
}

TEST_F(SettingsRead, OlderFirmwareIsNotAskedForTheCalculationType)
{
    struct Case {
        const char* Version;
        int SeaAsked;
        int16_t CalcType;
    };
    for (const Case c : {Case{"QL-860H FW Ver 2.0D", 0, 1}, Case{"QL-860H FW Ver 2.0E", 1, 2},
                         Case{"QL-860H FW Ver 2.1A", 1, 2}}) {
        Fresh();
        logger.Wide["VS"] = c.Version;
        ASSERT_EQ(Read(), 0);
        EXPECT_EQ(logger.Count("SEA?"), c.SeaAsked) << c.Version;
        EXPECT_EQ(settings.CalcType, c.CalcType) << c.Version;
    }
}

TEST_F(SettingsRead, UnusableChannelSetsReturnAtOnce)
{
    for (const std::set<int>& present : {std::set<int>{1}, std::set<int>{2, 3}, std::set<int>{}}) {
        Fresh();
        logger.Present = present;
        EXPECT_EQ(Read(), -1);
        EXPECT_EQ(link.Sent, Detection);
        EXPECT_EQ(settings.PlateDiameter, 90);
        EXPECT_TRUE(messages.Shown.empty());
    }
}

TEST_F(SettingsRead, EqualMeasurementNumbersAreNotSentAgain)
{
    logger.Present = {1, 2, 3, 5};
    logger.PerChannel[5]["MNO?"] = "-2"; // read as 0, differs
    ASSERT_EQ(Read(), 0);
    EXPECT_EQ(settings.Channel[3].MeasNo, 12);
    EXPECT_EQ(settings.Channel[5].MeasNo, 0);
    const std::vector<QString> tail(link.Sent.end() - 3, link.Sent.end());
    EXPECT_EQ(tail, (std::vector<QString>{"RES", "SET5", "MNO12"}));
    EXPECT_EQ(logger.Count("MNO12"), 1);
    EXPECT_EQ(settings.Channel[5].UnitCode, 2);
    EXPECT_EQ(settings.MaxChannel, 5);
}

TEST_F(SettingsRead, DetectionRaisesButNeverLowersTheHighestChannelInUse)
{
    logger.Present = {1, 2};
    settings.MaxChannel = 6;
    DetectChannels(link, settings);
    EXPECT_EQ(settings.LastChannel, 2);
    EXPECT_EQ(settings.MaxChannel, 6);
    settings.MaxChannel = 0;
    DetectChannels(link, settings);
    EXPECT_EQ(settings.MaxChannel, 2);
    // The full read then narrows it to the channels found.
    settings.MaxChannel = 6;
    ASSERT_EQ(Read(), 0);
    EXPECT_EQ(settings.MaxChannel, 2);
}

} // namespace
