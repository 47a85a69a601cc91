#include "DayProtocol.h"

#include "DayChart.h"
#include "DayTexts.h"
#include "outputs/PagePlot.h"

#include <algorithm>

namespace
{

constexpr float Left = 15.0f;
constexpr float Right = 195.0f;
constexpr float Top = 15.0f;
constexpr float Bottom = 275.0f; // lowest row end; the page number sits below
constexpr float FooterY = 286.0f;
constexpr float Pitch = 5.0f;
constexpr float FirstTableTop = 40.0f;
constexpr float MarkWidth = 5.0f;
constexpr float ChartHeight = 110.0f;
constexpr float BlockGap = 8.0f;
constexpr int TableSize = 8;
constexpr uint32_t Black = 0x000000;

int RowsBetween(float top)
{
    return int((Bottom - top - Pitch) / Pitch); // less the heading row
}

// The caption, the heading row, one row per quantity and the line under them.
float StatisticsHeight(int quantities)
{
    return Pitch * (quantities + 3) + 1.0f + BlockGap;
}

// A row of boxed cells; text left in the first `leftCells` cells, right in the others;
// a heading (leftCells -1) centred.
void Row(PrintPage& page, float y, const std::vector<float>& widths, const QStringList& cells,
         int leftCells)
{
    float x = Left;
    for (size_t i = 0; i < widths.size(); ++i) {
        page.Box(x, y, x + widths[i], y + Pitch, Black);
        const QString text = i < size_t(cells.size()) ? cells.at(int(i)).trimmed() : QString();
        if (leftCells < 0)
            page.Text(x + (widths[i] - page.TextWidth(text)) / 2, y + 0.8f, text);
        else if (int(i) < leftCells)
            page.Text(x + 1.0f, y + 0.8f, text);
        else
            page.Text(x + widths[i] - 1.0f - page.TextWidth(text), y + 0.8f, text);
        x += widths[i];
    }
}

// Widths that fit the widest text of each column, spread to the full line when narrower.
std::vector<float> Widths(PrintPage& page, const std::vector<QStringList>& rows)
{
    std::vector<float> w;
    for (const QStringList& row : rows) {
        w.resize(std::max(w.size(), size_t(row.size())), 0.0f);
        for (int i = 0; i < row.size(); ++i)
            w[i] = std::max(w[i], page.TextWidth(row.at(i).trimmed()) + 2.5f);
    }
    float sum = 0.0f;
    for (float x : w)
        sum += x;
    const float scale = (Right - Left) / std::max(sum, 1.0f);
    for (float& x : w)
        x *= scale;
    return w;
}

void Footer(PrintPage& page, int pageIndex, int pages, UiLanguage language)
{
    page.SetFontSize(9);
    const QString text =
        Tr(language, "%1 / %2 ページ", "Page %1 of %2").arg(pageIndex + 1).arg(pages);
    page.Text((Left + Right) / 2 - page.TextWidth(text) / 2, FooterY, text);
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

} // namespace

DayProtocolPlan PlanDayProtocol(int rows, int quantities)
{
    DayProtocolPlan plan;
    int left = rows;
    float top = FirstTableTop;
    do {
        const int here = std::min(left, RowsBetween(top));
        plan.RowsOnPage.push_back(here);
        left -= here;
        if (left > 0)
            top = Top;
    } while (left > 0);
    float y = top + Pitch * (plan.RowsOnPage.back() + 1) + BlockGap + Pitch; // the mark note
    int page = int(plan.RowsOnPage.size()) - 1;
    if (y + StatisticsHeight(quantities) > Bottom) {
        ++page;
        y = Top;
    }
    plan.StatisticsPage = page;
    y += StatisticsHeight(quantities);
    if (y + ChartHeight > Bottom) {
        ++page;
        y = Top;
    }
    plan.ChartPage = page;
    plan.Pages = page + 1;
    return plan;
}

bool PrintDayProtocol(PrintPage& page, const ReviewedDay& day, const DaySelection& selection,
                      const QString& fontName)
{
    if (!page.Begin(PageSetup{PageOrientation::Portrait, fontName, 0.0f}))
        return false;
    const UiLanguage language = day.Language();
    const DayFile& file = day.File();
    const std::vector<ReviewColumn>& columns = day.Columns();
    const DayProtocolPlan plan =
        PlanDayProtocol(int(selection.Covered.size()), int(selection.Quantities.size()));

    page.SetFontSize(14);
    page.Text(Left, Top, DayTitle(day, selection));
    page.SetFontSize(9);
    page.Text(Left, Top + 10.0f, DaySettingsText(day));
    if (!file.Skipped.empty())
        page.Text(Left, Top + 15.0f,
                  Tr(language, "読めない行 %1 行は含まれていません。",
                     "%1 unreadable line(s) are not included.")
                      .arg(file.Skipped.size()));

    page.SetFontSize(TableSize);
    QStringList heading{QString()};
    for (const ReviewColumn& c : columns)
        heading << c.Heading;
    std::vector<QStringList> cells{heading};
    for (int r : selection.Covered) {
        QStringList row{day.Marked(r) ? QStringLiteral("*") : QString()};
        for (const ReviewColumn& c : columns)
            row << CellText(file.Rows[r], c);
        cells.push_back(row);
    }
    std::vector<float> widths = Widths(page, cells);
    widths.front() = MarkWidth;

    int pageIndex = 0;
    size_t next = 1;
    float y = FirstTableTop;
    for (int onPage : plan.RowsOnPage) {
        if (pageIndex > 0) {
            Footer(page, pageIndex - 1, plan.Pages, language);
            page.SetFontSize(TableSize);
            if (!page.NewPage())
                return page.End() && false;
            y = Top;
        }
        Row(page, y, widths, cells.front(), -1);
        y += Pitch;
        for (int i = 0; i < onPage; ++i, ++next) {
            Row(page, y, widths, cells[next], 2);
            y += Pitch;
        }
        ++pageIndex;
    }
    page.Text(Left, y + 1.0f, QStringLiteral("* ") + MarkLegend(day));
    y += BlockGap + Pitch;

    auto moveTo = [&](int target) {
        while (pageIndex - 1 < target) {
            Footer(page, pageIndex - 1, plan.Pages, language);
            if (!page.NewPage())
                return false;
            ++pageIndex;
            y = Top;
        }
        return true;
    };
    if (!moveTo(plan.StatisticsPage))
        return page.End() && false;
    page.SetFontSize(10);
    page.Text(Left, y, StatisticsCaption(day, selection));
    y += Pitch + 1.0f;
    page.SetFontSize(TableSize);
    std::vector<QStringList> statCells{StatisticsHeadings(language)};
    for (QStringList& line : StatisticsLines(day, selection))
        statCells.push_back(std::move(line));
    const std::vector<float> statWidths = Widths(page, statCells);
    for (const QStringList& row : statCells) {
        Row(page, y, statWidths, row, &row == &statCells.front() ? -1 : 1);
        y += Pitch;
    }
    page.Text(Left, y + 1.0f, FormulaNote(day, selection));
    y += Pitch + BlockGap;

    if (!moveTo(plan.ChartPage))
        return page.End() && false;
    DrawChart(page, BuildDayChart(day, selection), y);
    Footer(page, pageIndex - 1, plan.Pages, language);
    return page.End();
}
