#include "MeasurementLayout.h"

#include <algorithm>

namespace
{

// Design places of the left-hand controls; the right-hand ones hang off the window edge.
constexpr int Margin = 120;
constexpr int ButtonWidth = 1800;
constexpr int ButtonHeight = 450;
constexpr int NarrowButtonWidth = 1200; // "Meas. No."
constexpr int ButtonGap = 120;
constexpr int CaptionHeight = 300;
constexpr int MonitorLeft = Margin + 2 * (ButtonWidth + ButtonGap) + 40;

} // namespace

MeasurementPlaces PlaceMeasurementControls(int w, int h, int c)
{
    MeasurementPlaces p;
    p.ResultCaption = {Margin, 60, 3000, CaptionHeight};
    p.ResultGrid = {Margin, 60 + CaptionHeight, w - 250, std::max(0, h - 2600 - c)};

    // The diameter and ratio line sits between the results grid and the monitor.
    const int lineTop = h - 2200 - c;
    p.DiameterCaption = {Margin, lineTop, 1500, CaptionHeight};
    p.DiameterValue = {Margin + 1500, lineTop, 600, CaptionHeight};
    p.RatioCaption = {Margin + 2100, lineTop, 2300, CaptionHeight};
    p.RatioValue = {Margin + 4400, lineTop, 900, CaptionHeight};
    const int positionsLeft = Margin + 5400;
    p.Positions = {positionsLeft, lineTop, std::max(0, w - 250 - positionsLeft), CaptionHeight};

    p.Monitor = {MonitorLeft, h - 1530, MonitorWidthTwips, 0};
    // While the status line speaks, the lower left buttons are not offered yet: it may use
    // the whole width up to Main Menu.
    p.Status = {Margin, h - 850, std::max(0, w - 2080 - Margin - ButtonGap), CaptionHeight};

    const int upper = h - 1470 - c;
    const int lower = h - 930 - c;
    p.Setting = {Margin, upper, ButtonWidth, ButtonHeight};
    p.Print = {Margin + ButtonWidth + ButtonGap, upper, ButtonWidth, ButtonHeight};
    p.No = {w - 1440, upper, NarrowButtonWidth, ButtonHeight};
    p.Measure = {Margin, lower, ButtonWidth, ButtonHeight};
    p.Initial = {Margin + ButtonWidth + ButtonGap, lower, ButtonWidth, ButtonHeight};
    p.Return = {w - 2080, lower, ButtonWidth, ButtonHeight};
    return p;
}

int ArrangedWidth(int windowWidth, int channelCount)
{
    if (channelCount < 2 || channelCount > 6)
        return windowWidth;
    const int width = 9350 + (channelCount - 2) * 1400;
    // A window exactly 50 twips narrower keeps its width.
    return windowWidth == width - 50 ? windowWidth : width;
}

MeasurementArrangement ArrangeMeasurement(int screenWidth, int screenHeight, int windowWidth,
                                          int windowHeight, int channelCount, int captionExtra)
{
    int h = std::max(windowHeight, MinimumHeightTwips);
    int w = ArrangedWidth(windowWidth, channelCount);
    h = std::min(h, screenHeight);
    w = std::min(w, screenWidth);

    MeasurementArrangement a;
    a.WindowWidth = w;
    a.WindowHeight = h;
    a.WindowLeft = (screenWidth - w) / 2;
    a.Places = PlaceMeasurementControls(w, h, captionExtra);
    a.HeaderRowHeight = float(h - 2600 - captionExtra) / 12.f - 8.f;
    return a;
}

MonitorGeometry MonitorGridGeometry(int windowHeight, int captionExtra, int channelCount, int left)
{
    MonitorGeometry g;
    const int rows = std::max(channelCount, 1);
    const int height = channelCount < 4 ? channelCount * 300 : channelCount * 240;
    g.Grid = {left, windowHeight - 1900 - captionExtra, MonitorWidthTwips, std::max(0, height)};
    g.RowHeight = std::max(0, height / rows - 10);
    return g;
}
