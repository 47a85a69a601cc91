// Faults and control lines on the simulator without its line: what each fault does to a
// reply, and which control lines are taken or refused.
#include "Simulator.h"

#include <gtest/gtest.h>

using vxsim::Micros;
using vxsim::SimConfig;
using vxsim::Simulator;

namespace
{

SimConfig TwoChannels()
{
    SimConfig config;
    config.NoiseCounts = 0.0;
    return config;
}

void Steer(Simulator& sim, const std::string& line)
{
    const Simulator::ControlResult result = sim.Control(line, 0);
    ASSERT_TRUE(result.Ok) << line << ": " << result.Error;
}

std::string Wire(Simulator& sim, const std::string& command)
{
    const Simulator::Outgoing out = sim.Receive(command, 0);
    return out.Send ? out.Bytes : "<nothing>";
}

} // namespace

struct ReplyFaultCase {
    const char* Fault;
    const char* Command;
    std::string Expected;
};

class ReplyFaults : public ::testing::TestWithParam<ReplyFaultCase>
{
};

TEST_P(ReplyFaults, DistortTheReplyOfTheMatchingCommandOnly)
{
    const ReplyFaultCase& c = GetParam();
    Simulator sim(TwoChannels());
    Steer(sim, c.Fault);
    Wire(sim, "RES");
    Wire(sim, "SET1");
    EXPECT_EQ(Wire(sim, c.Command), c.Expected) << c.Fault;
    // Another command is untouched.
    EXPECT_EQ(Wire(sim, "CLK?"), "50\r\n") << c.Fault;
}

INSTANTIATE_TEST_SUITE_P(
    EachKind, ReplyFaults,
    ::testing::Values(ReplyFaultCase{"fault error RNG? 004", "RNG?", "ERR-004\r\n"},
                      ReplyFaultCase{"fault error rng? ERR-4", "RNG?", "ERR-004\r\n"},
                      ReplyFaultCase{"fault garble RNG?", "RNG?", "\xa5#?~\x1b\xf3@\r\n"},
                      ReplyFaultCase{"fault partial RNG?", "RNG?", "1000\r"},
                      ReplyFaultCase{"fault nul RNG?", "RNG?",
                                     std::string("10") + '\0' + '\0' + "00\r\n"},
                      ReplyFaultCase{"fault longline RNG?", "RNG?",
                                     [] {
                                         std::string s;
                                         for (int i = 0; i < 6000; ++i)
                                             s.push_back(static_cast<char>('0' + i % 10));
                                         return s;
                                     }()},
                      ReplyFaultCase{"fault error EPA* 007", "EPA47", "ERR-007\r\n"}));

TEST(ErrorFault, RefusedCommandTakesNoEffect)
{
    Simulator sim(TwoChannels());
    Steer(sim, "fault error MNO5 004");
    Wire(sim, "RES");
    Wire(sim, "SET1");
    EXPECT_EQ(Wire(sim, "MNO5"), "ERR-004\r\n");
    EXPECT_EQ(Wire(sim, "MNO?"), "0\r\n");
}

TEST(ErrorFault, LaterFaultForAnOverlappingPatternWins)
{
    Simulator sim(TwoChannels());
    Steer(sim, "fault error * 002");
    Steer(sim, "fault error RES 031");
    EXPECT_EQ(Wire(sim, "RES"), "ERR-031\r\n");
    EXPECT_EQ(Wire(sim, "VS"), "ERR-002\r\n");
}

TEST(StrayFault, PutsBytesBeforeAndAfterEveryReply)
{
    Simulator sim(TwoChannels());
    Steer(sim, "fault stray");
    EXPECT_EQ(Wire(sim, "RES"), "\xffOK\r\n\xfe\xff");
    EXPECT_EQ(Wire(sim, "VS"), "\xffQL-860H FW Ver 2.1A\r\n\xfe\xff");
}

TEST(SlowFault, HoldsTheReplyBackWithoutChangingIt)
{
    Simulator sim(TwoChannels());
    Steer(sim, "fault slow VS 1500");
    const Simulator::Outgoing out = sim.Receive("VS", 0);
    EXPECT_EQ(out.DelayUs, 1500 * 1000);
    EXPECT_EQ(out.Bytes, "QL-860H FW Ver 2.1A\r\n");
    EXPECT_EQ(sim.Receive("RES", 0).DelayUs, 0);
}

TEST(SilentFault, NothingIsAnsweredAndNothingTakesEffect)
{
    Simulator sim(TwoChannels());
    Steer(sim, "fault silent");
    EXPECT_EQ(Wire(sim, "RES"), "<nothing>");
    EXPECT_EQ(Wire(sim, "SET1"), "<nothing>");
    Steer(sim, "fault none");
    EXPECT_EQ(Wire(sim, "EOC"), "ERR-001\r\n") << "SET1 went unheard";
}

TEST(HangUpFault, LineDropsOnceTheNthCommandHasBeenAnswered)
{
    Simulator sim(TwoChannels());
    Steer(sim, "fault hangup-after 3");
    EXPECT_FALSE(sim.HangUpNow());
    EXPECT_FALSE(sim.Receive("RES", 0).HangUpAfter);
    EXPECT_FALSE(sim.Receive("SET1", 0).HangUpAfter);
    const Simulator::Outgoing third = sim.Receive("MDT", 0);
    EXPECT_TRUE(third.HangUpAfter);
    EXPECT_TRUE(third.Send) << "the third command is still answered";
}

TEST(HangUpFault, ZeroMeansAtOnceEvenWhenSilent)
{
    Simulator sim(TwoChannels());
    Steer(sim, "fault silent");
    Steer(sim, "fault hangup-after 1");
    const Simulator::Outgoing out = sim.Receive("RES", 0);
    EXPECT_FALSE(out.Send);
    EXPECT_TRUE(out.HangUpAfter);
    Simulator other(TwoChannels());
    Steer(other, "fault hangup-after 0");
    EXPECT_TRUE(other.HangUpNow());
}

TEST(LoggerFaults, NoSensorStuckAndMissingChannelChangeTheLoggerUntilFaultNone)
{
    Simulator sim(TwoChannels());
    Steer(sim, "fault nosensor");
    Steer(sim, "fault nochannel 2");
    Steer(sim, "fault stuck");
    EXPECT_EQ(Wire(sim, "RES"), "ERR-031\r\n");
    EXPECT_EQ(Wire(sim, "SEA?"), "ERR-031\r\n");
    EXPECT_EQ(Wire(sim, "SET2"), "ERR-008\r\n");
    Wire(sim, "SET1");
    Wire(sim, "DTG");
    Steer(sim, "drop");
    EXPECT_EQ(sim.Receive("EOC", 3600LL * 1000000).Bytes, "799\r\n");

    Steer(sim, "fault none");
    EXPECT_EQ(Wire(sim, "RES"), "OK\r\n");
    EXPECT_EQ(Wire(sim, "SET2"), "OK\r\n");
    EXPECT_EQ(sim.Receive("EOC", 3601LL * 1000000).Bytes, "800\r\n")
        << "the recording completes once the fault is gone";
}

TEST(ControlLines, FaultsGivenAtStartAndControlLinesAreNotedInTheTranscript)
{
    Simulator sim(TwoChannels());
    Steer(sim, "fault garble MDT");
    Wire(sim, "RES");
    const auto notes = sim.TakeNotes();
    ASSERT_FALSE(notes.empty());
    EXPECT_EQ(notes.front(), "fault garble MDT");
}

TEST(ControlLines, MalformedLinesAreRefusedAndChangeNothing)
{
    Simulator sim(TwoChannels());
    for (const char* line : {"",
                             "dance",
                             "drop now",
                             "offset 7 5",
                             "offset 1 x",
                             "offset 1 40000",
                             "load -1",
                             "modulus abc",
                             "fault",
                             "fault bogus",
                             "fault error RES",
                             "fault error RES 1234",
                             "fault error RES abc",
                             "fault slow RES",
                             "fault slow RES -5",
                             "fault hangup-after x",
                             "fault nochannel 0",
                             "fault garble",
                             "fault silent please",
                             "quit now"}) {
        const Simulator::ControlResult result = sim.Control(line, 0);
        EXPECT_FALSE(result.Ok) << "\"" << line << "\" was taken";
        EXPECT_FALSE(result.Error.empty()) << line;
        EXPECT_FALSE(result.Quit) << line;
    }
    EXPECT_EQ(Wire(sim, "RES"), "OK\r\n");
}

TEST(ControlLines, QuitAsksTheHostToEnd)
{
    Simulator sim(TwoChannels());
    EXPECT_TRUE(sim.Control("quit", 0).Quit);
}

TEST(ControlLines, OffsetSetsTheUnbalancedReading)
{
    Simulator sim(TwoChannels());
    Steer(sim, "offset 1 -250");
    Wire(sim, "RES");
    Wire(sim, "SET1");
    EXPECT_EQ(Wire(sim, "MDT"), "-000250\r\n");
}
