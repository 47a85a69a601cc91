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

TEST(MeasurementLayout, ThePositionsLineTakesOnlySpaceNoControlUses)
{
    auto overlap = [](const TwipsRect& a, const TwipsRect& b) {
        return a.Left < b.Left + b.Width && b.Left < a.Left + a.Width && a.Top < b.Top + b.Height &&
               b.Top < a.Top + a.Height;
    };
    // The displays it is laid out for, and a laptop's 1366 x 768.
    const std::pair<int, int> screens[] = {{ScreenW, ScreenH}, {1366 * 15, 768 * 15}};
    for (const auto& [screenW, screenH] : screens)
        for (const int channels : {2, 3, 4, 5, 6}) {
            SCOPED_TRACE(std::to_string(screenW / 15) + " px wide, " + std::to_string(channels));
            const MeasurementArrangement a =
                ArrangeMeasurement(screenW, screenH, 9900, 5800, channels, 0);
            const MeasurementPlaces& p = a.Places;
            const TwipsRect monitor =
                MonitorGridGeometry(a.WindowHeight, 0, channels, p.Monitor.Left).Grid;
            EXPECT_GE(p.Positions.Width, 3500); // "GPS: positions cannot be written"
            EXPECT_LE(p.Positions.Left + p.Positions.Width, a.WindowWidth);
            for (const TwipsRect& other :
                 {p.ResultCaption, p.ResultGrid, p.DiameterCaption, p.DiameterValue, p.RatioCaption,
                  p.RatioValue, monitor, p.Status, p.Setting, p.Print, p.No, p.Measure, p.Initial,
                  p.Return})
                EXPECT_FALSE(overlap(p.Positions, other))
                    << other.Left << "," << other.Top << " " << other.Width << "x" << other.Height;
        }
}

} // namespace
