// The geometry of the measurement screen in twips, before any widget exists.
#include "screens/MeasurementLayout.h"

#include <gtest/gtest.h>

namespace
{

constexpr int BigScreenWidth = 19200; // 1280 x 1024 pixels
constexpr int BigScreenHeight = 15360;

TEST(MeasurementLayout, WidthFollowsTheActiveChannels)
{
    struct Case {
        int Channels, Before, After;
    };
    const Case cases[] = {{2, 9900, 9350},  {3, 9900, 10750}, {4, 9900, 12150},  {5, 9900, 13550},
                          {6, 9900, 14950}, {2, 9300, 9300},  {4, 12100, 12100}, {6, 14900, 14900},
                          {4, 9300, 12150}, {1, 9900, 9900},  {0, 9900, 9900},   {7, 9900, 9900}};
    for (const Case& c : cases) {
        const MeasurementArrangement a =
            ArrangeMeasurement(BigScreenWidth, BigScreenHeight, c.Before, 5800, c.Channels, 0);
        EXPECT_EQ(a.WindowWidth, c.After) << c.Channels << " channels from " << c.Before;
    }
}

TEST(MeasurementLayout, HeightIsRaisedToItsMinimumThenLimitedToTheScreen)
{
    EXPECT_EQ(ArrangeMeasurement(BigScreenWidth, BigScreenHeight, 9900, 5800, 2, 0).WindowHeight,
              6670);
    EXPECT_EQ(ArrangeMeasurement(BigScreenWidth, BigScreenHeight, 9900, 7000, 2, 0).WindowHeight,
              7000);
    // A screen smaller than the window: exactly the screen's size.
    const MeasurementArrangement small = ArrangeMeasurement(9000, 6000, 9900, 5800, 4, 0);
    EXPECT_EQ(small.WindowWidth, 9000);
    EXPECT_EQ(small.WindowHeight, 6000);
    EXPECT_EQ(small.WindowLeft, 0);
}

TEST(MeasurementLayout, WindowIsCentredHorizontally)
{
    const MeasurementArrangement a =
        ArrangeMeasurement(BigScreenWidth, BigScreenHeight, 9900, 5800, 2, 0);
    EXPECT_EQ(a.WindowLeft, (BigScreenWidth - 9350) / 2);
}

TEST(MeasurementLayout, RowsHangOffTheWindowHeightAndTheCaptionExtra)
{
    const int c = 60;
    const MeasurementArrangement a =
        ArrangeMeasurement(BigScreenWidth, BigScreenHeight, 9900, 5800 + c, 4, c);
    const int h = a.WindowHeight;
    const int w = a.WindowWidth;
    ASSERT_EQ(h, 6670);
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
}

TEST(MeasurementLayout, LeftButtonsKeepTheirPlacesWhateverTheWidth)
{
    const MeasurementPlaces narrow = PlaceMeasurementControls(9350, 6670, 0);
    const MeasurementPlaces wide = PlaceMeasurementControls(14950, 6670, 0);
    EXPECT_EQ(narrow.Setting, wide.Setting);
    EXPECT_EQ(narrow.Print, wide.Print);
    EXPECT_EQ(narrow.Start, wide.Start);
    EXPECT_EQ(narrow.Balance, wide.Balance);
    // Nothing of a row overlaps: the right-hand buttons start after the left ones end, and
    // the monitor grid fits between them.
    for (const auto& [p, width] : {std::pair{narrow, 9350}, std::pair{wide, 14950}}) {
        EXPECT_GT(p.MeasNo.Left, p.Print.Left + p.Print.Width);
        EXPECT_GT(p.MainMenu.Left, p.Balance.Left + p.Balance.Width);
        EXPECT_GE(p.Monitor.Left, p.Print.Left + p.Print.Width);
        EXPECT_LE(p.Monitor.Left + p.Monitor.Width, p.MainMenu.Left);
        EXPECT_LE(p.MeasNo.Left + p.MeasNo.Width, width);
        EXPECT_LE(p.MainMenu.Left + p.MainMenu.Width, width);
    }
}

TEST(MonitorLayout, HeightDependsOnTheNumberOfChannels)
{
    struct Case {
        int Channels, Height, RowHeight;
    };
    for (const Case& c :
         {Case{2, 600, 290}, Case{3, 900, 290}, Case{4, 960, 230}, Case{6, 1440, 230}}) {
        const MonitorGeometry g = MonitorGridGeometry(6670, 60, c.Channels, 4000);
        EXPECT_EQ(g.Grid.Top, 6670 - 1900 - 60) << c.Channels;
        EXPECT_EQ(g.Grid.Height, c.Height) << c.Channels;
        EXPECT_EQ(g.Grid.Width, 3000) << c.Channels;
        EXPECT_EQ(g.RowHeight, c.RowHeight) << c.Channels;
    }
    EXPECT_EQ(MonitorColumnWidths[0] + MonitorColumnWidths[1] + MonitorColumnWidths[2], 3000);
}

} // namespace
