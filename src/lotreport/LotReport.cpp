#include "LotReport.h"

#include "LotChart.h"
#include "LotRecord.h"
#include "LotTexts.h"
#include "outputs/PagePlot.h"
#include "siteplan/SitePlanDrawing.h"

#include "printing/PageFlow.h"

#include <algorithm>

namespace
{

using namespace Sheet;

constexpr float Gap = 6.0f;
constexpr float ChartHeight = 84.0f;
constexpr int TableSize = 8;
constexpr int BannerLines = 4; // of the draft's reason on each sheet; all of it on the first
constexpr uint32_t Red = 0xd01010;

// The draft's mark and its reason's lines boxed in red at the top of a sheet; where the
// sheet's content begins below them.
float DrawBanner(PrintPage& page, const QStringList& banner, bool drawing)
{
    const int size = page.FontSize();
    const float bottom = 7.0f + Pitch + 3.4f * float(banner.size() - 1) + 1.0f;
    if (drawing) {
        page.SetFontSize(12);
        page.Text(Left + 1.5f, 7.5f, banner.front());
        page.SetFontSize(8);
        for (int i = 1; i < banner.size(); ++i)
            page.Text(Left + 1.5f, 8.0f + Pitch + 3.4f * float(i - 1), banner.at(i));
        page.Box(Left, 6.5f, Right, bottom, Red);
        page.Box(Left - 0.3f, 6.2f, Right + 0.3f, bottom + 0.3f, Red);
    }
    page.SetFontSize(size);
    return std::max(Top, bottom + 4.0f);
}

// The table with its heading, again at the top of each further sheet; rows `framed` in red.
// Only the columns that may wrap do, in a smaller type where the others would not fit.
bool Table(PageFlow& s, const std::vector<QStringList>& cells, float width,
           const std::vector<bool>& wrapping, const std::vector<bool>& framed = {})
{
    PrintPage& page = s.Page();
    FlowTable table;
    for (int size = TableSize; size >= TableSize - 2; --size) {
        page.SetFontSize(size);
        bool fitted = true;
        table.Widths = WrappingWidths(page, cells, width, wrapping, &fitted);
        if (fitted)
            break;
    }
    for (size_t r = 0; r < cells.size(); ++r) {
        table.Rows.push_back(WrapRow(page, table.Widths, cells[r]));
        table.Align.push_back(NumbersRight(table.Rows.back()));
        table.Frames.push_back(r > 0 && framed.size() >= r && framed[r - 1] ? Red : Black);
    }
    const bool laid = s.Table(table);
    page.SetFontSize(TableSize);
    return laid;
}

bool Heading(PageFlow& s, const QString& text, float below)
{
    if (!s.Need(Pitch + below))
        return false;
    s.Page().SetFontSize(10);
    s.Text(Left, text);
    s.Down(Pitch + 1.0f);
    s.Page().SetFontSize(TableSize);
    return true;
}

// Label/value pairs in two columns, a value wrapping within its own.
void Pairs(PageFlow& s, const std::vector<QStringList>& pairs)
{
    PrintPage& page = s.Page();
    constexpr float Column = (Right - Left) / 2, LabelWidth = 30.0f;
    for (size_t i = 0; i < pairs.size(); i += 2) {
        int most = 1;
        for (size_t j = i; j < std::min(i + 2, pairs.size()); ++j) {
            const float x = Left + Column * float(j - i);
            const QStringList value = WrapText(page, pairs[j].at(1), Column - LabelWidth - 3.0f);
            s.Text(x, pairs[j].at(0));
            for (int l = 0; l < value.size(); ++l)
                s.Text(x + LabelWidth, value.at(l), 0.8f + 4.0f * float(l));
            most = std::max(most, int(value.size()));
        }
        s.Down(Pitch + 4.0f * float(most - 1));
    }
}

bool LayHeader(PageFlow& s, const LotSession& lot, const QDate& issued, UiLanguage language)
{
    PrintPage& page = s.Page();
    page.SetFontSize(14);
    s.Text(Left,
           Tr(language, "VX-2968 締固め管理 試験報告書", "VX-2968 Compaction Control Report"));
    s.Down(10.0f);
    page.SetFontSize(9);
    Pairs(s, RecordHeader(lot, issued, language));
    const QString remarks = HeaderValue(lot.Document().Header, HeaderField::Remarks);
    s.Text(Left, HeaderLabel(HeaderField::Remarks, language));
    s.Lines(Left + 30.0f, WrapText(page, remarks, Right - Left - 30.0f), 4.0f);
    s.Down(Gap / 2);
    Pairs(s, RecordRules(lot, language));
    const QString draft = DraftText(lot, language);
    if (!draft.isEmpty()) {
        s.Down(Gap / 2);
        s.Text(Left, DraftMark(language));
        s.Lines(Left + 30.0f, WrapText(page, draft, Right - Left - 30.0f), 4.0f);
    }
    s.Down(Gap / 2);
    return true;
}

bool LayDays(PageFlow& s, const LotSession& lot, UiLanguage language)
{
    if (!Heading(s, Tr(language, "日のファイル", "Day files"), Pitch * 2))
        return false;
    std::vector<QStringList> cells{DayHeadings(language)};
    for (const RecordDay& day : RecordDays(lot, language))
        cells.push_back(DayCells(day));
    return Table(s, cells, (Right - Left) * 0.85f, {true, true});
}

bool LayPoints(PageFlow& s, const LotSession& lot, UiLanguage language)
{
    if (!Heading(s, Tr(language, "測点", "Points"), Pitch * 2))
        return false;
    std::vector<QStringList> cells{PointHeadings(language)};
    std::vector<bool> failing;
    QStringList notes;
    for (int p = 0; p < int(lot.Points().size()); ++p) {
        cells.push_back(PointCells(lot, p, language));
        failing.push_back(lot.VerdictOf(p).Result == Verdict::Fail);
        const QString note = PointNote(lot.Points()[size_t(p)], language);
        if (!note.isEmpty())
            notes << Tr(language, "測点 %1: ", "Point %1: ").arg(p + 1) + note;
    }
    std::vector<bool> wrapping(size_t(cells.front().size()), false);
    wrapping[1] = wrapping.back() = true; // the location and the reason a point is left out
    if (!Table(s, cells, Right - Left, wrapping, failing))
        return false;
    for (const QString& note : notes) {
        if (!s.Need(Pitch))
            return false;
        s.Text(Left, note);
        s.Down(Pitch - 1.0f);
    }
    return true;
}

bool LayEdits(PageFlow& s, const LotSession& lot, UiLanguage language)
{
    if (!Heading(s, Tr(language, "手による変更", "Edits by hand"), Pitch * 2))
        return false;
    const std::vector<RecordEdit> edits = RecordEdits(lot, language);
    if (edits.empty()) {
        s.Text(Left, Tr(language, "なし", "none"));
        s.Down(Pitch);
        return true;
    }
    std::vector<QStringList> cells{EditHeadings(language)};
    for (const RecordEdit& e : edits)
        cells.push_back(EditCells(e, language));
    std::vector<bool> wrapping(size_t(cells.front().size()), false);
    wrapping.back() = true; // the reason
    return Table(s, cells, Right - Left, wrapping);
}

bool LaySummary(PageFlow& s, const LotSession& lot, UiLanguage language)
{
    PrintPage& page = s.Page();
    const std::vector<QStringList> summary = LotSummaryRows(lot, language);
    if (!Heading(s, Tr(language, "ロットのまとめ", "Lot summary"), Pitch * (summary.size() + 3)))
        return false;
    s.Text(Left, summary.front().join(QStringLiteral("   ")));
    s.Down(Pitch + 1.0f);
    const std::vector<QStringList> stats(summary.begin() + 1, summary.end());
    const std::vector<float> widths = WrappingWidths(page, stats, (Right - Left) * 0.8f);
    for (const QStringList& row : stats) {
        const FittedRow fitted = WrapRow(page, widths, row);
        s.Row(widths, fitted,
              &row == &stats.front() ? std::vector<CellAlign>(widths.size(), CellAlign::Centre)
                                     : NumbersRight(fitted));
    }
    page.SetFontSize(10);
    s.Down(2.0f);
    const QString draft = DraftText(lot, language);
    const QString verdict =
        draft.isEmpty()
            ? LotVerdictLine(lot, language)
            : DraftMark(language) + Tr(language, " — 下書きのためロットの判定はありません",
                                       " — a draft gives no verdict on the lot");
    s.Lines(Left, WrapText(page, verdict, Right - Left), Pitch);
    s.Down(Gap);
    return true;
}

void DashedLine(PrintPage& page, float x0, float x1, float y, uint32_t colour, float dash)
{
    for (float x = x0; x < x1; x += dash * 2)
        page.Line(x, y, std::min(x + dash, x1), y, colour);
}

constexpr double ChartMark = 1.0; // mm, the radius of a passed point's disc

// The points of a value with no requirement are not judged, and drawn so.
Verdict ShownAs(const LotChartData& c, bool failing)
{
    return failing ? Verdict::Fail : c.Required ? Verdict::Pass : Verdict::None;
}

void Level(PrintPage& page, const LotChartLine& line, float x0, float x1, float y)
{
    if (line.Dashed)
        DashedLine(page, x0, x1, y, line.Colour, 1.5f);
    else
        page.Line(x0, y, x1, y, line.Colour);
}

// Each series' sign and name in a row above the plot.
void Legend(PrintPage& page, const LotChartData& c, float x, float y)
{
    const auto name = [&](const QString& text) {
        page.Text(x + 6.0f, y - 1.6f, text);
        x += 10.0f + page.TextWidth(text);
    };
    PagePlanCanvas canvas(page);
    DrawVerdictMark(canvas, ShownAs(c, false), QPointF(x + 2.5f, y), ChartMark);
    name(c.PassingName);
    if (c.Required) {
        DrawVerdictMark(canvas, Verdict::Fail, QPointF(x + 2.5f, y), ChartMark);
        name(c.FailingName);
    }
    for (const LotChartLine& line : c.Lines) {
        Level(page, line, x, x + 5.0f, y);
        name(line.Name);
    }
}

void DrawChart(PageFlow& s, const LotChartData& c)
{
    PrintPage& page = s.Page();
    page.SetFontSize(8);
    const float top = s.Y();
    const float x0 = Left + 18.0f, x1 = Right - 5.0f, y0 = top + 12.0f,
                y1 = top + ChartHeight - 14.0f;
    const PagePlot plot{x0, x1, y0, y1, c.X, c.Y};
    page.Text(Left, top, c.Title);
    Legend(page, c, x0, top + 7.5f);
    DrawPlotFrame(page, plot);
    page.Text((x0 + x1) / 2 - page.TextWidth(c.XTitle) / 2, y1 + 6.5f, c.XTitle);
    for (const LotChartLine& line : c.Lines)
        Level(page, line, x0, x1, plot.PageY(line.Value));
    PagePlanCanvas canvas(page);
    for (bool failing : {false, true}) {
        for (const QPointF& p : failing ? c.Failing : c.Passing)
            DrawVerdictMark(canvas, ShownAs(c, failing),
                            QPointF(plot.PageX(p.x()), plot.PageY(p.y())), ChartMark);
    }
}

bool LayCharts(PageFlow& s, const LotSession& lot, UiLanguage language)
{
    const Requirement& need = lot.Document().Judgement.Need;
    for (bool modulus : {false, true}) {
        if (need.Any() ? !(modulus ? need.E : need.K) : modulus)
            continue; // the required values, or K when none is required
        if (!s.Need(ChartHeight))
            return false;
        if (s.Drawing())
            DrawChart(s, BuildLotChart(lot, modulus, language));
        s.Down(ChartHeight);
    }
    return true;
}

// The lines to sign, which close the record.
float SignaturesHeight(UiLanguage language)
{
    return Pitch + (Pitch + 4.0f) * float(SignLabels(language).size());
}

bool LaySignatures(PageFlow& s, UiLanguage language)
{
    PrintPage& page = s.Page();
    page.SetFontSize(10);
    const QStringList labels = SignLabels(language);
    if (!s.Need(SignaturesHeight(language)))
        return false;
    float width = 0.0f;
    for (const QString& label : labels)
        width = std::max(width, page.TextWidth(label));
    const QString date = SignDateLabel(language);
    for (const QString& label : labels) {
        s.Down(Pitch + 4.0f);
        s.Text(Left, label);
        if (!s.Drawing())
            continue;
        const float line = s.Y() + 4.5f;
        page.Line(Left + width + 3.0f, line, Left + 110.0f, line, Black);
        page.Text(Left + 115.0f, s.Y() + 0.8f, date);
        page.Line(Left + 117.0f + page.TextWidth(date), line, Right, line, Black);
    }
    return true;
}

// Where the places come from (each file by its hash, the clock, the reference system, the
// centreline) and each placed point's coordinates, its station, the spread of its drops and a
// moved plate.
bool LayPlaces(PageFlow& s, const LotSession& lot, UiLanguage language)
{
    if (!Heading(s, Tr(language, "測点の位置", "Places of the points"), Pitch * 3))
        return false;
    Pairs(s, RecordPlaceSettings(lot, language));
    const std::vector<RecordPlaceFile> files = RecordPlaceFiles(lot, language);
    if (!files.empty()) {
        s.Down(Gap / 2);
        std::vector<QStringList> cells{PlaceFileHeadings(language)};
        for (const RecordPlaceFile& file : files)
            cells.push_back(PlaceFileCells(file));
        if (!Table(s, cells, (Right - Left) * 0.7f, {true, false, false}))
            return false;
    }
    const std::vector<QStringList> points = RecordPointPlaces(lot, language);
    if (points.size() < 2)
        return true;
    s.Down(Gap);
    // A station's cell may say why the point has none, on lines of its own where it must.
    const QString station = Tr(language, "測点番号", "Station");
    std::vector<bool> wrapping;
    for (const QString& heading : points[0])
        wrapping.push_back(heading == station);
    const bool stations = points[0].contains(station);
    if (!Table(s, points, (Right - Left) * (stations ? 1.0f : 0.85f), wrapping))
        return false;
    const QString footnote = StationFootnote(lot, language);
    if (footnote.isEmpty())
        return true;
    if (!s.Need(Pitch))
        return false;
    s.Text(Left, footnote);
    s.Down(Pitch);
    return true;
}

// The site plan on a sheet of its own after the rest, under a heading naming the lot, with
// room left at its foot for the signatures.
bool LayPlan(PageFlow& s, const LotSession& lot, const SitePlanData& plan, UiLanguage language)
{
    const float bottom = Bottom - SignaturesHeight(language);
    if (!s.Need(Bottom))
        return false;
    QStringList names;
    for (const HeaderField field : {HeaderField::Site, HeaderField::Section, HeaderField::Layer}) {
        const QString value = HeaderValue(lot.Document().Header, field);
        if (!value.isEmpty())
            names << value;
    }
    const QString title = Tr(language, "測点の配置図", "Site plan of the points");
    if (!Heading(s,
                 names.isEmpty()
                     ? title
                     : title + QStringLiteral(" — ") + names.join(QStringLiteral(" / ")),
                 Pitch))
        return false;
    if (s.Drawing()) {
        PagePlanCanvas canvas(s.Page());
        DrawSitePlan(canvas, plan, QRectF(Left, s.Y(), Right - Left, bottom - s.Y()), language);
    }
    s.Down(bottom - s.Y());
    return true;
}

bool Lay(PageFlow& s, const LotSession& lot, const QDate& issued, UiLanguage language,
         const SitePlanData* plan)
{
    s.SetFooterNote(LotFooterNote(lot, issued, language));
    bool laid = LayHeader(s, lot, issued, language) && LayDays(s, lot, language);
    for (const auto& part : {LayPoints, LayEdits, LaySummary}) {
        s.Down(Gap);
        laid = laid && part(s, lot, language);
    }
    laid = laid && LayCharts(s, lot, language);
    if (lot.Places().HasSource()) {
        s.Down(Gap);
        laid = laid && LayPlaces(s, lot, language);
    }
    if (plan && HasPlacedPoint(*plan))
        laid = laid && LayPlan(s, lot, *plan, language);
    return laid && LaySignatures(s, language);
}

// The draft's mark and its reason's lines, for the top of every sheet; empty for a final
// record.
QStringList Banner(PrintPage& page, const LotSession& lot, UiLanguage language)
{
    const QString draft = DraftText(lot, language);
    if (draft.isEmpty())
        return {};
    page.SetFontSize(8);
    QStringList lines = WrapText(page, draft, Right - Left - 3.0f);
    if (lines.size() > BannerLines)
        lines = lines.mid(0, BannerLines - 1)
                << Tr(language, "(全文は 1 ページ目)", "(in full on page 1)");
    return QStringList{DraftMark(language)} + lines;
}

} // namespace

bool PrintLotReport(PrintPage& page, const LotSession& lot, const QDate& issued,
                    UiLanguage language, const QString& fontName, const SitePlanData* plan)
{
    if (!page.Begin(PageSetup{PageOrientation::Portrait, fontName, 0.0f}))
        return false;
    const QStringList banner = Banner(page, lot, language);
    PageFlow::Head head;
    if (!banner.isEmpty())
        head = [&](PrintPage& sheet, bool drawing) { return DrawBanner(sheet, banner, drawing); };
    const bool drawn = DrawPageFlow(
        page, language, [&](PageFlow& s) { return Lay(s, lot, issued, language, plan); }, head);
    return page.End() && drawn;
}
