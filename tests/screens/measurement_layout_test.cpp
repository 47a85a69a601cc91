// The geometry of the measurement screen in twips, before any widget exists.
#include "screens/MeasurementLayout.h"

#include <gtest/gtest.h>

namespace
{

constexpr int ScreenW = 19200, ScreenH = 15360; // 1280 x 1024 pixels

TEST(MeasurementLayout, WindowSizeFollowsTheChannelsWithinTheScreen)
{
    const struct {
        int ScreenWidth, ScreenHeight, Channels, Width, Height, WidthAfter, HeightAfter, Left;
    } cases[] = {
        {ScreenW, ScreenH, 2, 9900, 5800, 9350, 6670, (ScreenW - 9350) / 2},
        {ScreenW, ScreenH, 3, 9900, 5800, 10750, 6670, -1},
        {ScreenW, ScreenH, 6, 9900, 7000, 14950, 7000, -1},
        {ScreenW, ScreenH, 4, 9300, 5800, 12150, 6670, -1},
        {ScreenW, ScreenH, 7, 9900, 5800, 9900, 6670, -1},
        {9000, 6000, 4, 9900, 5800, 9000, 6000, 0}, // a small screen: exactly its size
    };
    for (const auto& c : cases) {
        const MeasurementArrangement a =
            ArrangeMeasurement(c.ScreenWidth, c.ScreenHeight, c.Width, c.Height, c.Channels, 0);
        EXPECT_EQ(a.WindowWidth, c.WidthAfter) << c.Channels << " channels from " << c.Width;
        EXPECT_EQ(a.WindowHeight, c.HeightAfter) << c.Channels << " channels from " << c.Width;
        if (c.Left >= 0) {
            EXPECT_EQ(a.WindowLeft, c.Left);
        }
    }
}

} // namespace
