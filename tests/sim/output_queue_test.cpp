// The line's schedule (which bytes may go when, at 9600 bit/s or at once) and the text
// of transcript lines.
#include "OutputQueue.h"

#include <gtest/gtest.h>

using vxsim::Micros;
using vxsim::OutputQueue;

TEST(LinePacing, A9600BitLineCarriesOneByteEvery1041Microseconds)
{
    OutputQueue line(9600);
    EXPECT_EQ(line.WireTime(1), 1041);
    EXPECT_EQ(line.WireTime(96), 100000);
    EXPECT_EQ(line.WireTime(960), 1000000);
    EXPECT_EQ(OutputQueue(0).WireTime(960), 0);
}

TEST(LinePacing, BytesBecomeDueOneAfterAnotherFromTheReplysReadyTime)
{
    OutputQueue line(9600);
    line.Push("OK\r\n", 10000, false, "< OK");
    EXPECT_EQ(line.Due(9999), "");
    EXPECT_EQ(*line.NextDueTime(), 10000 + 1041);
    EXPECT_EQ(line.Due(10000 + 1040), "");
    EXPECT_EQ(line.Due(10000 + 1042), "O");
    // Woken late, the host catches up with everything the wire would have carried.
    EXPECT_EQ(line.Due(10000 + 3 * 1042), "OK\r");
    line.Consume(2);
    EXPECT_EQ(line.Due(10000 + 3 * 1042), "\r");
    EXPECT_FALSE(line.FrontCompletesWith(1));
    EXPECT_TRUE(line.FrontCompletesWith(2));
    line.Consume(2);
    EXPECT_TRUE(line.TakeFinished(20000));
    EXPECT_TRUE(line.Empty());
}

TEST(LinePacing, NextReplyWaitsForTheLineEvenWhenReadyEarlier)
{
    OutputQueue line(9600);
    line.Push("AB", 0, false, "");
    line.Push("CD", 0, false, "");
    line.Consume(line.Due(5000).size()); // both bytes of AB: the line is busy until 2083
    ASSERT_TRUE(line.TakeFinished(5000));
    // CD is ready since 0, but its first byte starts when AB's last has gone.
    EXPECT_EQ(*line.NextDueTime(), 2083 + 1041);
}

TEST(LinePacing, WithoutPacingAReplyGoesWholeWhenReady)
{
    OutputQueue line(0);
    line.Push("1000\r\n", 500, false, "");
    EXPECT_EQ(line.Due(499), "");
    EXPECT_EQ(line.Due(500), "1000\r\n");
}

TEST(LinePacing, HangUpFollowsTheLastByteOfItsReplyAndAnEmptyOneAtItsTime)
{
    OutputQueue line(0);
    line.Push("OK\r\n", 0, true, "");
    EXPECT_FALSE(line.TakeFinished(0)) << "not before its bytes are out";
    line.Consume(4);
    const auto finished = line.TakeFinished(0);
    ASSERT_TRUE(finished);
    EXPECT_TRUE(finished->HangUp);

    line.Push({}, 100, true, "");
    EXPECT_FALSE(line.TakeFinished(99));
    EXPECT_TRUE(line.TakeFinished(100)->HangUp);
}

TEST(TranscriptText, PrintableAsciiStaysAndEverythingElseIsEscaped)
{
    EXPECT_EQ(vxsim::TranscriptLine('>', "RES"), "> RES");
    EXPECT_EQ(vxsim::TranscriptLine('<', std::string("1\0"
                                                     "0\r\xff",
                                                     5)),
              "< 1\\x000\\x0d\\xff");
    // A backslash is escaped too, so that every \x in a transcript is an escape.
    EXPECT_EQ(vxsim::TranscriptLine('<', "a\\b"), "< a\\x5cb");
    EXPECT_EQ(vxsim::WithoutLineEnd("OK\r\n"), "OK");
    EXPECT_EQ(vxsim::WithoutLineEnd("OK\r"), "OK\r");
    EXPECT_EQ(vxsim::WithoutLineEnd("\xffOK\r\n\xfe"), "\xffOK\r\n\xfe");
}
