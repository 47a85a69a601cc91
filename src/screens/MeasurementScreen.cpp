#include "MeasurementScreen.h"

#include "MeasurementLayout.h"
#include "record/ResetLoggerSettings.h"
#include "results/ResultsContext.h"
#include "shell/Bilingual.h"
#include "shell/Formatting.h"
#include "shell/GridModel.h"

namespace
{

constexpr Qt::Alignment UnitAlignment = Qt::AlignRight | Qt::AlignVCenter;
constexpr int DisplacementColumnWidth = 1400;

struct FixedColumn {
    const char* TitleJa;
    const char* TitleEn;
    const char* Unit; // nullptr: no unit cell
    int Width;
};

constexpr FixedColumn FixedColumns[] = {
    {"No.", "No.", nullptr, 1200},     {"Date Time", "Date Time", nullptr, 2800},
    {"荷重 P0", "Load P0", "N", 1100}, {"変位 D0", "Disp. D0", "mm", 1300},
    {"K-NWR", "K-NWR", "MN/m3", 1300}, {"E-NWR", "E-NWR", "MN/m2", 1300},
};

} // namespace

MeasurementCaptions CaptionsFor(UiLanguage lang, const QString& appTitle, double b)
{
    MeasurementCaptions c;
    const bool ja = lang == UiLanguage::Japanese;
    const QString spaces(10, QLatin1Char(' '));
    c.WindowTitle = Tr(lang, " 計測", " Measure") + spaces + appTitle;
    c.WindowPoints = ja ? 0.0 : b - 3;
    c.No = {Tr(lang, "計測No.", "Meas. No."), ja ? b : b - 2};
    c.Initial = {Tr(lang, "初期値計測", "Balance"), b};
    c.Measure = {Tr(lang, "計　　測", "Start"), b};
    c.Setting = {Tr(lang, "設定値表示", "Setting"), b};
    c.Print = {Tr(lang, "印　　刷", "Print"), b};
    c.Return = {Tr(lang, "メインメニュー", "Main Menu"), b};
    c.ResultCaption = {Tr(lang, "計測値", "Result Data"), ja ? b + 2 : b};
    c.DiameterCaption = {Tr(lang, "載荷板直径", "Diameter"), b + 2};
    c.DiameterValue = {QString(), ja ? b + 2 : b};
    c.RatioCaption = {Tr(lang, "mm   ポアソン比", "mm   Poisson's Ratio"), ja ? b + 2 : b};
    c.RatioValue = {QString(), ja ? b + 2 : b};
    c.Status = {QString(), ja ? b + 2 : b};
    c.ResultGridPoints = b;
    c.MonitorGridPoints = b - 3;
    return c;
}

OfferedCommands CommandsOffered(bool connected, int32_t resultCount)
{
    OfferedCommands o;
    o.Initial = o.Measure = o.Setting = connected;
    o.Print = connected && resultCount > 0;
    return o;
}

void PrepareTestDay(ResultsContext& context)
{
    LoggerSettings& s = context.Logger;
    s.MaxChannel = 6;
    ResetLoggerSettings(s, context.Time ? context.Time->Now() : QDateTime::currentDateTime());
    if (context.G.DebugMode == 1) {
        for (int ch = LoggerSettings::FirstChannel; ch <= LoggerSettings::LastChannelNumber; ++ch)
            s.Channel[ch].Active = true;
        s.Channel[3].Active = false;
        s.Channel[5].Active = false;
        s.ChannelCount = 4;
    }
}

void PutFixedHeadings(GridModel& grid, int16_t channelCount, UiLanguage lang)
{
    grid.SetFontSize(BuiltResultGridPoints);
    grid.SetCols(channelCount + 4);
    grid.SetRows(2);
    for (int col = 0; col < 6; ++col) {
        const FixedColumn& f = FixedColumns[col];
        grid.PutCell(col, 0, Tr(lang, f.TitleJa, f.TitleEn));
        grid.SetColWidth(col, f.Width);
        if (f.Unit) {
            grid.PutCell(col, 1, QString::fromLatin1(f.Unit));
            grid.SetAlignment(1, col, UnitAlignment);
        }
    }
}

void PutChannelHeadings(GridModel& grid, const LoggerSettings& settings, UiLanguage lang)
{
    int col = 6;
    for (int ch = 3; ch <= LoggerSettings::LastChannelNumber; ++ch) {
        // More active channels than the count the columns were made for: no column is
        // written outside the grid.
        if (!settings.Channel[ch].Active || col >= grid.Cols())
            continue;
        grid.PutCell(col, 0, Tr(lang, "変位 D", "Disp. D") + QString::number(ch - 2));
        grid.SetColWidth(col, DisplacementColumnWidth);
        grid.PutCell(col, 1, QStringLiteral("mm"));
        grid.SetAlignment(1, col, UnitAlignment);
        ++col;
    }
}

Bilingual ConnectedStatusText()
{
    return {QString::fromUtf8("QL-860H接続確認。設定値取得中！"),
            QStringLiteral("QL-860H is connected. Get parameters!")};
}

std::vector<MonitorRow> MonitorRows(const LoggerSettings& settings, UiLanguage lang)
{
    std::vector<MonitorRow> rows;
    for (int ch = LoggerSettings::FirstChannel; ch <= LoggerSettings::LastChannelNumber; ++ch) {
        if (!settings.Channel[ch].Active)
            continue;
        MonitorRow row;
        row.Channel = ch;
        if (ch == 1) {
            row.Name = Tr(lang, "荷重 P0", "Load P0");
            row.Unit = QStringLiteral(" N");
        } else {
            row.Name = Tr(lang, "加速度 A", "Acc. A") + QString::number(ch - 2);
            row.Unit = QStringLiteral(" m/s2");
        }
        rows.push_back(row);
    }
    return rows;
}

void PutMonitorNames(GridModel& grid, const LoggerSettings& settings, UiLanguage lang)
{
    const std::vector<MonitorRow> rows = MonitorRows(settings, lang);
    grid.SetCols(3);
    grid.SetRows(int(rows.size()));
    for (int col = 0; col < 3; ++col)
        grid.SetColWidth(col, MonitorColumnWidths[col]);
    for (int r = 0; r < int(rows.size()); ++r) {
        grid.SetText(r, 0, rows[r].Name);
        grid.SetAlignment(r, 0, Qt::AlignCenter);
        grid.SetText(r, 1, QString());
        grid.SetAlignment(r, 1, Qt::AlignRight | Qt::AlignVCenter);
        grid.SetText(r, 2, rows[r].Unit);
        grid.SetAlignment(r, 2, Qt::AlignLeft | Qt::AlignVCenter);
    }
}

QString DiameterText(const LoggerSettings& settings)
{
    return FormatNumber(settings.PlateDiameter, QStringLiteral("0"));
}

QString RatioText(const LoggerSettings& settings)
{
    return FormatNumber(settings.PoissonRatio, QStringLiteral("0.000"));
}
