#pragma once

#include "shell/Twips.h"

#include <array>
#include <cstdint>

// Geometry of the measurement screen, all in twips. The window's heights count a usual
// title bar (CaptionTwips) plus CaptionHeightExtra, as the screen was designed; the window
// subtracts them to get its client area.

struct TwipsRect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const TwipsRect&) const = default;
};

inline constexpr int LoadWidthTwips = 9900; // the window at load
inline constexpr int LoadHeightTwips = 5800;
inline constexpr int MinimumHeightTwips = 6670; // raised to this when laid out
inline constexpr int MonitorWidthTwips = 3000;
inline constexpr std::array<int, 3> MonitorColumnWidths{1200, 1000, 800};

// Where every control of the screen sits in a window W wide and H high (C is
// CaptionHeightExtra). Vertical places follow the window's rows; horizontally the left
// buttons keep their places and Main Menu and Meas. No. stay at the right-hand end. A button's
// place bears its command's name in the window (cmdNo: No), as in CaptionsFor and
// CommandsOffered.
struct MeasurementPlaces {
    TwipsRect ResultCaption; // Label6
    TwipsRect ResultGrid;    // MSFData
    TwipsRect DiameterCaption, DiameterValue, RatioCaption, RatioValue;
    TwipsRect Monitor; // MSFMonit before the monitor is built (height 0)
    TwipsRect Status;  // Label1
    // Upper row: "Setting", "Print", "Meas. No.".
    TwipsRect Setting, Print, No;
    // Lower row: "Start", "Balance", "Main Menu".
    TwipsRect Measure, Initial, Return;
    // The line on positions, right of the ratio, where the screen has always been empty.
    TwipsRect Positions;
};
MeasurementPlaces PlaceMeasurementControls(int windowWidth, int windowHeight, int captionExtra);

// The result of laying the screen out for its active channels.
struct MeasurementArrangement {
    int WindowWidth = 0;
    int WindowHeight = 0;
    int WindowLeft = 0; // centred horizontally on the screen; the top edge is not moved
    float HeaderRowHeight = 0.f;
    MeasurementPlaces Places;
};

// W from the number of active channels (one 1400-wide displacement column per channel
// beyond two), H at least MinimumHeightTwips, both limited to the screen.
int ArrangedWidth(int windowWidth, int channelCount);
MeasurementArrangement ArrangeMeasurement(int screenWidth, int screenHeight, int windowWidth,
                                          int windowHeight, int channelCount, int captionExtra);

// The monitor grid once built: its top edge, its height and the height of each row.
struct MonitorGeometry {
    TwipsRect Grid;
    int RowHeight = 0;
};
MonitorGeometry MonitorGridGeometry(int windowHeight, int captionExtra, int channelCount, int left);
