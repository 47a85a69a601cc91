#include "PageFlow.h"

#include "shell/Formatting.h"

#include <algorithm>

namespace
{

constexpr float NarrowestWrapped = 16.0f;

// Each column as wide as its widest cell, with room either side of the text.
std::vector<float> NaturalWidths(const PrintPage& page, const std::vector<QStringList>& rows)
{
    std::vector<float> w;
    for (const QStringList& row : rows) {
        w.resize(std::max(w.size(), size_t(row.size())), 0.0f);
        for (int i = 0; i < row.size(); ++i)
            w[size_t(i)] = std::max(w[size_t(i)], page.TextWidth(row.at(i)) + 2.5f);
    }
    return w;
}

std::vector<float> Scaled(std::vector<float> w, float sum, float width)
{
    for (float& x : w)
        x *= width / std::max(sum, 1.0f);
    return w;
}

// `text` cut to `width` with an ellipsis, for a line that must stay one.
QString Elided(const PrintPage& page, QString text, float width)
{
    if (page.TextWidth(text) <= width)
        return text;
    while (!text.isEmpty() && page.TextWidth(text + QChar(0x2026)) > width)
        text.chop(1);
    return text + QChar(0x2026);
}

} // namespace

QStringList WrapText(const PrintPage& page, const QString& text, float width)
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

std::vector<float> SpreadWidths(const PrintPage& page, const std::vector<QStringList>& rows,
                                float width)
{
    const std::vector<float> w = NaturalWidths(page, rows);
    float sum = 0.0f;
    for (float x : w)
        sum += x;
    return Scaled(w, sum, width);
}

std::vector<float> WrappingWidths(const PrintPage& page, const std::vector<QStringList>& rows,
                                  float width, std::vector<bool> wrapping, bool* fitted)
{
    std::vector<float> w = NaturalWidths(page, rows);
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
    if (sum <= width)
        return Scaled(w, sum, width);
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

FittedRow WrapRow(const PrintPage& page, const std::vector<float>& widths, const QStringList& cells)
{
    FittedRow row;
    for (size_t i = 0; i < widths.size(); ++i) {
        row.Lines.push_back(WrapText(page, cells.value(int(i)), widths[i] - 2.0f));
        row.Height = std::max(row.Height,
                              Sheet::Pitch + Sheet::LinePitch * float(row.Lines.back().size() - 1));
    }
    return row;
}

FittedRow OneLineRow(const QStringList& cells)
{
    FittedRow row;
    for (const QString& cell : cells)
        row.Lines.push_back({cell});
    return row;
}

std::vector<CellAlign> LeftThenRight(size_t cells, size_t leftCells)
{
    std::vector<CellAlign> align(cells, CellAlign::Right);
    std::fill_n(align.begin(), std::min(cells, leftCells), CellAlign::Left);
    return align;
}

std::vector<CellAlign> NumbersRight(const FittedRow& row)
{
    std::vector<CellAlign> align;
    for (const QStringList& lines : row.Lines) {
        double number = 0.0;
        align.push_back(ParseNumber(lines.value(0), &number) ? CellAlign::Right : CellAlign::Left);
    }
    return align;
}

PageFlow::PageFlow(PrintPage& page, UiLanguage language, int pages, Head head)
    : m_page(page), m_language(language), m_pages(pages), m_head(std::move(head))
{
    StartSheet();
}

bool PageFlow::Need(float h)
{
    if (m_y + h <= Sheet::Bottom || AtTop())
        return true;
    Footer();
    ++m_index;
    if (Drawing() && !m_page.NewPage())
        return false;
    StartSheet();
    return true;
}

void PageFlow::Footer()
{
    if (!Drawing())
        return;
    const int size = m_page.FontSize();
    m_page.SetFontSize(9);
    const QString text =
        Tr(m_language, "%1 / %2 ページ", "Page %1 of %2").arg(m_index + 1).arg(m_pages);
    const float x = (Sheet::Left + Sheet::Right) / 2 - m_page.TextWidth(text) / 2;
    m_page.Text(x, Sheet::FooterY, text);
    if (!m_note.isEmpty())
        m_page.Text(Sheet::Left, Sheet::FooterY, Elided(m_page, m_note, x - Sheet::Left - 4.0f));
    m_page.SetFontSize(size);
}

void PageFlow::Text(float x, const QString& text, float dy)
{
    if (Drawing())
        m_page.Text(x, m_y + dy, text);
}

void PageFlow::Lines(float x, const QStringList& lines, float pitch)
{
    for (const QString& line : lines) {
        Text(x, line);
        Down(pitch);
    }
}

void PageFlow::Row(const std::vector<float>& widths, const FittedRow& row,
                   const std::vector<CellAlign>& align, uint32_t frame)
{
    float x = Sheet::Left;
    for (size_t i = 0; Drawing() && i < widths.size(); ++i) {
        m_page.Box(x, m_y, x + widths[i], m_y + row.Height, Sheet::Black);
        const QStringList lines = i < row.Lines.size() ? row.Lines[i] : QStringList{QString()};
        const CellAlign how = i < align.size() ? align[i] : CellAlign::Left;
        for (int l = 0; l < lines.size(); ++l) {
            const QString& text = lines.at(l);
            const float w = m_page.TextWidth(text);
            const float tx = how == CellAlign::Centre ? x + (widths[i] - w) / 2
                             : how == CellAlign::Left ? x + 1.0f
                                                      : x + widths[i] - 1.0f - w;
            m_page.Text(tx, m_y + 0.8f + Sheet::LinePitch * float(l), text);
        }
        x += widths[i];
    }
    if (Drawing() && frame != Sheet::Black) {
        m_page.Box(Sheet::Left - 0.4f, m_y + 0.2f, x + 0.4f, m_y + row.Height - 0.2f, frame);
        m_page.Box(Sheet::Left - 0.6f, m_y, x + 0.6f, m_y + row.Height, frame);
    }
    Down(row.Height);
}

bool PageFlow::Table(const FlowTable& table)
{
    const FittedRow& heading = table.Rows.front();
    const std::vector<CellAlign> centred(table.Widths.size(), CellAlign::Centre);
    for (size_t r = 0; r < table.Rows.size(); ++r) {
        const FittedRow& row = table.Rows[r];
        if (!Need(row.Height + (r == 0 ? Sheet::Pitch : 0.0f)))
            return false;
        if (r > 0 && AtTop())
            Row(table.Widths, heading, centred);
        Row(table.Widths, row, r == 0 ? centred : table.Align.at(r),
            r < table.Frames.size() ? table.Frames[r] : Sheet::Black);
    }
    return true;
}

void PageFlow::StartSheet()
{
    m_y = m_head ? m_head(m_page, Drawing()) : Sheet::Top;
    m_top = m_y;
}

bool DrawPageFlow(PrintPage& page, UiLanguage language, const std::function<bool(PageFlow&)>& lay,
                  const PageFlow::Head& head)
{
    PageFlow count(page, language, 0, head);
    lay(count);
    PageFlow draw(page, language, count.Count(), head);
    const bool laid = lay(draw);
    draw.Footer();
    return laid;
}
