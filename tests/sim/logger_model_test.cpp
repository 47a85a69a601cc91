// The logger model alone: (command, time) in, reply bytes out, with a clock the test
// holds in its hand.
#include "LoggerModel.h"
#include "results/ResultComputation.h"

#include <QString>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <set>

using vxsim::LoggerModel;
using vxsim::Micros;
using vxsim::SimConfig;

namespace
{

constexpr Micros Ms = 1000;

SimConfig Channels(std::initializer_list<int> present)
{
    SimConfig config;
    for (int c = 1; c <= 6; ++c)
        config.Channels[c].Present = false;
    for (int c : present)
        config.Channels[c].Present = true;
    return config;
}

// Sends commands in turn at `now` and gives the last reply without its line end.
std::string Ask(LoggerModel& logger, const std::vector<std::string>& commands, Micros now = 0)
{
    std::string reply;
    for (const std::string& c : commands)
        reply = logger.Handle(c, now);
    if (reply.size() >= 2 && reply.compare(reply.size() - 2, 2, "\r\n") == 0)
        reply.resize(reply.size() - 2);
    return reply;
}

QStringList Fields(const std::string& reply)
{
    return QString::fromStdString(reply).split(',');
}

// What the program makes of the peaks: its own E after Burmister or Boussinesq.
double ModulusFromPeaks(double loadN, double displacementMm, int plate, double nu, bool burmister)
{
    return CalcE(loadN, displacementMm, plate, nu, burmister ? 1 : 2);
}

// The sequence of one drop up to the recording's end; returns the ANS? reply.
std::string MeasureDrop(LoggerModel& logger, Micros& now)
{
    Ask(logger, {"RES", "SET1", "SET2", "TRM21", "BAL", "DTG"}, now);
    now += 100 * Ms;
    logger.Drop(now);
    now += 100 * Ms;
    return Ask(logger, {"EXE0", "EOC", "ANS0", "ANS?"}, now);
}

} // namespace

// ---- channel selection -----------------------------------------------------------------

TEST(ChannelSelection, OnlyFittedChannelsCanBeSelectedAndDataCommandsAnswerThemInOrder)
{
    LoggerModel logger(Channels({1, 2, 4}));
    EXPECT_EQ(Ask(logger, {"RES"}), "OK");
    EXPECT_EQ(Ask(logger, {"SET4"}), "OK");
    EXPECT_EQ(Ask(logger, {"SET3"}), "ERR-008");
    EXPECT_EQ(Ask(logger, {"SET1"}), "OK");
    // Fields in channel order, not in the order of selection.
    EXPECT_EQ(Ask(logger, {"MNO12", "EOC"}), "0,0");
    EXPECT_EQ(Fields(Ask(logger, {"MDT"})).size(), 2);
    EXPECT_TRUE(logger.Selected(1) && logger.Selected(4) && !logger.Selected(2));
    EXPECT_EQ(Ask(logger, {"RES", "EOC"}), "ERR-001") << "RES empties the selection";
}

TEST(ChannelSelection, MalformedSelectionsAreRefusedWithTheirOwnCodes)
{
    LoggerModel logger(Channels({1, 2}));
    struct Case {
        const char* Command;
        const char* Reply;
    } cases[] = {
        {"SET", "ERR-003"},   {"SET0", "ERR-004"}, {"SET7", "ERR-004"},
        {"SET12", "ERR-004"}, {"SETX", "ERR-006"}, {"SET?", "ERR-004"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Ask(logger, {c.Command}), c.Reply) << c.Command;
    EXPECT_FALSE(logger.Selected(1));
}

TEST(ChannelSelection, ChannelQueriesWithoutAnySelectionAnswerErr001)
{
    LoggerModel logger(Channels({1, 2}));
    for (const char* query : {"RNG?", "LPF?", "HPF?", "TGL?", "MNO?", "MDT", "EOC", "ANS?", "BAL",
                              "DTG", "BDT4", "MNO5"})
        EXPECT_EQ(Ask(logger, {"RES", query}), "ERR-001") << query;
}

TEST(ChannelSelection, CommandsAreReadWithoutRegardToLetterCase)
{
    LoggerModel logger(Channels({1, 2}));
    EXPECT_EQ(Ask(logger, {"res", "set1", "rng?"}), "1000");
}

// ---- per-channel settings and measurement numbers --------------------------------------

TEST(ChannelSettings, EachChannelAnswersItsOwnSettings)
{
    SimConfig config = Channels({1, 2, 3});
    config.Channels[3].Range = 4000;
    config.Channels[3].LowPass = 3000;
    config.Channels[3].TriggerLevel = 1234;
    LoggerModel logger(config);
    EXPECT_EQ(Ask(logger, {"RES", "SET1", "RNG?"}), "1000");
    EXPECT_EQ(Ask(logger, {"LPF?"}), "500");
    EXPECT_EQ(Ask(logger, {"HPF?"}), "0");
    EXPECT_EQ(Ask(logger, {"TGL?"}), "400");
    EXPECT_EQ(Ask(logger, {"RES", "SET3", "RNG?"}), "4000");
    EXPECT_EQ(Ask(logger, {"LPF?"}), "3000");
    EXPECT_EQ(Ask(logger, {"HPF?"}), "1");
    EXPECT_EQ(Ask(logger, {"TGL?"}), "1234");
}

TEST(ChannelSettings, MeasurementNumberIsKeptPerChannel)
{
    LoggerModel logger(Channels({1, 2, 4}));
    Ask(logger, {"RES", "SET1", "MNO7", "RES", "SET2", "MNO7", "RES", "SET4", "MNO9"});
    EXPECT_EQ(Ask(logger, {"RES", "SET1", "MNO?"}), "7");
    EXPECT_EQ(Ask(logger, {"RES", "SET4", "MNO?"}), "9");
    EXPECT_EQ(Ask(logger, {"RES", "SET1", "SET2", "SET4", "MNO?"}), "7,7,9");
    // A number given with several channels selected goes to each of them.
    EXPECT_EQ(Ask(logger, {"MNO32767", "MNO?"}), "32767,32767,32767");
    EXPECT_EQ(Ask(logger, {"MNO32768"}), "ERR-004");
    EXPECT_EQ(Ask(logger, {"MNO-1"}), "ERR-004");
    EXPECT_EQ(Ask(logger, {"MNO?"}), "32767,32767,32767") << "a refused number changes nothing";
}

TEST(ChannelSettings, StartingMeasurementNumberMayBeOneThatTheProgramMustRepair)
{
    SimConfig config = Channels({1, 2});
    config.Channels[1].MeasNo = -5;
    LoggerModel logger(config);
    EXPECT_EQ(Ask(logger, {"RES", "SET1", "MNO?"}), "-5");
}

TEST(ChannelSettings, SettersCheckTheValuesALoggerAccepts)
{
    LoggerModel logger(Channels({1, 2}));
    Ask(logger, {"RES", "SET2"});
    struct Case {
        const char* Command;
        const char* Reply;
    } cases[] = {
        {"RNG4000", "OK"},    {"RNG2000", "ERR-009"},  {"LPF2000", "OK"},  {"LPF700", "ERR-004"},
        {"HPF0", "OK"},       {"HPF2", "ERR-004"},     {"TGL32767", "OK"}, {"TGL32768", "ERR-004"},
        {"CLK49", "ERR-010"}, {"CLK32001", "ERR-004"}, {"CLK100", "OK"},   {"MRY16385", "ERR-004"},
        {"MRY1000", "OK"},    {"MRY-1000", "ERR-005"}, {"MRY-999", "OK"},  {"MRY999", "ERR-005"},
        {"TRM2", "ERR-004"},  {"TRM21", "OK"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Ask(logger, {c.Command}), c.Reply) << c.Command;
    EXPECT_EQ(Ask(logger, {"RNG?"}), "4000");
    EXPECT_EQ(Ask(logger, {"LPF?"}), "2000");
    EXPECT_EQ(Ask(logger, {"TGL?"}), "32767");
    EXPECT_EQ(Ask(logger, {"CLK?"}), "100");
    EXPECT_EQ(Ask(logger, {"MRY?"}), "1000");
    EXPECT_EQ(Ask(logger, {"MRY-?"}), "999");
}

TEST(ChannelSettings, UnknownAndMalformedCommandsAreRefused)
{
    LoggerModel logger(Channels({1, 2}));
    EXPECT_EQ(Ask(logger, {"HELLO"}), "ERR-002");
    EXPECT_EQ(Ask(logger, {"VS?"}), "ERR-002");
    EXPECT_EQ(Ask(logger, {"EPA"}), "ERR-003");
    EXPECT_EQ(Ask(logger, {"EPA4x"}), "ERR-006");
    EXPECT_EQ(Ask(logger, {"BDT"}), "ERR-003");
    EXPECT_EQ(Ask(logger, {"EXE1"}), "ERR-004");
}

// ---- parameter memory, firmware --------------------------------------------------------

TEST(ParameterMemory, DefaultWordsGiveTheProgramAConsistentSetUp)
{
    LoggerModel logger(Channels({1, 2}));
    auto word = [&](int address) { return Ask(logger, {"EPA" + std::to_string(address), "EPD?"}); };
    EXPECT_EQ(word(47), "300");
    EXPECT_EQ(word(48), "350");
    EXPECT_EQ(word(57), "1");
    EXPECT_EQ(word(40), "0") << "a word never written reads 0";
    // The program's coefficient rule: CH1 2.5 N a count, CH2 0.05 m/s2 a count.
    EXPECT_NEAR(std::stod(word(51)) * 0.01 / (std::stod(word(53)) * 0.1) / 10, 0.0025, 1e-12);
    EXPECT_NEAR(std::stod(word(52)) * 0.1 / (std::stod(word(54)) * 0.1) / 10, 0.05, 1e-12);
    EXPECT_NEAR(logger.Coefficient(1), 0.0025, 1e-12);
}

TEST(ParameterMemory, WordsCanBeWrittenAndAddressesAreBounded)
{
    SimConfig config = Channels({1, 2});
    config.Params[60] = -7;
    LoggerModel logger(config);
    EXPECT_EQ(Ask(logger, {"EPA60", "EPD?"}), "-7");
    EXPECT_EQ(Ask(logger, {"EPA61", "EPD1234", "EPA0", "EPA61", "EPD?"}), "1234");
    EXPECT_EQ(Ask(logger, {"EPA128"}), "ERR-007");
    EXPECT_EQ(Ask(logger, {"EPA?"}), "61") << "a refused address keeps the current one";
}

TEST(Firmware, VersionSitsAtCharacters16To19AndDecidesTheCalculationType)
{
    struct Case {
        const char* Firmware;
        int Sea;
        bool Burmister;
    } cases[] = {
        {"2.1A", 2, false}, {"2.0E", 2, false}, {"2.0D", 2, true},
        {"1.9Z", 2, true},  {"X.YZ", 2, true},  {"2.1A", 1, true},
    };
    for (const Case& c : cases) {
        SimConfig config = Channels({1, 2});
        config.Firmware = c.Firmware;
        config.Sea = c.Sea;
        LoggerModel logger(config);
        const std::string vs = Ask(logger, {"VS"});
        ASSERT_GE(vs.size(), 19u);
        EXPECT_EQ(vs.substr(15, 4), c.Firmware);
        EXPECT_EQ(logger.Soil().Burmister, c.Burmister) << c.Firmware << " SEA " << c.Sea;
    }
}

// ---- readings and balancing ------------------------------------------------------------

TEST(Readings, RestingReadingsSitNearTheOffsetsAndBalanceZeroesOnlyTheSelectedChannels)
{
    SimConfig config = Channels({1, 2, 3});
    config.Channels[1].Offset = 300;
    config.Channels[2].Offset = -120;
    config.Channels[3].Offset = 77;
    config.NoiseCounts = 0.8;
    LoggerModel logger(config);
    Ask(logger, {"RES", "SET1", "SET2", "SET3"});
    QStringList fields = Fields(Ask(logger, {"MDT"}));
    ASSERT_EQ(fields.size(), 3);
    EXPECT_NEAR(fields[0].toInt(), 300, 5);
    EXPECT_NEAR(fields[1].toInt(), -120, 5);
    // Signed, six digits: "+000300", as the monitor's length check expects.
    EXPECT_EQ(fields[0].size(), 7);
    EXPECT_TRUE(fields[0].startsWith('+') && fields[1].startsWith('-'));

    Ask(logger, {"RES", "SET1", "SET2", "BAL", "SET3"});
    for (int i = 0; i < 20; ++i) {
        fields = Fields(Ask(logger, {"MDT"}));
        EXPECT_LE(std::abs(fields[0].toInt()), 5);
        EXPECT_LE(std::abs(fields[1].toInt()), 5);
        EXPECT_NEAR(fields[2].toInt(), 77, 5) << "CH3 was not selected when BAL came";
    }
}

TEST(Readings, NoiseIsTheSameForTheSameSeedAndDiffersForAnother)
{
    auto series = [](unsigned start) {
        SimConfig config = Channels({1, 2});
        config.RandomStart = start;
        config.NoiseCounts = 3.0;
        LoggerModel logger(config);
        Ask(logger, {"RES", "SET1", "SET2"});
        std::string all;
        for (int i = 0; i < 10; ++i)
            all += Ask(logger, {"MDT"});
        return all;
    };
    EXPECT_EQ(series(5), series(5));
    EXPECT_NE(series(5), series(6));
}

TEST(Readings, AnOffsetChangedAfterBalancingShowsAsDrift)
{
    SimConfig config = Channels({1, 2});
    config.NoiseCounts = 0.0;
    LoggerModel logger(config);
    Ask(logger, {"RES", "SET1", "SET2", "BAL"});
    logger.SetOffset(1, 48 + 500);
    EXPECT_EQ(Ask(logger, {"MDT"}), "+000500,+000000");
}

// ---- arming, drop, recording -----------------------------------------------------------

TEST(Recording, EocCountsSamplesAtTheSamplingIntervalFromThePreTriggerUpToTheRecordLength)
{
    SimConfig config = Channels({1, 2});
    config.SamplingInterval = 1000; // 1 ms a sample
    config.RecordLength = 2000;
    config.PreTrigger = 500;
    LoggerModel logger(config);
    EXPECT_EQ(Ask(logger, {"RES", "SET1", "SET2", "EOC"}, 0), "0,0") << "nothing recorded yet";
    EXPECT_EQ(Ask(logger, {"DTG"}, 0), "OK");
    EXPECT_EQ(Ask(logger, {"EOC"}, 5000 * Ms), "0,0") << "armed, the weight has not fallen";
    ASSERT_TRUE(logger.Drop(6000 * Ms));
    struct Step {
        Micros At;
        const char* Eoc;
    } steps[] = {
        {6000 * Ms, "500,500"},    {6000 * Ms + 999, "500,500"}, {6001 * Ms, "501,501"},
        {6250 * Ms, "750,750"},    {7499 * Ms, "1999,1999"},     {7500 * Ms, "2000,2000"},
        {60000 * Ms, "2000,2000"},
    };
    for (const Step& s : steps)
        EXPECT_EQ(Ask(logger, {"EOC"}, s.At), s.Eoc) << "at " << s.At;
    EXPECT_EQ(Ask(logger, {"EXE0", "EOC"}, 61000 * Ms), "2000,2000");
}

TEST(Recording, DropWithoutArmingOrAfterResIsNotRecorded)
{
    LoggerModel logger(Channels({1, 2}));
    EXPECT_FALSE(logger.Drop(0));
    Ask(logger, {"RES", "SET1", "SET2", "DTG"}, 0);
    EXPECT_TRUE(logger.Armed());
    Ask(logger, {"RES", "SET1", "SET2"}, 10 * Ms);
    EXPECT_FALSE(logger.Armed()) << "a cancelled run disarms the logger";
    EXPECT_FALSE(logger.Drop(20 * Ms));
    EXPECT_EQ(Ask(logger, {"EOC"}, 30 * Ms), "0,0");
    EXPECT_EQ(Ask(logger, {"ANS?"}, 30 * Ms), "0,0");
}

TEST(Recording, ResDuringTheTransferKeepsTheRecording)
{
    LoggerModel logger(Channels({1, 2}));
    Micros now = 0;
    const std::string answer = MeasureDrop(logger, now);
    EXPECT_NE(answer, "0,0");
    EXPECT_EQ(Ask(logger, {"RES", "SET1", "SET2", "ANS?"}, now + Ms), answer);
}

TEST(Recording, AutomaticDropComesItsDelayAfterDtg)
{
    SimConfig config = Channels({1, 2});
    config.DropAfterMs = 3000;
    LoggerModel logger(config);
    Ask(logger, {"RES", "SET1", "SET2", "DTG"}, 1000 * Ms);
    ASSERT_TRUE(logger.NextEventTime());
    EXPECT_EQ(*logger.NextEventTime(), 4000 * Ms);
    EXPECT_EQ(Ask(logger, {"EOC"}, 3999 * Ms), "0,0");
    // Asked late, the recording still counts from the moment of the drop.
    EXPECT_EQ(Ask(logger, {"EOC"}, 4000 * Ms + 10 * 50), "410,410");
    const auto notes = logger.TakeNotes();
    EXPECT_NE(std::find(notes.begin(), notes.end(), "drop 3000 ms after DTG"), notes.end());
}

TEST(Recording, StuckRecordingStopsOneSampleShortForever)
{
    LoggerModel logger(Channels({1, 2}));
    logger.SetStuck(true);
    Ask(logger, {"RES", "SET1", "SET2", "DTG"}, 0);
    logger.Drop(0);
    EXPECT_EQ(Ask(logger, {"EOC"}, 3600000 * Ms), "799,799");
    EXPECT_FALSE(logger.NextEventTime());
    EXPECT_EQ(Ask(logger, {"ANS?"}, 3600000 * Ms), "0,0");
}

TEST(Recording, NewArmingStartsAFreshRecordingButKeepsTheLastPeaks)
{
    LoggerModel logger(Channels({1, 2}));
    Micros now = 0;
    const std::string first = MeasureDrop(logger, now);
    EXPECT_EQ(Ask(logger, {"DTG", "EOC"}, now), "0,0");
    EXPECT_EQ(Ask(logger, {"ANS?"}, now), first);
}

// ---- peak values from the soil ---------------------------------------------------------

struct SoilCase {
    double Modulus;
    double Load;
    int Plate;
    int PoissonWord;
    int Sea;
};

class PeaksFromSoil : public ::testing::TestWithParam<SoilCase>
{
};

TEST_P(PeaksFromSoil, FeedingThePeaksBackThroughThePlateFormulaGivesTheModulusWithin1Percent)
{
    const SoilCase& c = GetParam();
    SimConfig config = Channels({1, 2, 3, 4});
    config.Modulus = c.Modulus;
    config.LoadN = c.Load;
    config.Params[47] = c.Plate;
    config.Params[48] = c.PoissonWord;
    config.Sea = c.Sea;
    LoggerModel logger(config);
    Micros now = 0;
    Ask(logger, {"RES", "SET1", "SET2", "SET3", "SET4", "DTG"}, now);
    logger.Drop(now);
    const QStringList fields = Fields(Ask(logger, {"ANS0", "ANS?"}, now + 1000 * Ms));
    ASSERT_EQ(fields.size(), 4);
    const double load = fields[0].toDouble();
    const double d0 = fields[1].toDouble() / 1000.0;
    EXPECT_EQ(load, c.Load);
    const double e = ModulusFromPeaks(load, d0, c.Plate, c.PoissonWord / 1000.0, c.Sea == 1);
    EXPECT_NEAR(e, c.Modulus, c.Modulus * 0.01);
    // Sensors further out settle less, in order.
    EXPECT_GT(fields[1].toInt(), fields[2].toInt());
    EXPECT_GT(fields[2].toInt(), fields[3].toInt());
    EXPECT_GT(fields[3].toInt(), 0);
}

INSTANTIATE_TEST_SUITE_P(SoilAndPlate, PeaksFromSoil,
                         ::testing::Values(SoilCase{50, 7000, 300, 350, 1},
                                           SoilCase{50, 7000, 300, 350, 2},
                                           SoilCase{120, 15000, 300, 300, 1},
                                           SoilCase{20, 5000, 200, 400, 2},
                                           SoilCase{300, 30000, 450, 250, 1}));

TEST(PeaksFromSoilSpread, EachDropsLoadVariesWithinTheSpreadAndTheModulusStillComesBack)
{
    SimConfig config = Channels({1, 2});
    config.LoadSpreadPercent = 3.0;
    LoggerModel logger(config);
    Micros now = 0;
    std::set<std::string> distinct;
    for (int i = 0; i < 8; ++i) {
        const QStringList fields = Fields(MeasureDrop(logger, now));
        distinct.insert(fields[0].toStdString());
        EXPECT_NEAR(fields[0].toDouble(), 7000, 7000 * 0.03 + 0.5);
        EXPECT_NEAR(
            ModulusFromPeaks(fields[0].toDouble(), fields[1].toDouble() / 1000, 300, 0.35, true),
            50, 0.5);
    }
    EXPECT_GT(distinct.size(), 4u);
}

TEST(PeaksFromSoilSpread, TheLoadAndModulusMayChangeBetweenDrops)
{
    LoggerModel logger(Channels({1, 2}));
    Micros now = 0;
    logger.SetLoad(10000);
    logger.SetModulus(100);
    const QStringList fields = Fields(MeasureDrop(logger, now));
    EXPECT_EQ(fields[0], "10000");
    EXPECT_NEAR(ModulusFromPeaks(10000, fields[1].toDouble() / 1000, 300, 0.35, true), 100, 1);
}

// ---- binary block ----------------------------------------------------------------------

namespace
{
std::vector<int> Values(const std::string& bytes)
{
    std::vector<int> values;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        values.push_back(static_cast<int16_t>(static_cast<uint8_t>(bytes[i]) << 8 |
                                              static_cast<uint8_t>(bytes[i + 1])));
    return values;
}
} // namespace

TEST(BinaryBlock, HoldsTheRecordedLoadPulseBigEndianWithoutLineEnd)
{
    SimConfig config = Channels({1, 2});
    config.NoiseCounts = 0.0;
    LoggerModel logger(config);
    Micros now = 0;
    MeasureDrop(logger, now);
    Ask(logger, {"RES", "SET1"}, now);
    const std::string bytes = logger.Handle("BDT800", now);
    ASSERT_EQ(bytes.size(), 1600u);
    const std::vector<int> v = Values(bytes);
    // Before the trigger the balanced load cell reads 0; the pulse peaks at 7000 N over
    // 2.5 N a count = 2800 counts, 9 ms (180 samples) after the trigger.
    EXPECT_EQ(v[0], 0);
    EXPECT_EQ(v[399], 0);
    EXPECT_EQ(*std::max_element(v.begin(), v.end()), 2800);
    EXPECT_EQ(v[400 + 180], 2800);
    EXPECT_EQ(v[799], 0);
}

TEST(BinaryBlock, SelectedChannelsFollowEachOtherAndZerosFillBeyondTheRecord)
{
    SimConfig config = Channels({1, 2});
    config.NoiseCounts = 0.0;
    config.RecordLength = 4;
    config.PreTrigger = 0;
    config.SamplingInterval = 9000; // the pulse's middle lands on sample 1
    LoggerModel logger(config);
    Micros now = 0;
    MeasureDrop(logger, now);
    const std::vector<int> v = Values(logger.Handle("BDT10", now));
    ASSERT_EQ(v.size(), 10u);
    EXPECT_EQ(v[1], 2800);
    EXPECT_LT(v[5], 0) << "CH2's acceleration at the pulse's middle points upwards";
    EXPECT_EQ(v[8], 0);
    EXPECT_EQ(v[9], 0);
    // Two bytes a value, exactly: no line end after a binary block.
    EXPECT_EQ(logger.Handle("BDT1", now).size(), 2u);
}

// ---- sensor unit and channels missing --------------------------------------------------

TEST(MissingHardware, WithoutTheSensorUnitResVsAndSeaAnswerErr031)
{
    LoggerModel logger(Channels({1, 2}));
    logger.SetSensorUnitMissing(true);
    EXPECT_EQ(Ask(logger, {"RES"}), "ERR-031");
    EXPECT_EQ(Ask(logger, {"VS"}), "ERR-031");
    EXPECT_EQ(Ask(logger, {"SEA?"}), "ERR-031");
    logger.SetSensorUnitMissing(false);
    EXPECT_EQ(Ask(logger, {"RES"}), "OK");
}

TEST(MissingHardware, ChannelThatGoesMissingIsDroppedFromTheSelection)
{
    LoggerModel logger(Channels({1, 2}));
    Ask(logger, {"RES", "SET1", "SET2"});
    logger.SetChannelMissing(2, true);
    EXPECT_EQ(Ask(logger, {"EOC"}), "0");
    EXPECT_EQ(Ask(logger, {"SET2"}), "ERR-008");
    logger.SetChannelMissing(2, false);
    EXPECT_EQ(Ask(logger, {"SET2"}), "OK");
}
