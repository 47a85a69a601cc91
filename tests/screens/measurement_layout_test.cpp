// The geometry of the measurement screen in twips, before any widget exists.
#include "screens/MeasurementLayout.h"

#include <gtest/gtest.h>

namespace
{

constexpr int ScreenW = 19200, ScreenH = 15360; // 1280 x 1024 pixels

TEST(MeasurementLayout, WindowSizeFollowsTheChannelsWithinTheScreen)
{
    const struct {
        const char* Case;
        int ScreenWidth, ScreenHeight, Channels, Width, Height, WidthAfter, HeightAfter, Left;
    } cases[] = {
        {"two channels, centred", ScreenW, ScreenH, 2, 9900, 5800, 9350, 6670,
         (ScreenW - 9350) / 2},
        {"three channels", ScreenW, ScreenH, 3, 9900, 5800, 10750, 6670, -1},
        {"six channels, a taller window", ScreenW, ScreenH, 6, 9900, 7000, 14950, 7000, -1},
        {"four channels", ScreenW, ScreenH, 4, 9300, 5800, 12150, 6670, -1},
        {"seven channels: the width kept", ScreenW, ScreenH, 7, 9900, 5800, 9900, 6670, -1},
        {"a small screen: exactly its size", 9000, 6000, 4, 9900, 5800, 9000, 6000, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Case);
        const MeasurementArrangement a =
            ArrangeMeasurement(c.ScreenWidth, c.ScreenHeight, c.Width, c.Height, c.Channels, 0);
        EXPECT_EQ(a.WindowWidth, c.WidthAfter);
        EXPECT_EQ(a.WindowHeight, c.HeightAfter);
        if (c.Left >= 0) {
            EXPECT_EQ(a.WindowLeft, c.Left);
        }
    }
}

} // namespace
