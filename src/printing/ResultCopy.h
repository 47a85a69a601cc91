#pragma once

#include <QString>

class ClipboardSink;
class GridModel;
struct Globals;
struct LoggerSettings;

// The clipboard copy of the results grid: the test conditions and the amp input
// settings as tab-separated lines, then the chosen cells, one grid row per line, every
// line ending in CR LF.

// The text of the copy of columns firstCol..lastCol, rows firstRow..lastRow.
QString ResultCopyText(const GridModel& grid, int firstCol, int lastCol, int firstRow, int lastRow,
                       const LoggerSettings& settings, const Globals& g, const QString& dailyFile);

// Puts that text on the clipboard in place of what it held.
void CopyResultText(ClipboardSink& clipboard, const GridModel& grid, int firstCol, int lastCol,
                    int firstRow, int lastRow, const LoggerSettings& settings, const Globals& g,
                    const QString& dailyFile);

// The C key of the results grid: copies the selection (the whole grid when one cell is
// selected) and leaves the selection as the operator made it; after a whole-grid copy the
// bottom-right cell is current.
void CopyResults(ClipboardSink& clipboard, GridModel& grid, const LoggerSettings& settings,
                 const Globals& g, const QString& dailyFile);
