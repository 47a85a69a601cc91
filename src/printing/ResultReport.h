#pragma once

#include "PrintPage.h"

class Clock;
class GridModel;
struct Globals;
struct GridRange;
struct LoggerSettings;

// The measured-data report: a title with the time of printing, the test-condition block,
// then the chosen cells of the results grid as a table of ruled boxes.

// Portrait up to eight columns, landscape for more.
PageOrientation ReportOrientation(const GridRange& range);

// Prints the grid's selection (the whole grid when one cell is selected) and leaves the
// selection as the operator made it; after a whole-grid printout the bottom-right cell is
// current. False when the page could not be printed.
bool PrintResults(PrintPage& page, GridModel& grid, const LoggerSettings& settings,
                  const Globals& g, const Clock& clock);

// Draws the report of columns firstCol..lastCol and rows firstRow..lastRow on a page that
// has been begun. Rows that would run off the sheet continue on a new one.
void PrintResultTable(PrintPage& page, const GridModel& grid, int firstCol, int lastCol,
                      int firstRow, int lastRow, const LoggerSettings& settings, const Globals& g,
                      const Clock& clock);

// Report column widths in millimetres, by grid column.
float ReportColumnWidth(int col);
