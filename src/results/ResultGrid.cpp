#include "ResultGrid.h"

#include "record/ResultComputation.h"
#include "record/ResultsTable.h"

#include "record/LoggerSettings.h"
#include "shell/Formatting.h"
#include "shell/GridModel.h"

#include <algorithm>

namespace
{

constexpr int FirstDataRow = 2;
const Qt::Alignment ValueAlignment = Qt::AlignRight | Qt::AlignVCenter;

// Writes a value cell; cells of an earlier fill may have had another size or alignment.
void PutValue(GridModel& grid, int col, int row, const QString& text, double fontSize)
{
    if (col >= grid.Cols())
        return; // the grid was laid out for fewer channels
    grid.PutCell(col, row, text);
    grid.SetAlignment(row, col, ValueAlignment);
    grid.SetCellFontSize(row, col, fontSize);
}

void PutGroundValue(GridModel& grid, int col, int row, double value, const QString& format,
                    double fontSize)
{
    if (value < 0.0)
        PutValue(grid, col, row, QStringLiteral(" Calc Error"), fontSize - CalcErrorFontStep);
    else
        PutValue(grid, col, row, FormatNumber(value, format), fontSize);
}

} // namespace

void FillResultGrid(GridModel& grid, const ResultsTable& table, const LoggerSettings& settings,
                    int dataRowHeight)
{
    const double fontSize = grid.FontSize();
    const int count = std::clamp<int>(table.ResultCount, 0, ResultsTable::Capacity);
    grid.SetRows(count + FirstDataRow);
    int row = FirstDataRow;
    for (int i = count - 1; i >= 0; --i) {
        const ResultEntry& e = table.Entries[i];
        if (e.No.isEmpty())
            continue;
        grid.SetRowHeight(row, dataRowHeight);
        grid.PutCell(0, row, e.No);
        grid.PutCell(1, row, e.DateTime);
        PutValue(grid, 2, row, FormatPositive(e.Answer[1], LoadFormat), fontSize);
        PutValue(grid, 3, row, FormatPositive(e.Answer[2], DisplacementFormat), fontSize);
        PutGroundValue(grid, 4, row, e.K, KFormat, fontSize);
        PutGroundValue(grid, 5, row, e.E, EFormat, fontSize);
        int col = 6;
        for (int ch = 3; ch <= LoggerSettings::LastChannelNumber; ++ch) {
            if (settings.Channel[ch].Active)
                PutValue(grid, col++, row, FormatPositive(e.Answer[ch], DisplacementFormat),
                         fontSize);
        }
        ++row;
    }
    // Rows left over by skipped entries must not show an earlier fill's values.
    for (; row < grid.Rows(); ++row) {
        for (int col = 0; col < grid.Cols(); ++col)
            grid.SetText(row, col, QString());
    }
}
