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

TEST(MeasurementLayout, RowsHangOffTheWindowHeightAndTheCaptionExtra)
{
    const int c = 60;
    const MeasurementArrangement a = ArrangeMeasurement(ScreenW, ScreenH, 9900, 5800 + c, 4, c);
    const int h = a.WindowHeight, w = a.WindowWidth;
    const MeasurementPlaces& p = a.Places;
    EXPECT_EQ(p.ResultGrid.Height, h - 2600 - c);
    EXPECT_EQ(p.ResultGrid.Width, w - 250);
    EXPECT_FLOAT_EQ(a.HeaderRowHeight, float(h - 2600 - c) / 12.f - 8.f);
    for (const TwipsRect& upper : {p.Setting, p.Print, p.MeasNo})
        EXPECT_EQ(upper.Top, h - 1470 - c);
    for (const TwipsRect& lower : {p.Start, p.Balance, p.MainMenu})
        EXPECT_EQ(lower.Top, h - 930 - c);
    EXPECT_EQ(p.MainMenu.Left, w - 2080);
    EXPECT_EQ(p.MeasNo.Left, w - 1440);
    EXPECT_EQ(p.Monitor.Top, h - 1530);
    EXPECT_EQ(p.Status.Top, h - 850);
    const MeasurementPlaces narrow = PlaceMeasurementControls(9350, 6670, 0);
    EXPECT_EQ(PlaceMeasurementControls(14950, 6670, 0).Start, narrow.Start); // left ones stay
}

TEST(MeasurementLayout, MonitorHeightFollowsTheChannels)
{
    for (const auto& [channels, height, rowHeight] :
         {std::tuple{2, 600, 290}, {3, 900, 290}, {4, 960, 230}, {6, 1440, 230}}) {
        const MonitorGeometry g = MonitorGridGeometry(6670, 60, channels, 4000);
        EXPECT_EQ(std::vector<int>({g.Grid.Top, g.Grid.Height, g.Grid.Width, g.RowHeight}),
                  std::vector<int>({6670 - 1900 - 60, height, 3000, rowHeight}))
            << channels;
    }
}

} // namespace
