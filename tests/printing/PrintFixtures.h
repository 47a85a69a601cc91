#pragma once

// Settings, globals and grids the printing and copy tests start from.

#include "printing/RecordingPage.h"
#include "record/LoggerSettings.h"
#include "record/ResetLoggerSettings.h"
#include "shell/Globals.h"
#include "shell/GridModel.h"

#include <QDateTime>
#include <QStringList>
#include <initializer_list>

namespace fixtures
{

inline QDateTime ResetTime()
{
    return QDateTime(QDate(2021, 4, 7), QTime(13, 5, 9));
}

inline Globals GlobalsIn(UiLanguage language)
{
    Globals g;
    g.UiLanguage = language;
    InitGlobalValues(g);
    return g;
}

// The start values of a test day with the given channels active, as after a logger read
// that found them (MaxChannel is the highest of them).
inline LoggerSettings SettingsWith(std::initializer_list<int> channels)
{
    LoggerSettings s;
    ResetLoggerSettings(s, ResetTime());
    s.CalcType = 1;
    s.ChannelCount = 0;
    s.MaxChannel = 0;
    for (int c : channels) {
        s.Channel[c].Active = true;
        ++s.ChannelCount;
        s.MaxChannel = std::max<int16_t>(s.MaxChannel, int16_t(c));
    }
    s.LastChannel = s.MaxChannel;
    return s;
}

// A results grid as the measurement screen shows it: titles, units, then `results` rows
// whose cells read "r<row>c<col>".
inline void FillResultGrid(GridModel& grid, int cols, int results)
{
    const QStringList titles = {"No.",   "Date Time", "Load P0",  "Disp. D0", "K-NWR",
                                "E-NWR", "Disp. D1",  "Disp. D2", "Disp. D3", "Disp. D4"};
    const QStringList units = {"", "", "N", "mm", "MN/m3", "MN/m2", "mm", "mm", "mm", "mm"};
    grid.SetCols(cols);
    grid.SetRows(results + 2);
    for (int c = 0; c < cols; ++c) {
        grid.SetText(0, c, titles[c]);
        grid.SetText(1, c, units[c]);
        for (int r = 2; r < results + 2; ++r)
            grid.SetText(r, c, QStringLiteral("r%1c%2").arg(r).arg(c));
    }
}

} // namespace fixtures
