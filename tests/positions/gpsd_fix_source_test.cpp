// The fix from a real gpsd fed by gpsfake: a fix, then a receiver without one, then gpsd
// stopped and started again. Every wait is on a condition.
#include "GpsFake.h"
#include "positions/GpsdFixSource.h"

#include <gtest/gtest.h>

namespace
{

constexpr int Generous = 60000;

TEST(GpsdFixSource, FollowsGpsdThroughAFixItsLossAStopAndARestart)
{
    GpsFake gps;
    GpsdFixSource source(GpsdEndpointFrom(gps.Endpoint()));
    source.Start(); // before gpsd is there: it keeps trying, without a word
    EXPECT_FALSE(source.Status().EverReached);

    ASSERT_TRUE(gps.Start(GpsFake::FixSentences())) << gps.ErrorText().toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return source.CurrentFix().has_value(); }, Generous));
    const FixStatus fixed = source.Status();
    EXPECT_TRUE(fixed.EverReached && fixed.Connected);
    EXPECT_EQ(fixed.LastMode, 3);
    EXPECT_NEAR(fixed.Fix->Where.Latitude, 35.681235, 1e-6);
    EXPECT_NEAR(fixed.Fix->Where.Longitude, 139.767125, 1e-6);
    EXPECT_EQ(fixed.Fix->Altitude, 40.2);
    EXPECT_TRUE(fixed.Fix->ThreeD);
    EXPECT_TRUE(fixed.Fix->HorizontalError.has_value());
    EXPECT_GE(fixed.Fix->AgeSeconds, 0.0);

    gps.Stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !source.Status().Connected; }, Generous));
    ASSERT_TRUE(gps.Start(GpsFake::NoFixSentences())) << gps.ErrorText().toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return source.Status().Connected && source.Status().LastMode == 1; },
                        Generous));
    EXPECT_FALSE(source.CurrentFix().has_value()) << "the receiver lost its fix";

    gps.Stop();
    ASSERT_TRUE(gps.Start(GpsFake::FixSentences())) << gps.ErrorText().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return source.CurrentFix().has_value(); }, Generous));
}

} // namespace
