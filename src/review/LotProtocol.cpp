#include "LotProtocol.h"

#include "LotChart.h"
#include "LotTable.h"
#include "PagePlot.h"
#include "ReviewTexts.h"

#include <QFileInfo>
#include <algorithm>

namespace
{

constexpr float Left = 15.0f;
constexpr float Right = 195.0f;
constexpr float Top = 15.0f;
constexpr float Bottom = 275.0f;
constexpr float FooterY = 286.0f;
constexpr float Pitch = 5.0f;
constexpr float Gap = 6.0f;
constexpr float ChartHeight = 80.0f;
constexpr int TableSize = 8;
constexpr uint32_t Black = 0x000000;
constexpr uint32_t Red = 0xd01010;
constexpr uint32_t Blue = 0x1f5fbf;

// Lays the protocol out twice: once to count the sheets, once to draw with "Page n of N".
class Sheets
{
public:
    Sheets(PrintPage& page, int16_t language, int pages)
        : m_page(page), m_language(language), m_pages(pages)
    {
    }
    bool Drawing() const { return m_pages > 0; }
    int Count() const { return m_index + 1; }
    float Y() const { return m_y; }
    void Down(float h) { m_y += h; }
    PrintPage& Page() { return m_page; }

    // Room for `h` millimetres on this sheet, or a fresh sheet.
    bool Need(float h)
    {
        if (m_y + h <= Bottom)
            return true;
        Footer();
        ++m_index;
        m_y = Top;
        return !Drawing() || m_page.NewPage();
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
    // A row of boxed cells, text left in the first cell and right in the others (a heading
    // centred); `frame` other than black frames the whole row in that colour.
    void Row(const std::vector<float>& widths, const QStringList& cells, bool heading,
             uint32_t frame = Black)
    {
        float x = Left;
        for (size_t i = 0; Drawing() && i < widths.size(); ++i) {
            m_page.Box(x, m_y, x + widths[i], m_y + Pitch, Black);
            const QString text = cells.value(int(i));
            const float w = m_page.TextWidth(text);
            const float tx = heading  ? x + (widths[i] - w) / 2
                             : i == 0 ? x + 1.0f
                                      : x + widths[i] - 1.0f - w;
            m_page.Text(tx, m_y + 0.8f, text);
            x += widths[i];
        }
        if (Drawing() && frame != Black) {
            m_page.Box(Left - 0.4f, m_y + 0.2f, x + 0.4f, m_y + Pitch - 0.2f, frame);
            m_page.Box(Left - 0.6f, m_y, x + 0.6f, m_y + Pitch, frame);
        }
        m_y += Pitch;
    }

private:
    PrintPage& m_page;
    int16_t m_language;
    int m_pages; // 0 while counting
    int m_index = 0;
    float m_y = Top;
};

std::vector<float> Widths(PrintPage& page, const std::vector<QStringList>& rows, float width)
{
    std::vector<float> w;
    for (const QStringList& row : rows) {
        w.resize(std::max(w.size(), size_t(row.size())), 0.0f);
        for (int i = 0; i < row.size(); ++i)
            w[i] = std::max(w[i], page.TextWidth(row.at(i)) + 2.5f);
    }
    float sum = 0.0f;
    for (float x : w)
        sum += x;
    const float scale = width / std::max(sum, 1.0f);
    for (float& x : w)
        x *= scale;
    return w;
}

void DrawChart(Sheets& s, const LotChartData& c)
{
    PrintPage& page = s.Page();
    page.SetFontSize(8);
    const float top = s.Y();
    const float x0 = Left + 18.0f, x1 = Right - 5.0f, y0 = top + 8.0f,
                y1 = top + ChartHeight - 14.0f;
    const PagePlot plot{x0, x1, y0, y1, c.X, c.Y};
    const auto px = [&](double x) { return plot.PageX(x); };
    const auto py = [&](double y) { return plot.PageY(y); };
    page.Text(Left, top, c.Title);
    DrawPlotFrame(page, plot);
    page.Text((x0 + x1) / 2 - page.TextWidth(c.XTitle) / 2, y1 + 6.5f, c.XTitle);
    if (c.Required) {
        for (float x = x0; x < x1; x += 3.0f) // dashed: a limit, not a measured line
            page.Line(x, py(*c.Required), std::min(x + 1.5f, x1), py(*c.Required), Red);
    }
    for (const QPointF& p : c.Passing)
        page.Box(px(p.x()) - 0.8f, py(p.y()) - 0.8f, px(p.x()) + 0.8f, py(p.y()) + 0.8f, Blue);
    for (const QPointF& p : c.Failing) {
        const float x = px(p.x()), y = py(p.y());
        page.Line(x - 1.6f, y - 1.6f, x + 1.6f, y + 1.6f, Red);
        page.Line(x - 1.6f, y + 1.6f, x + 1.6f, y - 1.6f, Red);
        page.Box(x - 2.0f, y - 2.0f, x + 2.0f, y + 2.0f, Red);
    }
}

QString DatesOf(const LotSession& lot, int16_t language)
{
    QDate first, last;
    for (const LotDrop& d : lot.Drops()) {
        const QDate day = d.When.date();
        first = first.isValid() ? std::min(first, day) : day;
        last = last.isValid() ? std::max(last, day) : day;
    }
    if (!first.isValid())
        return QString();
    return first == last
               ? DayText(first, language)
               : DayText(first, language) + QStringLiteral(" – ") + DayText(last, language);
}

bool Lay(Sheets& s, const LotSession& lot, int16_t language)
{
    PrintPage& page = s.Page();
    const LotDocument& doc = lot.Document();
    page.SetFontSize(14);
    s.Text(Left,
           Tr(language, "VX-2968 締固め管理 試験報告書", "VX-2968 Compaction Control Report"));
    s.Down(10.0f);
    page.SetFontSize(9);
    const QStringList labels = HeaderLabels(language), values = HeaderValues(doc.Header);
    std::vector<QStringList> header;
    header.reserve(10);
    for (int i = 0; i < 4; ++i)
        header.push_back({labels.at(i), values.at(i)});
    header.push_back({Tr(language, "試験日", "Test date"), DatesOf(lot, language)});
    header.push_back({labels.at(4), values.at(4)});
    QStringList files;
    for (int f = 0; f < int(doc.Files.size()); ++f)
        files << lot.FileName(f);
    header.push_back({Tr(language, "日のファイル", "Day files"), files.join(QStringLiteral(", "))});
    header.push_back(
        {Tr(language, "規定値", "Requirement"), RequirementText(doc.Judgement.Need, language)});
    header.push_back(
        {Tr(language, "判定方法", "Rule"),
         RuleText(doc.Judgement.Rule).Pick(language) +
             Tr(language, "   k = %1", "   k = %1").arg(doc.Judgement.QuantileFactor)});
    header.push_back({Tr(language, "測点の作り方", "Points"),
                      Tr(language, "間隔 %1 秒を超えると新しい測点、予備打撃 %2 回",
                         "a new point after more than %1 s; %2 seating drop(s)")
                          .arg(doc.Rules.GapSeconds)
                          .arg(doc.Rules.Seating)});
    for (const QStringList& row : header) {
        s.Text(Left, row.at(0));
        s.Text(Left + 32.0f, row.at(1));
        s.Down(Pitch);
    }
    s.Down(Gap - Pitch / 2);

    page.SetFontSize(TableSize);
    std::vector<QStringList> cells{PointHeadings(language)};
    for (int p = 0; p < int(lot.Points().size()); ++p)
        cells.push_back(PointCells(lot, p, language));
    const std::vector<float> widths = Widths(page, cells, Right - Left);
    QStringList notes;
    for (size_t r = 0; r < cells.size(); ++r) {
        if (!s.Need(Pitch * (r == 0 ? 2 : 1)))
            return false;
        if (r > 0 && s.Y() == Top)
            s.Row(widths, cells.front(), true); // the heading again on each sheet
        const bool fails = r > 0 && lot.VerdictOf(int(r) - 1).Result == Verdict::Fail;
        s.Row(widths, cells[r], r == 0, fails ? Red : Black);
        const QString note = r > 0 ? PointNote(lot.Points()[r - 1], language) : QString();
        if (!note.isEmpty())
            notes << Tr(language, "測点 %1: ", "Point %1: ").arg(r) + note;
    }
    for (const QString& note : notes) {
        s.Need(Pitch);
        s.Text(Left, note);
        s.Down(Pitch - 1.0f);
    }
    s.Down(Gap);

    const std::vector<QStringList> summary = LotSummaryRows(lot, language);
    if (!s.Need(Pitch * (summary.size() + 4)))
        return false;
    page.SetFontSize(10);
    s.Text(Left, Tr(language, "ロットのまとめ", "Lot summary"));
    s.Down(Pitch + 1.0f);
    page.SetFontSize(TableSize);
    s.Text(Left, summary.front().join(QStringLiteral("   ")));
    s.Down(Pitch + 1.0f);
    const std::vector<QStringList> stats(summary.begin() + 1, summary.end());
    const std::vector<float> statWidths = Widths(page, stats, (Right - Left) * 0.8f);
    for (const QStringList& row : stats)
        s.Row(statWidths, row, &row == &stats.front());
    page.SetFontSize(10);
    s.Down(2.0f);
    s.Text(Left, LotVerdictLine(lot, language));
    s.Down(Pitch + Gap);

    const Requirement& need = doc.Judgement.Need;
    for (bool modulus : {false, true}) {
        if (need.Any() ? !(modulus ? need.E : need.K) : modulus)
            continue; // the required values, or K when none is required
        if (!s.Need(ChartHeight))
            return false;
        if (s.Drawing())
            DrawChart(s, BuildLotChart(lot, modulus, language));
        s.Down(ChartHeight);
    }

    page.SetFontSize(10);
    if (!s.Need(Pitch * 3))
        return false;
    s.Down(Pitch);
    const QString sign = Tr(language, "確認者 (署名)", "Checked by (signature)");
    s.Text(Left, sign);
    if (s.Drawing()) {
        page.Line(Left + page.TextWidth(sign) + 3.0f, s.Y() + 4.5f, Left + 110.0f, s.Y() + 4.5f,
                  Black);
        page.Text(Left + 115.0f, s.Y() + 0.8f, Tr(language, "日付", "Date"));
        page.Line(Left + 127.0f, s.Y() + 4.5f, Right, s.Y() + 4.5f, Black);
    }
    s.Footer();
    return true;
}

} // namespace

bool PrintLotProtocol(PrintPage& page, const LotSession& lot, int16_t language,
                      const QString& fontName)
{
    if (!page.Begin(PageSetup{PageOrientation::Portrait, fontName, 0.0f}))
        return false;
    Sheets count(page, language, 0);
    Lay(count, lot, language);
    Sheets draw(page, language, count.Count());
    const bool drawn = Lay(draw, lot, language);
    return page.End() && drawn;
}
