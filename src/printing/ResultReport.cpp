#include "ResultReport.h"

#include "GridSelection.h"
#include "mdlPublicPrint.h"

#include "shell/Bilingual.h"
#include "shell/Clock.h"
#include "shell/Formatting.h"
#include "shell/Globals.h"
#include "shell/GridModel.h"

namespace
{

constexpr float TableLeft = 20.0f;
constexpr float RowPitch = 5.0f;
constexpr float TitleX = 10.0f;
constexpr float DateX = 160.0f;
constexpr float TitleY = 8.0f;
constexpr int MaxPortraitColumns = 8;
// A continuation sheet starts its rows where the first sheet starts its block.
constexpr float ContinuationTop = 20.0f;
// Rows stop this far above the bottom edge: most printers cannot print closer.
constexpr float BottomBorder = 10.0f;

constexpr int TitleRow = 0;
constexpr int UnitRow = 1;
constexpr int KColumn = 4;
constexpr int EColumn = 5;

void PrintCell(mdlPublicPrint& print, const GridModel& grid, int r, int c, float x, float y)
{
    constexpr int16_t size = mdlPublicPrint::TextSize;
    constexpr int16_t index = mdlPublicPrint::IndexSize;
    const float w = ReportColumnWidth(c);
    const QString text = grid.Text(r, c);
    if (r == TitleRow) {
        if (c == KColumn || c == EColumn) {
            // K and E with a lowered "NWR", whatever the grid cells hold.
            print.PrintTextRight(x + w / 2, y, size, c == KColumn ? "K" : "E");
            print.PrintTextLeft(x + w / 2, y + 1.5f, index, QStringLiteral("NWR"));
        } else if (!text.isEmpty()) {
            print.PrintTextCenter(x + w / 2, y, size, text);
        }
        return;
    }
    if (r == UnitRow) {
        if (c == KColumn || c == EColumn) {
            print.PrintTextRight(x + w / 2 + 3, y, size, QStringLiteral("MN/m"));
            print.PrintTextLeft(x + w / 2 + 3, y, index, c == KColumn ? "3" : "2");
        } else if (!text.isEmpty()) {
            print.PrintTextCenter(x + w / 2, y, size, text);
        }
        return;
    }
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return;
    if (c == 0)
        print.PrintTextLeft(x + 0.5f, y, size, trimmed);
    else if (c == 1)
        print.PrintTextCenter(x + w / 2, y, size, trimmed);
    else
        print.PrintTextRight(x + w - 1.5f, y, size, trimmed);
}

} // namespace

float ReportColumnWidth(int col)
{
    if (col == 0)
        return 10.0f;
    if (col == 1)
        return 40.0f;
    if (col <= 5)
        return 20.0f;
    return 22.0f;
}

PageOrientation ReportOrientation(const GridRange& range)
{
    return range.LastCol - range.FirstCol + 1 <= MaxPortraitColumns ? PageOrientation::Portrait
                                                                    : PageOrientation::Landscape;
}

void PrintResultTable(PrintPage& page, const GridModel& grid, int firstCol, int lastCol,
                      int firstRow, int lastRow, const LoggerSettings& settings, const Globals& g,
                      const Clock& clock)
{
    mdlPublicPrint print(page, g);
    constexpr int16_t size = mdlPublicPrint::TextSize;
    print.PrintTextLeft(TitleX, TitleY, size,
                        Tr(g.UiLanguage, "QL-860H用データ処理ソフトウェア VX-2968 計測データ",
                           "VX-2968 Data Measuring Software for QL-860H Measured Data."));
    print.PrintTextLeft(DateX, TitleY, size, FormatDateTimeText(clock.Now(), g.UiLanguage));

    float valueX = 62;
    float y = 20;
    y = print.PrintTestCondition(settings, valueX, y, 20, size) + RowPitch;

    // The lowest row whose box still ends inside the sheet's printable part.
    const float lastRowY = page.SheetHeight() - BottomBorder - 4;
    for (int r = firstRow; r <= lastRow; ++r) {
        if (y > lastRowY && page.NewPage())
            y = ContinuationTop;
        float x = TableLeft;
        for (int c = firstCol; c <= lastCol; ++c) {
            const float w = ReportColumnWidth(c);
            print.PrintBox(x, y - 1, x + w, y + 4, mdlPublicPrint::Black);
            PrintCell(print, grid, r, c, x, y);
            x += w;
        }
        y += RowPitch;
    }
}

bool PrintResults(PrintPage& page, GridModel& grid, const LoggerSettings& settings,
                  const Globals& g, const Clock& clock)
{
    const SavedSelection before = SavedSelection::Of(grid);
    const GridRange range = grid.ChosenRange();
    mdlPublicPrint print(page, g);
    if (!page.Begin(print.Setup(ReportOrientation(range))))
        return false;
    PrintResultTable(page, grid, range.FirstCol, range.LastCol, range.FirstRow, range.LastRow,
                     settings, g, clock);
    const bool printed = page.End();
    SettleSelection(grid, range, before);
    return printed;
}
