#pragma once

#include "PrintPage.h"

#include "shell/Bilingual.h"

#include <QStringList>
#include <functional>
#include <vector>

// The A4 portrait sheet of the office's reports, in millimetres from its top-left corner.
namespace Sheet
{
constexpr float Left = 15.0f;
constexpr float Right = 195.0f;
constexpr float Top = 15.0f;
constexpr float Bottom = 275.0f; // the lowest a row may end; the page number sits below
constexpr float FooterY = 286.0f;
constexpr float Pitch = 5.0f;     // a table's row, a line of text
constexpr float LinePitch = 3.6f; // a further line of a wrapped cell at the table's size
constexpr uint32_t Black = 0x000000;
} // namespace Sheet

enum class CellAlign { Left, Right, Centre };

// A row's cells in lines that fit their columns, and the height that takes.
struct FittedRow {
    std::vector<QStringList> Lines;
    float Height = Sheet::Pitch;
};

// The text in lines no wider than `width`, broken at spaces where it can be and anywhere
// in a word (or a Japanese sentence) that is wider itself.
QStringList WrapText(const PrintPage& page, const QString& text, float width);

// Widths that fit the widest text of each column, spread or squeezed alike to `width`.
std::vector<float> SpreadWidths(const PrintPage& page, const std::vector<QStringList>& rows,
                                float width);
// Each column as wide as its widest cell. Where they do not fit, the columns that may wrap
// (`wrapping`, or all when those cannot take it: `fitted` false) are narrowed to one width
// and the rest keep theirs. Spare room widens them all alike.
std::vector<float> WrappingWidths(const PrintPage& page, const std::vector<QStringList>& rows,
                                  float width, std::vector<bool> wrapping = {},
                                  bool* fitted = nullptr);

// The cells wrapped to their columns.
FittedRow WrapRow(const PrintPage& page, const std::vector<float>& widths,
                  const QStringList& cells);
// The cells on one line each, however wide.
FittedRow OneLineRow(const QStringList& cells);

// The first `leftCells` cells left and the others right.
std::vector<CellAlign> LeftThenRight(size_t cells, size_t leftCells);
// Cells that read as a number right, the others left.
std::vector<CellAlign> NumbersRight(const FittedRow& row);

// A table for PageFlow::Table: its heading first, then its rows, each aligned as given and
// framed in its colour (black: not framed).
struct FlowTable {
    std::vector<float> Widths;
    std::vector<FittedRow> Rows;
    std::vector<std::vector<CellAlign>> Align;
    std::vector<uint32_t> Frames; // may be shorter than Rows
};

// Lays a report down its sheets from the top: a block that does not fit goes to a fresh
// sheet, every sheet gets "Page n of N" at its foot. Laid out twice (DrawPageFlow): once to
// count the sheets, drawing nothing, and once to draw them.
class PageFlow
{
public:
    // Draws what tops every sheet (only when `drawing`) and gives where its content begins.
    using Head = std::function<float(PrintPage& page, bool drawing)>;

    PageFlow(PrintPage& page, UiLanguage language, int pages, Head head = {});
    bool Drawing() const { return m_pages > 0; }
    int Count() const { return m_index + 1; }
    float Y() const { return m_y; }
    bool AtTop() const { return m_y == m_top; }
    void Down(float h) { m_y += h; }
    PrintPage& Page() { return m_page; }

    // Room for `h` millimetres on this sheet, or a fresh sheet.
    bool Need(float h);
    // What names the document at the foot of every sheet, left of its number.
    void SetFooterNote(const QString& note) { m_note = note; }
    void Footer();
    void Text(float x, const QString& text, float dy = 0.8f);
    // Lines from `x`, `pitch` apart.
    void Lines(float x, const QStringList& lines, float pitch);
    // A row of boxed cells from the left margin; a frame other than black around all of it.
    void Row(const std::vector<float>& widths, const FittedRow& row,
             const std::vector<CellAlign>& align, uint32_t frame = Sheet::Black);
    // The rows under the heading, which tops each further sheet the table runs onto.
    bool Table(const FlowTable& table);

private:
    void StartSheet();

    PrintPage& m_page;
    UiLanguage m_language;
    int m_pages; // 0 while counting
    Head m_head;
    QString m_note;
    int m_index = 0;
    float m_y = Sheet::Top;
    float m_top = Sheet::Top;
};

// Lays `lay` out on `page`, which the caller begins and ends: once to count the sheets, then
// again to draw them, each numbered. False when the drawing `lay` gave false (a sheet refused).
bool DrawPageFlow(PrintPage& page, UiLanguage language, const std::function<bool(PageFlow&)>& lay,
                  const PageFlow::Head& head = {});
