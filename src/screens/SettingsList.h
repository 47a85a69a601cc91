#pragma once

#include "shell/Bilingual.h"

#include <QString>
#include <cstdint>

class ClipboardSink;
class GridModel;
struct LoggerSettings;

// The settings display's table: eight general rows (sampling, record lengths, trigger,
// plate, Poisson's ratio, calculation type) and eight channel rows with one column per
// active channel.

inline constexpr int ListRows = 16;
inline constexpr int ListTitleWidth = 2000;      // twips, column 0
inline constexpr int ListChannelWidth = 910;     // twips, every channel column
inline constexpr int ListWindowExtra = 380;      // the window is this much wider than the table
inline constexpr int ListReturnFromRight = 1635; // the return button's left edge, from the right

// Widths of the table and the window and where the return button sits, twips.
struct ListGeometry {
    int TableWidth = 0;
    int WindowWidth = 0;
    int ReturnButtonLeft = 0;
};
ListGeometry ListGeometryFor(int16_t channelCount);

// Makes (row, col) current (column first, then row) and writes text into it; the cell
// stays current for an alignment that follows.
void PutListCell(GridModel& grid, int32_t col, int32_t row, const QString& text);

// Sizes the table and fills it: 16 rows, ChannelCount + 1 columns, the title column's
// width, the general rows and the channel rows.
void SetupListGrid(GridModel& grid, const LoggerSettings& settings, UiLanguage language);
void FillGeneralRows(GridModel& grid, const LoggerSettings& settings, UiLanguage language);
void FillChannelRows(GridModel& grid, const LoggerSettings& settings, UiLanguage language);

// The table's selection (the whole table when one cell is selected) as lines of cells
// with `tab` between every two cells, an empty cell keeping its place, CR LF after every
// line.
QString ListSelectionText(const GridModel& grid, const QString& tab);
// The C key: puts that text on the clipboard and leaves the selection as the operator made
// it; after a whole-table copy the bottom-right cell is current.
void CopyListSelection(GridModel& grid, ClipboardSink& clipboard, const QString& tab);
