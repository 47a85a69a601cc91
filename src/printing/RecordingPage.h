#pragma once

#include "PrintPage.h"

#include <vector>

// A page that keeps every call instead of printing it, so that layouts can be checked
// number by number. Text widths follow a fixed rule (CharWidthPerPoint mm per character
// and point) so that centred and right-aligned positions are predictable.
class RecordingPage : public PrintPage
{
public:
    enum class Kind { Begin, NewPage, End, Line, Box, Text, FontSize };

    struct Op {
        Kind What = Kind::Text;
        float X1 = 0, Y1 = 0, X2 = 0, Y2 = 0; // Text: X1, Y1 is the position
        uint32_t Colour = 0;
        QString Text;
        int Size = 0; // Text: the size it was drawn in; FontSize: the size set
    };

    static constexpr float CharWidthPerPoint = 0.15f; // about a serif face's average

    bool Begin(const PageSetup& setup) override;
    bool NewPage() override;
    bool End() override;
    void Line(float x1, float y1, float x2, float y2, uint32_t colour) override;
    void Box(float x1, float y1, float x2, float y2, uint32_t colour) override;
    void Text(float x, float y, const QString& text) override;
    float TextWidth(const QString& text) const override;
    int FontSize() const override { return m_size; }
    void SetFontSize(int points) override;
    float SheetHeight() const override { return SheetHeightFor(Setup.Orientation); }

    // The texts drawn, in order, without the other calls.
    std::vector<Op> Texts() const;
    std::vector<Op> OfKind(Kind kind) const;
    // The first text equal to `text`; null when none was drawn.
    const Op* FindText(const QString& text) const;
    int Pages() const;

    std::vector<Op> Ops;
    PageSetup Setup;
    int BeginCalls = 0;
    int EndCalls = 0;
    bool FailBegin = false; // Begin answers false, as a printer that cannot be opened does

private:
    int m_size = 10;
};
