#include "mdlPublicPrint.h"

#include "ConditionTexts.h"

#include "record/LoggerSettings.h"
#include "shell/Bilingual.h"
#include "shell/Formatting.h"
#include "shell/Globals.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr float LinePitch = 5.0f;
constexpr float HeadingIndent = 5.0f;
constexpr float TableGap = 15.0f; // one line and a gap before the amp input table
constexpr float ChannelColumnWidth = 20.0f;
constexpr float FirstColumnOffset = 30.0f; // from labelX
// The label column of the amp input table has fixed edges, whatever labelX is.
constexpr float LabelBoxLeft = 18.0f;
constexpr float LabelBoxRight = 50.0f;
constexpr int TableRows = 8;
// A raised "2" after a trigger level in m/s follows the text by this much per character.
constexpr float RaisedIndexPitch = 1.8f;
// The least room between a condition's label and its value.
constexpr float LabelValueGap = 2.0f;

const Bilingual TableLabels[TableRows] = {
    {"チャンネル", "Channel"},    {"センサー", "Sensor"},
    {"定格容量", "Capacity"},     {"単位", "Unit"},
    {"定格出力", "Sens"},         {"測定フルスケール", "Full Scale"},
    {"L.P.F.(Hz)", "L.P.F.(Hz)"}, {"H.P.F.", "H.P.F."},
};

} // namespace

mdlPublicPrint::mdlPublicPrint(PrintPage& page, const Globals& g)
    : m_page(page), m_shift(g.PrintMargins[0]), m_language(g.UiLanguage),
      m_fontName(g.FixedFontName)
{
}

PageSetup mdlPublicPrint::Setup(PageOrientation orientation) const
{
    return PageSetup{orientation, m_fontName, m_shift};
}

void mdlPublicPrint::PrintLine(float x1, float y1, float x2, float y2, uint32_t colour)
{
    m_page.Line(x1 - m_shift, y1 - m_shift, x2 - m_shift, y2 - m_shift, colour);
}

void mdlPublicPrint::PrintBox(float x1, float y1, float x2, float y2, uint32_t colour)
{
    m_page.Box(x1 - m_shift, y1 - m_shift, x2 - m_shift, y2 - m_shift, colour);
}

void mdlPublicPrint::PrintTextLeft(float x, float y, int16_t size, const QString& text)
{
    PrintText(Align::Left, x, y, size, text);
}

void mdlPublicPrint::PrintTextCenter(float x, float y, int16_t size, const QString& text)
{
    PrintText(Align::Center, x, y, size, text);
}

void mdlPublicPrint::PrintTextRight(float x, float y, int16_t size, const QString& text)
{
    PrintText(Align::Right, x, y, size, text);
}

void mdlPublicPrint::PrintText(Align align, float x, float y, int16_t size, const QString& text)
{
    const int before = m_page.FontSize();
    m_page.SetFontSize(size);
    float left = x;
    if (align != Align::Left) {
        const float width = m_page.TextWidth(text);
        left = align == Align::Center ? x - width / 2 : x - width;
    }
    m_page.Text(left - m_shift, y - m_shift, text);
    m_page.SetFontSize(before);
}

float mdlPublicPrint::MeasureText(int16_t size, const QString& text)
{
    const int before = m_page.FontSize();
    m_page.SetFontSize(size);
    const float width = m_page.TextWidth(text);
    m_page.SetFontSize(before);
    return width;
}

float mdlPublicPrint::PrintTestCondition(const LoggerSettings& settings, float& valueX, float& y,
                                         float labelX, float fontSize)
{
    const auto p = static_cast<int16_t>(std::lround(fontSize));
    const UiLanguage lang = m_language;
    // Prints one condition line; returns where its value begins.
    auto line = [&](const char* ja, const char* en, const QString& value) {
        y += LinePitch;
        const QString label = Tr(lang, ja, en);
        PrintTextLeft(labelX, y, p, label);
        // The English calculation-type label is longer than its column: its value follows
        // it instead of being printed over it.
        const float x = std::max(valueX, labelX + MeasureText(p, label) + LabelValueGap);
        if (!value.isEmpty())
            PrintTextLeft(x, y, p, value);
        return x;
    };

    PrintTextLeft(labelX - HeadingIndent, y, p, Tr(lang, "試験条件", "Test Condition"));
    line("サンプリング間隔", "Sampling",
         FormatNumber(settings.SamplingInterval, "0") + Tr(lang, " μs", " us"));
    line("記録データ数", "Data Length",
         QString::number(settings.RecordLength) + Tr(lang, " データ", " Data"));
    line("プリエリア記録データ数", "Pre-area Data Length",
         QString::number(settings.PreTriggerLength) + Tr(lang, " データ", " Data"));

    const int trigger = ShownTriggerChannel(settings);
    line("トリガチャンネル", "Trigger Channel",
         trigger ? FormatNumber(settings.TriggerChannel, "0") : QString());
    QString level;
    if (trigger) {
        const ChannelSettings& ch = settings.Channel[trigger];
        level = FormatNumber(ch.Coefficient * ch.TriggerLevel, "0.00") +
                (trigger == 1 ? QStringLiteral(" kN") : QStringLiteral(" m/s"));
    }
    const float levelX = line("トリガレベル", "Trigger Level", level);
    if (trigger > 1)
        PrintTextLeft(levelX + RaisedIndexPitch * float(level.size()), y, IndexSize,
                      QStringLiteral("2"));

    line("載荷板直径", "Diameter of loading plate",
         QString::number(settings.PlateDiameter) + QStringLiteral(" mm"));
    line("ポアソン比", "Poisson's Ratio", FormatNumber(settings.PoissonRatio, "0.000"));
    // "elasiticity" is misspelt on purpose: the system's own title, as in the settings display.
    line("地盤弾性係数　算出式", "Calculation type of ground elasiticity coefficient",
         CalcTypeText(settings.CalcType));

    y += TableGap;
    PrintTextLeft(labelX - HeadingIndent, y, p, Tr(lang, "アンプ入力設定", "Amp Input Setting"));
    const float y0 = y;
    for (int k = 1; k <= TableRows; ++k) {
        const float rowY = y0 + LinePitch * float(k);
        PrintBox(LabelBoxLeft, rowY - 1, LabelBoxRight, rowY + 4, Black);
        PrintTextLeft(labelX, rowY, p, TableLabels[k - 1].Pick(lang));
    }
    const float bottom = y0 + LinePitch * TableRows + 4;
    PrintLine(LabelBoxLeft, bottom, LabelBoxRight, bottom, Black);

    valueX = labelX + FirstColumnOffset;
    const int last = std::min<int>(settings.MaxChannel, LoggerSettings::LastChannelNumber);
    for (int i = LoggerSettings::FirstChannel; i <= last; ++i) {
        y = y0 + LinePitch;
        const ChannelSettings& ch = settings.Channel[i];
        if (!ch.Active)
            continue;
        // A channel without a sensor keeps its place as a blank slot.
        if (ch.SensorType >= 1)
            PrintChannelColumn(settings, i, valueX, y0, p);
        valueX += ChannelColumnWidth;
    }

    y = y0 + LinePitch * (TableRows + 1);
    return y;
}

void mdlPublicPrint::PrintChannelColumn(const LoggerSettings& settings, int channel, float valueX,
                                        float y0, int16_t size)
{
    const ChannelSettings& ch = settings.Channel[channel];
    const float centre = valueX + ChannelColumnWidth / 2;
    const float right = valueX + 18.0f;
    for (int k = 1; k <= TableRows; ++k) {
        const float rowY = y0 + LinePitch * float(k);
        PrintBox(valueX, rowY - 1, valueX + ChannelColumnWidth, rowY + 4, Black);
        switch (k) {
        case 1:
            PrintTextCenter(centre, rowY, size, QString::number(channel));
            break;
        case 2: {
            const QString sensor = SensorText(ch.SensorType, m_language);
            if (!sensor.isEmpty())
                PrintTextCenter(centre, rowY, size, sensor);
            break;
        }
        case 3:
            PrintTextRight(right, rowY, size, FormatGeneral(ch.Capacity));
            break;
        case 4:
            if (ch.UnitCode == 1) {
                PrintTextRight(right, rowY, size, QStringLiteral("kN"));
            } else if (ch.UnitCode == 2) {
                PrintTextRight(valueX + 16.5f, rowY, size, QStringLiteral("m/s"));
                PrintTextLeft(valueX + 16.5f, rowY, IndexSize, QStringLiteral("2"));
            }
            break;
        case 5:
            PrintTextRight(right, rowY, size, FormatNumber(ch.RatedOutput, "0.0"));
            break;
        case 6:
            PrintTextRight(right, rowY, size, QString::number(ch.Range));
            break;
        case 7:
            PrintTextRight(right, rowY, size, QString::number(ch.LowPass));
            break;
        case 8:
            PrintTextRight(valueX + 16.0f, rowY, size, OnOffText(ch.HighPass));
            break;
        }
    }
    const float bottom = y0 + LinePitch * TableRows + 4;
    PrintLine(valueX, bottom, valueX + ChannelColumnWidth, bottom, Black);
}

bool PrintSettings(PrintPage& page, const LoggerSettings& settings, const Globals& g)
{
    mdlPublicPrint print(page, g);
    if (!page.Begin(print.Setup(PageOrientation::Portrait)))
        return false;
    float valueX = 62;
    float y = 20;
    print.PrintTestCondition(settings, valueX, y, 20, mdlPublicPrint::TextSize);
    return page.End();
}
