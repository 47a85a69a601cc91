#pragma once

// From file to page: ReadDayFile reads a day; the table model (DayTableModel) reviews it once
// into a ReviewedDay, shared with every output; each choice of rows becomes a DaySelection
// with its figures (ReviewedDay::Select). The statistics view (StatisticsModel), the chart
// (BuildDayChart), the report (PrintDayReport), the workbook (WriteDayWorkbook) and the
// clipboard (TableTabText) read those two and write them with the texts of DayTexts.h.

#include "DayColumns.h"
#include "DayStatistics.h"

#include <QString>
#include <cstdint>
#include <vector>

// What an output covers, with its figures: the rows chosen, or the whole day when none are.
struct DaySelection {
    std::vector<int> Chosen;  // indices into the day's rows, in the order shown
    std::vector<int> Covered; // the chosen rows, or every row in the file's order
    bool MixesFormulas = false;
    std::vector<Quantity> Quantities;         // P0, D0, K, E (of each formula apart) ...
    std::vector<ColumnStatistics> Statistics; // one per quantity, of the rows covered
    bool WholeDay() const { return Chosen.empty(); }
};

// A day as the review program shows it: the file, read once, and what every output of it
// shares (the columns with their headings in the program's language, the whole day's
// figures and the rows whose K or E stands out in them), worked out once. The window keeps
// it behind a shared pointer, so that an output still running holds the day it began with.
class ReviewedDay
{
public:
    ReviewedDay(DayFile file, UiLanguage uiLanguage);

    const DayFile& File() const { return m_file; }
    UiLanguage Language() const { return m_language; }
    const std::vector<ReviewColumn>& Columns() const { return m_columns; }
    int Results() const { return int(m_file.Rows.size()); }
    bool Marked(int row) const { return m_marked.at(row); }
    bool MixesFormulas() const { return m_wholeDay.MixesFormulas; }

    // The `chosen` rows (indices into the day's rows) with their statistics; the whole day's
    // when none are chosen.
    DaySelection Select(std::vector<int> chosen) const;

private:
    DayFile m_file;
    UiLanguage m_language;
    std::vector<ReviewColumn> m_columns;
    DaySelection m_wholeDay;
    std::vector<bool> m_marked;
};
