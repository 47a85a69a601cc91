#pragma once

#include <QString>
#include <cstdint>

enum class PageOrientation { Portrait, Landscape };

// What every printout sets before it draws: millimetres and A4 are implied, the
// orientation and the font name are chosen per printout. Margin is where the device's
// drawing area begins, from the top and left edges of the sheet: the printouts subtract
// the same amount from every position, so that a position measured on the sheet lands
// there on any printer whose unprintable border is no wider.
struct PageSetup {
    PageOrientation Orientation = PageOrientation::Portrait;
    QString FontName;
    float Margin = 0.0f;
};

inline constexpr float A4ShortSideMm = 210.0f;
inline constexpr float A4LongSideMm = 297.0f;

// The sheet the printouts draw on. Positions are millimetres from the sheet's top-left
// corner, already shifted by the caller; a text's position is the top-left corner of its
// line box. The printer, a PDF file and the test recorder each implement it.
class PrintPage
{
public:
    virtual ~PrintPage() = default;

    // Starts the document. False when the device cannot be opened (nothing is drawn then).
    virtual bool Begin(const PageSetup& setup) = 0;
    // Continues on a fresh sheet of the same set-up. False when the device refuses.
    virtual bool NewPage() = 0;
    // Ends the document and hands it over. False when the device reported an error at any
    // point of the printout.
    virtual bool End() = 0;

    virtual void Line(float x1, float y1, float x2, float y2, uint32_t colour) = 0;
    virtual void Box(float x1, float y1, float x2, float y2, uint32_t colour) = 0;
    virtual void Text(float x, float y, const QString& text) = 0;
    // Width of `text` in the current font size, millimetres.
    virtual float TextWidth(const QString& text) const = 0;

    virtual int FontSize() const = 0; // whole points
    virtual void SetFontSize(int points) = 0;

    // Height of the sheet in the orientation of the document that was begun.
    virtual float SheetHeight() const = 0;
};

inline float SheetHeightFor(PageOrientation orientation)
{
    return orientation == PageOrientation::Portrait ? A4LongSideMm : A4ShortSideMm;
}
