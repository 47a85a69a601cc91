#include "ResultCopy.h"

#include "ConditionTexts.h"
#include "GridSelection.h"

#include "record/LoggerSettings.h"
#include "record/ResetLoggerSettings.h"
#include "shell/Bilingual.h"
#include "shell/ClipboardSink.h"
#include "shell/Formatting.h"
#include "shell/Globals.h"
#include "shell/GridModel.h"

#include <functional>

namespace
{

class CopyText
{
public:
    CopyText(const QString& tab, UiLanguage language) : m_tab(tab), m_language(language) {}

    void Line(const QString& text) { m_text += text + QStringLiteral("\r\n"); }
    void Line(const char* ja, const char* en) { Line(Tr(m_language, ja, en)); }
    void Field(const char* ja, const char* en, const QString& value)
    {
        Line(Tr(m_language, ja, en) + m_tab + value);
    }
    // A condition that is left out, tab included, while it is blank.
    void OptionalField(const char* ja, const char* en, const QString& value)
    {
        if (IsBlankText(value))
            Line(ja, en);
        else
            Field(ja, en, value);
    }
    // The label, then one field for every active channel.
    void PerChannel(const LoggerSettings& s, const char* ja, const char* en,
                    const std::function<QString(int, const ChannelSettings&)>& field)
    {
        QString line = Tr(m_language, ja, en);
        for (int c = LoggerSettings::FirstChannel; c <= LoggerSettings::LastChannelNumber; ++c) {
            if (s.Channel[c].Active)
                line += m_tab + field(c, s.Channel[c]);
        }
        Line(line);
    }
    const QString& Text() const { return m_text; }

private:
    QString m_text;
    QString m_tab;
    UiLanguage m_language;
};

QString UnitCopyText(int32_t unitCode)
{
    if (unitCode == 1)
        return QStringLiteral("kN ");
    if (unitCode == 2)
        return QStringLiteral("m/s2 ");
    return QString();
}

} // namespace

QString ResultCopyText(const GridModel& grid, int firstCol, int lastCol, int firstRow, int lastRow,
                       const LoggerSettings& s, const Globals& g, const QString& dailyFile)
{
    const UiLanguage lang = g.UiLanguage;
    CopyText t(g.TabSeparator, lang);
    t.Line(QStringLiteral("File Name") + g.TabSeparator + dailyFile);
    t.Line("試験条件", "Test Condition");
    t.Field("コメント", "Comment", FixedField(s.Comment, CommentLength));
    t.Field("載荷板直径", "Diameter", QString::number(s.PlateDiameter) + " mm");
    t.Field("落下高さ", "Height", QString::number(s.DropHeight) + " mm");
    t.Field("重錘質量", "Weight", QString::number(s.WeightMass) + " kg");
    t.Field("日付", "Date", FormatDateTimeText(s.TestDate, lang));
    t.OptionalField("場所", "Place", FixedField(s.Place, PlaceLength));
    t.Field("番号", "No.", QString::number(s.MeasNo));
    t.OptionalField("担当者名", "Name", FixedField(s.OperatorName, OperatorNameLength));
    t.Field("ポアソン比", "Poisson's Ratio", FormatNumber(s.PoissonRatio, "0.000"));
    t.Line(QString());
    t.Line("アンプ入力設定", "Amp Input Set");
    t.PerChannel(s, "チャンネル", "Channel", [](int c, auto&) { return QString::number(c); });
    t.PerChannel(s, "センサー", "Sensor",
                 [lang](int, auto& ch) { return SensorText(ch.SensorType, lang); });
    t.PerChannel(s, "定格容量", "Capacity",
                 [](int, auto& ch) { return FormatGeneral(ch.Capacity); });
    t.PerChannel(s, "単位", "Unit", [](int, auto& ch) { return UnitCopyText(ch.UnitCode); });
    t.PerChannel(s, "定格出力", "Sens",
                 [](int, auto& ch) { return FormatGeneral(ch.RatedOutput); });
    t.PerChannel(s, "測定フルスケール", "Full Scale",
                 [](int, auto& ch) { return QString::number(ch.Range); });
    t.PerChannel(s, "L.P.F.(Hz)", "L.P.F.(Hz)",
                 [](int, auto& ch) { return QString::number(ch.LowPass); });
    t.PerChannel(s, "H.P.F.", "H.P.F.", [](int, auto& ch) { return OnOffText(ch.HighPass); });
    t.Line(QString());

    for (int r = firstRow; r <= lastRow; ++r) {
        QStringList fields;
        for (int c = firstCol; c <= lastCol; ++c) {
            const QString cell = grid.Text(r, c);
            // An empty cell is one blank, so that every line has as many fields.
            fields << (cell.isEmpty() ? QStringLiteral(" ") : cell);
        }
        t.Line(fields.join(g.TabSeparator));
    }
    return t.Text();
}

void CopyResultText(ClipboardSink& clipboard, const GridModel& grid, int firstCol, int lastCol,
                    int firstRow, int lastRow, const LoggerSettings& settings, const Globals& g,
                    const QString& dailyFile)
{
    const QString text =
        ResultCopyText(grid, firstCol, lastCol, firstRow, lastRow, settings, g, dailyFile);
    clipboard.Clear();
    clipboard.SetText(text);
}

void CopyResults(ClipboardSink& clipboard, GridModel& grid, const LoggerSettings& settings,
                 const Globals& g, const QString& dailyFile)
{
    const SavedSelection before = SavedSelection::Of(grid);
    const GridRange range = grid.ChosenRange();
    CopyResultText(clipboard, grid, range.FirstCol, range.LastCol, range.FirstRow, range.LastRow,
                   settings, g, dailyFile);
    SettleSelection(grid, range, before);
}
