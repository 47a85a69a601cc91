#pragma once

class GridModel;
struct LoggerSettings;
struct ResultsTable;

// The text of an undefined K or E in the grid, and how much smaller its font is.
inline constexpr double CalcErrorFontStep = 2.0;

// Writes the results table into the results grid below its two heading rows, newest
// first: No, date and time, P0, D0, K, E, then one displacement per active channel from
// CH3 on. Every data row gets `dataRowHeight` twips.
void FillResultGrid(GridModel& grid, const ResultsTable& table, const LoggerSettings& settings,
                    int dataRowHeight);
