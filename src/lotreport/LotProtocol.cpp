#include "LotProtocol.h"

#include "LotChart.h"
#include "LotRecord.h"
#include "LotTexts.h"
#include "outputs/PagePlot.h"
#include "siteplan/SitePlanDrawing.h"

#include "shell/Formatting.h"

#include <algorithm>

namespace
{

constexpr float Left = 15.0f;
constexpr float Right = 195.0f;
constexpr float Top = 15.0f;
constexpr float Bottom = 275.0f;
constexpr float FooterY = 286.0f;
constexpr float Pitch = 5.0f;
constexpr float LinePitch = 3.6f; // a further line of a wrapped cell at the table's size
constexpr float Gap = 6.0f;
constexpr float ChartHeight = 84.0f;
constexpr int TableSize = 8;
constexpr int BannerLines = 4; // of the draft's reason on each sheet; all of it on the first
constexpr uint32_t Black = 0x000000;
constexpr uint32_t Red = 0xd01010;

// Lays the protocol out twice: once to count the sheets, once to draw with "Page n of N".
// A draft carries its mark and reason at the top of every sheet.
class Sheets
{
public:
    Sheets(PrintPage& page, UiLanguage language, int pages, QStringList banner)
        : m_page(page), m_language(language), m_pages(pages), m_banner(std::move(banner))
    {
        StartSheet();
    }
    bool Drawing() const { return m_pages > 0; }
    int Count() const { return m_index + 1; }
    float Y() const { return m_y; }
    bool AtTop() const { return m_y == m_top; }
    void Down(float h) { m_y += h; }
    PrintPage& Page() { return m_page; }

    // Room for `h` millimetres on this sheet, or a fresh sheet.
    bool Need(float h)
    {
        if (m_y + h <= Bottom || AtTop())
            return true;
        Footer();
        ++m_index;
        if (Drawing() && !m_page.NewPage())
            return false;
        StartSheet();
        return true;
    }
    void Footer()
    {
        if (!Drawing())
            return;
        const int size = m_page.FontSize();
        m_page.SetFontSize(9);
        const QString text =
            Tr(m_language, "%1 / %2 ページ", "Page %1 of %2").arg(m_index + 1).arg(m_pages);
        m_page.Text((Left + Right) / 2 - m_page.TextWidth(text) / 2, FooterY, text);
        m_page.SetFontSize(size);
    }
    void Text(float x, const QString& text, float dy = 0.8f)
    {
        if (Drawing())
            m_page.Text(x, m_y + dy, text);
    }
    // Wrapped lines from `x` to the right edge, `pitch` apart.
    void Lines(float x, const QStringList& lines, float pitch)
    {
        for (const QString& line : lines) {
            Text(x, line);
            Down(pitch);
        }
    }

private:
    void StartSheet()
    {
        m_y = Top;
        if (m_banner.isEmpty()) {
            m_top = m_y;
            return;
        }
        const int size = m_page.FontSize();
        const float bottom = 7.0f + Pitch + 3.4f * float(m_banner.size() - 1) + 1.0f;
        if (Drawing()) {
            m_page.SetFontSize(12);
            m_page.Text(Left + 1.5f, 7.5f, m_banner.front());
            m_page.SetFontSize(8);
            for (int i = 1; i < m_banner.size(); ++i)
                m_page.Text(Left + 1.5f, 8.0f + Pitch + 3.4f * float(i - 1), m_banner.at(i));
            m_page.Box(Left, 6.5f, Right, bottom, Red);
            m_page.Box(Left - 0.3f, 6.2f, Right + 0.3f, bottom + 0.3f, Red);
        }
        m_page.SetFontSize(size);
        m_y = std::max(Top, bottom + 4.0f);
        m_top = m_y;
    }

    PrintPage& m_page;
    UiLanguage m_language;
    int m_pages;          // 0 while counting
    QStringList m_banner; // the draft's mark, then its reason's lines
    int m_index = 0;
    float m_y = Top;
    float m_top = Top;
};

// The text in lines no wider than `width`, broken at spaces where it can be and anywhere
// in a word (or a Japanese sentence) that is wider itself.
QStringList Wrap(const PrintPage& page, const QString& text, float width)
{
    if (page.TextWidth(text) <= width)
        return {text};
    QStringList lines;
    QString line;
    for (const QChar c : text) {
        line += c;
        if (line.size() < 2 || c == QLatin1Char(' ') || page.TextWidth(line) <= width)
            continue;
        const qsizetype space = line.lastIndexOf(QLatin1Char(' '), line.size() - 2);
        const qsizetype cut = space > 0 ? space : line.size() - 1;
        lines << line.left(cut).trimmed();
        line = line.mid(space > 0 ? cut + 1 : cut);
    }
    if (!line.trimmed().isEmpty() || lines.isEmpty())
        lines << line.trimmed();
    return lines;
}

constexpr float NarrowestWrapped = 16.0f;

// Each column as wide as its widest cell. Where they do not fit, the columns that may wrap
// (`wrapping`, or all when those cannot take it: `fitted` false) are narrowed to one width
// and the rest keep theirs. Spare room widens them all alike.
std::vector<float> Widths(const PrintPage& page, const std::vector<QStringList>& rows, float width,
                          std::vector<bool> wrapping = {}, bool* fitted = nullptr)
{
    std::vector<float> w;
    for (const QStringList& row : rows) {
        w.resize(std::max(w.size(), size_t(row.size())), 0.0f);
        for (int i = 0; i < row.size(); ++i)
            w[size_t(i)] = std::max(w[size_t(i)], page.TextWidth(row.at(i)) + 2.5f);
    }
    wrapping.resize(w.size(), false);
    float sum = 0.0f, fixed = 0.0f;
    std::vector<float> narrowed;
    for (size_t i = 0; i < w.size(); ++i) {
        sum += w[i];
        if (wrapping[i])
            narrowed.push_back(w[i]);
        else
            fixed += w[i];
    }
    if (sum <= width) {
        for (float& x : w)
            x *= width / std::max(sum, 1.0f);
        return w;
    }
    if (narrowed.empty() || fixed + NarrowestWrapped * float(narrowed.size()) > width) {
        if (fitted)
            *fitted = false;
        narrowed = w;
        fixed = 0.0f;
        wrapping.assign(w.size(), true);
    }
    std::sort(narrowed.begin(), narrowed.end());
    float below = 0.0f, cap = (width - fixed) / float(narrowed.size());
    for (size_t i = 0; i < narrowed.size(); ++i) {
        const float rest = (width - fixed - below) / float(narrowed.size() - i);
        if (narrowed[i] > rest) {
            cap = rest;
            break;
        }
        below += narrowed[i];
    }
    for (size_t i = 0; i < w.size(); ++i)
        w[i] = wrapping[i] ? std::min(w[i], cap) : w[i];
    return w;
}

// A row's cells wrapped to their columns, and the height that takes.
struct FittedRow {
    std::vector<QStringList> Lines;
    float Height = Pitch;
};

FittedRow Fit(const PrintPage& page, const std::vector<float>& widths, const QStringList& cells)
{
    FittedRow row;
    for (size_t i = 0; i < widths.size(); ++i) {
        row.Lines.push_back(Wrap(page, cells.value(int(i)), widths[i] - 2.0f));
        row.Height = std::max(row.Height, Pitch + LinePitch * float(row.Lines.back().size() - 1));
    }
    return row;
}

// A row of boxed cells, numbers right and other texts left (a heading centred); `frame`
// other than black frames the whole row in that colour.
void Row(Sheets& s, const std::vector<float>& widths, const FittedRow& row, bool heading,
         uint32_t frame = Black)
{
    PrintPage& page = s.Page();
    float x = Left;
    for (size_t i = 0; s.Drawing() && i < widths.size(); ++i) {
        page.Box(x, s.Y(), x + widths[i], s.Y() + row.Height, Black);
        double number = 0.0;
        const bool left = !ParseNumber(row.Lines[i].value(0), &number);
        for (int l = 0; l < row.Lines[i].size(); ++l) {
            const QString& text = row.Lines[i].at(l);
            const float w = page.TextWidth(text);
            const float tx = heading ? x + (widths[i] - w) / 2
                             : left  ? x + 1.0f
                                     : x + widths[i] - 1.0f - w;
            page.Text(tx, s.Y() + 0.8f + LinePitch * float(l), text);
        }
        x += widths[i];
    }
    if (s.Drawing() && frame != Black) {
        page.Box(Left - 0.4f, s.Y() + 0.2f, x + 0.4f, s.Y() + row.Height - 0.2f, frame);
        page.Box(Left - 0.6f, s.Y(), x + 0.6f, s.Y() + row.Height, frame);
    }
    s.Down(row.Height);
}

// The table with its heading, again at the top of each further sheet; rows `framed` in red.
// Only the columns that may wrap do, in a smaller type where the others would not fit.
bool Table(Sheets& s, const std::vector<QStringList>& cells, float width,
           const std::vector<bool>& wrapping, const std::vector<bool>& framed = {})
{
    PrintPage& page = s.Page();
    std::vector<float> widths;
    for (int size = TableSize; size >= TableSize - 2; --size) {
        page.SetFontSize(size);
        bool fitted = true;
        widths = Widths(page, cells, width, wrapping, &fitted);
        if (fitted)
            break;
    }
    const FittedRow heading = Fit(page, widths, cells.front());
    for (size_t r = 0; r < cells.size(); ++r) {
        const FittedRow row = r == 0 ? heading : Fit(page, widths, cells[r]);
        if (!s.Need(row.Height + (r == 0 ? Pitch : 0.0f)))
            return false;
        if (r > 0 && s.AtTop())
            Row(s, widths, heading, true);
        const bool red = r > 0 && framed.size() >= r && framed[r - 1];
        Row(s, widths, row, r == 0, red ? Red : Black);
    }
    page.SetFontSize(TableSize);
    return true;
}

bool Heading(Sheets& s, const QString& text, float below)
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
void Pairs(Sheets& s, const std::vector<QStringList>& pairs)
{
    PrintPage& page = s.Page();
    constexpr float Column = (Right - Left) / 2, LabelWidth = 30.0f;
    for (size_t i = 0; i < pairs.size(); i += 2) {
        int most = 1;
        for (size_t j = i; j < std::min(i + 2, pairs.size()); ++j) {
            const float x = Left + Column * float(j - i);
            const QStringList value = Wrap(page, pairs[j].at(1), Column - LabelWidth - 3.0f);
            s.Text(x, pairs[j].at(0));
            for (int l = 0; l < value.size(); ++l)
                s.Text(x + LabelWidth, value.at(l), 0.8f + 4.0f * float(l));
            most = std::max(most, int(value.size()));
        }
        s.Down(Pitch + 4.0f * float(most - 1));
    }
}

bool LayHeader(Sheets& s, const LotSession& lot, const QDate& issued, UiLanguage language)
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
    s.Lines(Left + 30.0f, Wrap(page, remarks, Right - Left - 30.0f), 4.0f);
    s.Down(Gap / 2);
    Pairs(s, RecordRules(lot, language));
    const QString draft = DraftText(lot, language);
    if (!draft.isEmpty()) {
        s.Down(Gap / 2);
        s.Text(Left, DraftMark(language));
        s.Lines(Left + 30.0f, Wrap(page, draft, Right - Left - 30.0f), 4.0f);
    }
    s.Down(Gap / 2);
    return true;
}

bool LayDays(Sheets& s, const LotSession& lot, UiLanguage language)
{
    if (!Heading(s, Tr(language, "日のファイル", "Day files"), Pitch * 2))
        return false;
    std::vector<QStringList> cells{DayHeadings(language)};
    for (const RecordDay& day : RecordDays(lot, language))
        cells.push_back(DayCells(day));
    return Table(s, cells, (Right - Left) * 0.85f, {true, true});
}

bool LayPoints(Sheets& s, const LotSession& lot, UiLanguage language)
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

bool LayEdits(Sheets& s, const LotSession& lot, UiLanguage language)
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

bool LaySummary(Sheets& s, const LotSession& lot, UiLanguage language)
{
    PrintPage& page = s.Page();
    const std::vector<QStringList> summary = LotSummaryRows(lot, language);
    if (!Heading(s, Tr(language, "ロットのまとめ", "Lot summary"), Pitch * (summary.size() + 3)))
        return false;
    s.Text(Left, summary.front().join(QStringLiteral("   ")));
    s.Down(Pitch + 1.0f);
    const std::vector<QStringList> stats(summary.begin() + 1, summary.end());
    const std::vector<float> widths = Widths(page, stats, (Right - Left) * 0.8f);
    for (const QStringList& row : stats)
        Row(s, widths, Fit(page, widths, row), &row == &stats.front());
    page.SetFontSize(10);
    s.Down(2.0f);
    const QString draft = DraftText(lot, language);
    const QString verdict =
        draft.isEmpty()
            ? LotVerdictLine(lot, language)
            : DraftMark(language) + Tr(language, " — 下書きのためロットの判定はありません",
                                       " — a draft gives no verdict on the lot");
    s.Lines(Left, Wrap(page, verdict, Right - Left), Pitch);
    s.Down(Gap);
    return true;
}

void DashedLine(PrintPage& page, float x0, float x1, float y, uint32_t colour, float dash)
{
    for (float x = x0; x < x1; x += dash * 2)
        page.Line(x, y, std::min(x + dash, x1), y, colour);
}

void Cross(PrintPage& page, float x, float y, float r)
{
    page.Line(x - r, y - r, x + r, y + r, LotFailingColour);
    page.Line(x - r, y + r, x + r, y - r, LotFailingColour);
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
    const float mark = x + 2.5f;
    page.Box(mark - 0.8f, y - 0.8f, mark + 0.8f, y + 0.8f, LotPassingColour);
    name(c.PassingName);
    if (c.Required) {
        Cross(page, x + 2.5f, y, 1.2f);
        name(c.FailingName);
    }
    for (const LotChartLine& line : c.Lines) {
        Level(page, line, x, x + 5.0f, y);
        name(line.Name);
    }
}

void DrawChart(Sheets& s, const LotChartData& c)
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
    for (const QPointF& p : c.Passing) {
        const float x = plot.PageX(p.x()), y = plot.PageY(p.y());
        page.Box(x - 0.8f, y - 0.8f, x + 0.8f, y + 0.8f, LotPassingColour);
    }
    for (const QPointF& p : c.Failing) {
        const float x = plot.PageX(p.x()), y = plot.PageY(p.y());
        Cross(page, x, y, 1.6f);
        page.Box(x - 2.0f, y - 2.0f, x + 2.0f, y + 2.0f, LotFailingColour);
    }
}

bool LayCharts(Sheets& s, const LotSession& lot, UiLanguage language)
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

bool LaySignatures(Sheets& s, UiLanguage language)
{
    PrintPage& page = s.Page();
    page.SetFontSize(10);
    const QStringList labels = SignLabels(language);
    if (!s.Need(Pitch + 9.0f * float(labels.size())))
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

// The site plan on a sheet of its own after the rest, under a heading naming the lot.
bool LayPlan(Sheets& s, const LotSession& lot, const SitePlanData& plan, UiLanguage language)
{
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
        DrawSitePlan(canvas, plan, QRectF(Left, s.Y(), Right - Left, Bottom - s.Y()), language);
    }
    s.Down(Bottom - s.Y());
    return true;
}

bool Lay(Sheets& s, const LotSession& lot, const QDate& issued, UiLanguage language,
         const SitePlanData* plan)
{
    bool laid = LayHeader(s, lot, issued, language) && LayDays(s, lot, language);
    for (const auto& part : {LayPoints, LayEdits, LaySummary}) {
        s.Down(Gap);
        laid = laid && part(s, lot, language);
    }
    laid = laid && LayCharts(s, lot, language) && LaySignatures(s, language);
    if (plan && HasPlacedPoint(*plan))
        laid = laid && LayPlan(s, lot, *plan, language);
    s.Footer();
    return laid;
}

// The draft's mark and its reason's lines, for the top of every sheet; empty for a final
// record.
QStringList Banner(PrintPage& page, const LotSession& lot, UiLanguage language)
{
    const QString draft = DraftText(lot, language);
    if (draft.isEmpty())
        return {};
    page.SetFontSize(8);
    QStringList lines = Wrap(page, draft, Right - Left - 3.0f);
    if (lines.size() > BannerLines)
        lines = lines.mid(0, BannerLines - 1)
                << Tr(language, "(全文は 1 ページ目)", "(in full on page 1)");
    return QStringList{DraftMark(language)} + lines;
}

} // namespace

bool PrintLotProtocol(PrintPage& page, const LotSession& lot, const QDate& issued,
                      UiLanguage language, const QString& fontName, const SitePlanData* plan)
{
    if (!page.Begin(PageSetup{PageOrientation::Portrait, fontName, 0.0f}))
        return false;
    const QStringList banner = Banner(page, lot, language);
    Sheets count(page, language, 0, banner);
    Lay(count, lot, issued, language, plan);
    Sheets draw(page, language, count.Count(), banner);
    const bool drawn = Lay(draw, lot, issued, language, plan);
    return page.End() && drawn;
}
