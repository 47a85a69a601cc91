#include "SettingsList.h"

#include "printing/ConditionTexts.h"
#include "printing/GridSelection.h"
#include "record/LoggerSettings.h"
#include "shell/Bilingual.h"
#include "shell/ClipboardSink.h"
#include "shell/Formatting.h"
#include "shell/GridModel.h"

#include <QStringList>

namespace
{

constexpr Qt::Alignment Centred = Qt::AlignHCenter | Qt::AlignVCenter;

// Writes only into cells the table has: a table of fewer columns than a row's values
// (a logger with one channel) keeps the values that fit.
void Put(GridModel& grid, int col, int row, const QString& text)
{
    if (col < grid.Cols() && row < grid.Rows())
        PutListCell(grid, col, row, text);
}

void PutCentred(GridModel& grid, int col, int row, const QString& text)
{
    if (col < grid.Cols() && row < grid.Rows()) {
        PutListCell(grid, col, row, text);
        grid.SetAlignment(row, col, Centred);
    }
}

} // namespace

ListGeometry ListGeometryFor(int16_t channelCount)
{
    ListGeometry g;
    g.TableWidth = ListTitleWidth + ListChannelWidth * channelCount;
    g.WindowWidth = g.TableWidth + ListWindowExtra;
    g.ReturnButtonLeft = g.WindowWidth - ListReturnFromRight;
    return g;
}

void PutListCell(GridModel& grid, int32_t col, int32_t row, const QString& text)
{
    grid.PutCell(col, row, text);
}

void SetupListGrid(GridModel& grid, const LoggerSettings& settings, UiLanguage language)
{
    grid.SetRows(ListRows);
    grid.SetCols(std::max<int>(0, settings.ChannelCount) + 1);
    grid.SetCol(0);
    grid.SetRow(0);
    grid.SetColWidth(0, ListTitleWidth);
    for (int c = 1; c < grid.Cols(); ++c)
        grid.SetColWidth(c, ListChannelWidth);
    FillGeneralRows(grid, settings, language);
    FillChannelRows(grid, settings, language);
}

void FillGeneralRows(GridModel& grid, const LoggerSettings& s, UiLanguage lang)
{
    const QString data = Tr(lang, "データ", "Data");
    Put(grid, 0, 0, Tr(lang, "サンプリング間隔", "Sampling"));
    Put(grid, 1, 0, FormatNumber(s.SamplingInterval, "0"));
    Put(grid, 2, 0, Tr(lang, "μSec", "us"));
    Put(grid, 0, 1, Tr(lang, "記録データ数", "Length of data"));
    Put(grid, 1, 1, FormatNumber(s.RecordLength, "0"));
    Put(grid, 2, 1, data);
    Put(grid, 0, 2, Tr(lang, "プリエリア記録データ数", "Data Length before trigger"));
    Put(grid, 1, 2, FormatNumber(s.PreTriggerLength, "0"));
    Put(grid, 2, 2, data);

    Put(grid, 0, 3, Tr(lang, "トリガチャンネル", "Trigger Channel"));
    Put(grid, 0, 4, Tr(lang, "トリガレベル", "Trigger Level"));
    if (const int trigger = ShownTriggerChannel(s)) {
        const ChannelSettings& ch = s.Channel[trigger];
        Put(grid, 1, 3, FormatNumber(s.TriggerChannel, "0"));
        Put(grid, 1, 4, FormatNumber(ch.TriggerLevel * ch.Coefficient, "0.00"));
        Put(grid, 2, 4, UnitText(ch.UnitCode));
    } else {
        Put(grid, 1, 4, QStringLiteral("------"));
    }

    Put(grid, 0, 5, Tr(lang, "載荷板直径", "Diameter of loading plate"));
    Put(grid, 1, 5, FormatNumber(s.PlateDiameter, "0"));
    Put(grid, 2, 5, QStringLiteral("mm"));
    Put(grid, 0, 6, Tr(lang, "ポアソン比", "Poisson's Ratio"));
    Put(grid, 1, 6, FormatNumber(s.PoissonRatio, "0.000"));
    // "elasiticity" is misspelt on purpose: the system's own title, as on the printed page.
    Put(grid, 0, 7,
        Tr(lang, "地盤弾性係数　算出式", "Calculation type of ground elasiticity coefficient"));
    Put(grid, 1, 7, CalcTypeText(s.CalcType));
}

void FillChannelRows(GridModel& grid, const LoggerSettings& s, UiLanguage lang)
{
    Put(grid, 0, 8, QStringLiteral("CH"));
    Put(grid, 0, 9, Tr(lang, "センサー", "Sensor"));
    Put(grid, 0, 10, Tr(lang, "定格容量", "Capacity"));
    Put(grid, 0, 11, Tr(lang, "単位", "Unit"));
    Put(grid, 0, 12, Tr(lang, "定格出力", "Sens"));
    Put(grid, 0, 13, Tr(lang, "フルスケール", "Full Scale"));
    Put(grid, 0, 14, QStringLiteral("L.P.F.(Hz)"));
    Put(grid, 0, 15, QStringLiteral("H.P.F."));

    for (int row = 8; row < ListRows; ++row) {
        int col = 0;
        for (int c = LoggerSettings::FirstChannel; c <= LoggerSettings::LastChannelNumber; ++c) {
            const ChannelSettings& ch = s.Channel[c];
            if (!ch.Active)
                continue;
            ++col;
            switch (row) {
            case 8:
                PutCentred(grid, col, row, FormatNumber(c, "0"));
                break;
            case 9:
                PutCentred(grid, col, row,
                           ch.SensorType == 1 ? Tr(lang, "荷重計", "Load")
                                              : Tr(lang, "加速度計", "Acc."));
                break;
            case 10:
                Put(grid, col, row, FormatNumber(ch.Capacity, "0"));
                break;
            case 11:
                PutCentred(grid, col, row, UnitText(ch.UnitCode));
                break;
            case 12:
                Put(grid, col, row, FormatNumber(ch.RatedOutput, "0.0"));
                break;
            case 13:
                Put(grid, col, row, QString::number(ch.Range));
                break;
            case 14:
                Put(grid, col, row, FormatNumber(ch.LowPass, "0"));
                break;
            case 15:
                PutCentred(grid, col, row, OnOffText(ch.HighPass));
                break;
            }
        }
    }
}

QString ListSelectionText(const GridModel& grid, const QString& tab)
{
    const GridRange range = grid.ChosenRange();
    QString text;
    for (int r = range.FirstRow; r <= range.LastRow; ++r) {
        QStringList cells;
        for (int c = range.FirstCol; c <= range.LastCol; ++c)
            cells << grid.Text(r, c);
        text += cells.join(tab) + QStringLiteral("\r\n");
    }
    return text;
}

void CopyListSelection(GridModel& grid, ClipboardSink& clipboard, const QString& tab)
{
    const SavedSelection before = SavedSelection::Of(grid);
    const GridRange range = grid.ChosenRange();
    const QString text = ListSelectionText(grid, tab);
    clipboard.Clear();
    clipboard.SetText(text);
    SettleSelection(grid, range, before);
}
