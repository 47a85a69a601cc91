// The simulator's command line.
#include "SimConfig.h"

#include <gtest/gtest.h>

using vxsim::ParseArguments;

TEST(CommandLine, DefaultsMakeTwoChannelsPacedWithTheTestDaysParameterWords)
{
    const auto outcome = ParseArguments({});
    ASSERT_TRUE(outcome.Config);
    const vxsim::SimConfig& c = *outcome.Config;
    EXPECT_TRUE(c.Channels[1].Present && c.Channels[2].Present && !c.Channels[3].Present);
    EXPECT_TRUE(c.Pace);
    EXPECT_EQ(c.SamplingInterval, 50);
    EXPECT_EQ(c.RecordLength, 800);
    EXPECT_EQ(c.PreTrigger, 400);
    EXPECT_EQ(c.Params.at(47), 300);
    EXPECT_EQ(c.Params.at(48), 350);
    EXPECT_EQ(c.Params.at(57), 1);
    // Triggers above the readings at rest, so that a run can be armed unbalanced.
    for (int ch = 1; ch <= 6; ++ch)
        EXPECT_GT(c.Channels[ch].TriggerLevel, std::abs(c.Channels[ch].Offset) + 10) << ch;
}

TEST(CommandLine, OptionsSetWhatTheyName)
{
    const auto outcome = ParseArguments({"--com",         "2",          "--channels",
                                         "1,2,4",         "--firmware", "2.0D",
                                         "--sea",         "2",          "--param",
                                         "57=2",          "--mno",      "4=9",
                                         "--range",       "4=4000",     "--tgl",
                                         "1=100",         "--offset",   "1=101",
                                         "--clk",         "2000",       "--mry",
                                         "2000",          "--mry-pre",  "100",
                                         "--modulus",     "80.5",       "--poisson",
                                         "0.3",           "--plate",    "450",
                                         "--load",        "9000",       "--drop-after",
                                         "3000",          "--no-pace",  "--fault",
                                         "error RES 031", "--fault",    "stuck",
                                         "--transcript",  "/tmp/t",     "--control-fifo",
                                         "/tmp/f",        "--rng",      "9"});
    ASSERT_TRUE(outcome.Config) << outcome.Error;
    const vxsim::SimConfig& c = *outcome.Config;
    EXPECT_EQ(c.ComPort, 2);
    EXPECT_TRUE(c.Channels[4].Present && !c.Channels[3].Present);
    EXPECT_EQ(c.Firmware, "2.0D");
    EXPECT_EQ(c.Sea, 2);
    EXPECT_EQ(c.Params.at(57), 2);
    EXPECT_EQ(c.Channels[4].MeasNo, 9);
    EXPECT_EQ(c.Channels[1].MeasNo, 0);
    EXPECT_EQ(c.Channels[4].Range, 4000);
    EXPECT_EQ(c.Channels[1].TriggerLevel, 100);
    EXPECT_EQ(c.Channels[1].Offset, 101);
    EXPECT_EQ(c.SamplingInterval, 2000);
    EXPECT_EQ(c.PreTrigger, 100);
    EXPECT_DOUBLE_EQ(c.Modulus, 80.5);
    EXPECT_EQ(c.Params.at(48), 300);
    EXPECT_EQ(c.Params.at(47), 450);
    EXPECT_EQ(c.DropAfterMs, 3000);
    EXPECT_FALSE(c.Pace);
    EXPECT_EQ(c.Faults, (std::vector<std::string>{"error RES 031", "stuck"}));
    EXPECT_EQ(c.RandomStart, 9u);
}

TEST(CommandLine, MeasurementNumberForAllChannelsMayBeNegative)
{
    const auto outcome = ParseArguments({"--mno", "-5"});
    ASSERT_TRUE(outcome.Config);
    EXPECT_EQ(outcome.Config->Channels[6].MeasNo, -5);
}

TEST(CommandLine, BadArgumentsAreRefusedWithAReason)
{
    const std::vector<std::vector<std::string>> refused = {
        {"--bogus"},
        {"--com"},
        {"--com", "x"},
        {"--com", "0"},
        {"--channels", "1,7"},
        {"--channels", ""},
        {"--channels", "1,,2"},
        {"--param", "47"},
        {"--param", "200=1"},
        {"--param", "47=40000"},
        {"--range", "7=1000"},
        {"--range", "1:1000"},
        {"--clk", "0"},
        {"--modulus", "-3"},
        {"--poisson", "1"},
        {"--link", "/tmp/a", "--com", "1"},
        {"--fault", ""},
    };
    for (const auto& args : refused) {
        const auto outcome = ParseArguments(args);
        EXPECT_FALSE(outcome.Config) << args[0];
        EXPECT_FALSE(outcome.Error.empty()) << args[0];
    }
    EXPECT_TRUE(ParseArguments({"--help"}).Help);
}
