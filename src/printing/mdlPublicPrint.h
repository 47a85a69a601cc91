#pragma once

#include "PrintPage.h"
#include "shell/Bilingual.h"

#include <QString>
#include <cstdint>

struct Globals;
struct LoggerSettings;

// The page layout of the printouts: lines, boxes and texts at page positions in
// millimetres, each shifted by the first print margin before it reaches the page, and the
// block of test conditions with the amp input table that both printouts carry.
class mdlPublicPrint
{
public:
    mdlPublicPrint(PrintPage& page, const Globals& g);

    static constexpr int TextSize = 10; // points, all ordinary text
    static constexpr int IndexSize = 6; // points, raised and lowered small characters
    static constexpr uint32_t Black = 0;

    void PrintLine(float x1, float y1, float x2, float y2, uint32_t colour);
    void PrintBox(float x1, float y1, float x2, float y2, uint32_t colour);
    // Text with its line box's top-left corner at (x, y), top-centre, top-right. Each
    // leaves the page's font size as it found it.
    void PrintTextLeft(float x, float y, int16_t size, const QString& text);
    void PrintTextCenter(float x, float y, int16_t size, const QString& text);
    void PrintTextRight(float x, float y, int16_t size, const QString& text);

    // The test conditions, then the amp input table with one column per active channel.
    // Returns the y just below the table and leaves it in y; valueX is used up.
    float PrintTestCondition(const LoggerSettings& settings, float& valueX, float& y, float labelX,
                             float fontSize);

    // The set-up every printout begins with: the font of lists and printing, and the
    // margin that the shift stands for.
    PageSetup Setup(PageOrientation orientation) const;
    PrintPage& Page() { return m_page; }

private:
    enum class Align { Left, Center, Right };
    void PrintText(Align align, float x, float y, int16_t size, const QString& text);
    float MeasureText(int16_t size, const QString& text);
    void PrintChannelColumn(const LoggerSettings& settings, int channel, float valueX, float y0,
                            int16_t size);

    PrintPage& m_page;
    float m_shift;
    UiLanguage m_language;
    QString m_fontName;
};

// The settings page: the test-condition block alone, portrait. False when the page could
// not be printed.
bool PrintSettings(PrintPage& page, const LoggerSettings& settings, const Globals& g);
