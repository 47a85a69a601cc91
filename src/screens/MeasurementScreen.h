#pragma once

#include "shell/Bilingual.h"

#include <QString>
#include <cstdint>
#include <vector>

class GridModel;
struct ResultsContext;
struct LoggerSettings;

// A control's caption and its font size in points.
struct CaptionAndFont {
    QString Text;
    double Points = 0.0;
};

// Captions and fonts of the measurement screen in one language; B is the size of the
// large font (12 pt).
struct MeasurementCaptions {
    QString WindowTitle;
    double WindowPoints = 0.0; // 0: the window font is left as it is
    // The commands, named as in the window (cmdNo: No).
    CaptionAndFont No, Initial, Measure, Setting, Print, Return;
    CaptionAndFont ResultCaption, DiameterCaption, DiameterValue, RatioCaption, RatioValue;
    CaptionAndFont Status;
    double ResultGridPoints = 0.0; // at load; 14 pt once the grid is built
    double MonitorGridPoints = 0.0;
};
MeasurementCaptions CaptionsFor(UiLanguage language, const QString& appTitle, double b);

inline constexpr double BuiltResultGridPoints = 14.0;

// The status line once the logger has answered, while its settings are read.
Bilingual ConnectedStatusText();

// Which commands the screen offers. Meas. No. and Main Menu are always there; the others
// come with a working connection, Print only when there are results to print.
struct OfferedCommands {
    bool No = true;
    bool Initial = false;
    bool Measure = false;
    bool Setting = false;
    bool Print = false;
    bool Return = true;
    bool operator==(const OfferedCommands&) const = default;
};
OfferedCommands CommandsOffered(bool connected, int32_t resultCount);

// The start of a test day: MaxChannel 6, the settings and test conditions at their start
// values; in debug mode a logger with CH1, CH2, CH4 and CH6 stands in for the real one.
void PrepareTestDay(ResultsContext& context);

// The results grid's headings: "No.", "Date Time", P0, D0, K and E with their widths and
// units (steps before the layout), then one "Disp. D" column for every further active
// channel, numbered by channel number - 2.
void PutFixedHeadings(GridModel& grid, int16_t channelCount, UiLanguage language);
void PutChannelHeadings(GridModel& grid, const LoggerSettings& settings, UiLanguage language);

// One row of the monitor grid: name and unit of an active channel.
struct MonitorRow {
    int Channel = 0;
    QString Name;
    QString Unit;
};

// The rows of the monitor grid, one per active channel in channel order.
std::vector<MonitorRow> MonitorRows(const LoggerSettings& settings, UiLanguage language);

// Names and units of the monitor grid, one row per active channel; values empty.
void PutMonitorNames(GridModel& grid, const LoggerSettings& settings, UiLanguage language);

// The diameter with format "0" and the ratio with format "0.000".
QString DiameterText(const LoggerSettings& settings);
QString RatioText(const LoggerSettings& settings);
