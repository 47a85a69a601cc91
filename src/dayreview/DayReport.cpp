#include "DayReport.h"

#include "DayChart.h"
#include "DayTexts.h"
#include "outputs/PagePlot.h"

#include "printing/PageFlow.h"

#include <algorithm>

namespace
{

using namespace Sheet;

constexpr float FirstTableTop = 40.0f;
constexpr float MarkWidth = 5.0f;
constexpr float ChartHeight = 110.0f;
constexpr float BlockGap = 8.0f;
constexpr int TableSize = 8;

// The caption, the heading row, one row per quantity and the line under them.
float StatisticsHeight(int quantities)
{
    return Pitch * (quantities + 3) + 1.0f + BlockGap;
}

QStringList Trimmed(QStringList cells)
{
    for (QString& cell : cells)
        cell = cell.trimmed();
    return cells;
}

void DrawChart(PrintPage& page, const DayChartData& chart, float top)
{
    page.SetFontSize(8);
    const float x0 = Left + 18.0f, x1 = Right - 5.0f;
    const float y0 = top + 10.0f, y1 = top + ChartHeight - 20.0f;
    const PagePlot plot{x0, x1, y0, y1, chart.X, chart.Y};
    const auto px = [&](double x) { return plot.PageX(x); };
    const auto py = [&](double y) { return plot.PageY(y); };
    DrawPlotFrame(page, plot);
    page.Text((x0 + x1) / 2 - page.TextWidth(chart.XTitle) / 2, y1 + 7.0f, chart.XTitle);

    float legendX = x0;
    for (const ChartSeries& s : chart.Series) {
        for (size_t i = 0; i < s.Points.size(); ++i) {
            const float x = px(s.Points[i].x()), y = py(s.Points[i].y());
            page.Box(x - 0.6f, y - 0.6f, x + 0.6f, y + 0.6f, s.Colour);
            if (i > 0)
                page.Line(px(s.Points[i - 1].x()), py(s.Points[i - 1].y()), x, y, s.Colour);
        }
        if (s.HasMean) {
            // Dashed, so that the mean is not taken for a measured line.
            for (float x = x0; x < x1; x += 3.0f)
                page.Line(x, py(s.Mean), std::min(x + 1.5f, x1), py(s.Mean), s.Colour);
        }
        page.Line(legendX, top + 4.0f, legendX + 6.0f, top + 4.0f, s.Colour);
        const QString& name = s.MeanLabel;
        page.Text(legendX + 7.5f, top + 2.2f, name);
        legendX += 7.5f + page.TextWidth(name) + 8.0f;
    }
}

// The title, the day's table over as many sheets as it needs, its marks' legend, the
// statistics and the chart.
bool LayDay(PageFlow& flow, const ReviewedDay& day, const DaySelection& selection)
{
    PrintPage& page = flow.Page();
    const UiLanguage language = day.Language();
    const DayFile& file = day.File();
    page.SetFontSize(14);
    flow.Text(Left, DayTitle(day, selection), 0.0f);
    page.SetFontSize(9);
    flow.Text(Left, DaySettingsText(day), 10.0f);
    if (!file.Skipped.empty())
        flow.Text(Left,
                  Tr(language, "読めない行 %1 行は含まれていません。",
                     "%1 unreadable line(s) are not included.")
                      .arg(file.Skipped.size()),
                  15.0f);
    flow.Down(FirstTableTop - Top);

    page.SetFontSize(TableSize);
    QStringList heading{QString()};
    for (const ReviewColumn& c : day.Columns())
        heading << c.Heading;
    std::vector<QStringList> cells{Trimmed(heading)};
    for (int r : selection.Covered) {
        QStringList row{day.Marked(r) ? QStringLiteral("*") : QString()};
        for (const ReviewColumn& c : day.Columns())
            row << CellText(file.Rows[size_t(r)], c);
        cells.push_back(Trimmed(row));
    }
    FlowTable table{SpreadWidths(page, cells, Right - Left), {}, {}, {}};
    table.Widths.front() = MarkWidth;
    for (const QStringList& row : cells) {
        table.Rows.push_back(OneLineRow(row));
        table.Align.push_back(LeftThenRight(table.Widths.size(), 2));
    }
    if (!flow.Table(table))
        return false;
    flow.Text(Left, QStringLiteral("* ") + MarkLegend(day), 1.0f);
    flow.Down(BlockGap + Pitch);

    if (!flow.Need(StatisticsHeight(int(selection.Quantities.size()))))
        return false;
    page.SetFontSize(10);
    flow.Text(Left, StatisticsCaption(day, selection), 0.0f);
    flow.Down(Pitch + 1.0f);
    page.SetFontSize(TableSize);
    std::vector<QStringList> statCells{Trimmed(StatisticsHeadings(language))};
    for (QStringList& line : StatisticsLines(day, selection))
        statCells.push_back(Trimmed(std::move(line)));
    const std::vector<float> statWidths = SpreadWidths(page, statCells, Right - Left);
    for (const QStringList& row : statCells)
        flow.Row(statWidths, OneLineRow(row),
                 &row == &statCells.front()
                     ? std::vector<CellAlign>(statWidths.size(), CellAlign::Centre)
                     : LeftThenRight(statWidths.size(), 1));
    flow.Text(Left, FormulaNote(day, selection), 1.0f);
    flow.Down(Pitch + BlockGap);

    if (!flow.Need(ChartHeight))
        return false;
    if (flow.Drawing())
        DrawChart(page, BuildDayChart(day, selection), flow.Y());
    return true;
}

} // namespace

bool PrintDayReport(PrintPage& page, const ReviewedDay& day, const DaySelection& selection,
                    const QString& fontName)
{
    if (!page.Begin(PageSetup{PageOrientation::Portrait, fontName, 0.0f}))
        return false;
    const bool drawn = DrawPageFlow(page, day.Language(),
                                    [&](PageFlow& flow) { return LayDay(flow, day, selection); });
    return page.End() && drawn;
}
