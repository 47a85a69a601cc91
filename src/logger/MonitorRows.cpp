#include "MonitorRows.h"

#include "record/LoggerSettings.h"

#include "shell/Bilingual.h"
#include "shell/Formatting.h"

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

QString MonitorValueText(int channel, std::optional<double> raw, double coefficient)
{
    if (!raw)
        return QStringLiteral("****");
    const double value = *raw * coefficient;
    if (channel == 1)
        return FormatNumber(value * 1000.0, QStringLiteral("0"));
    return FormatNumber(value, QStringLiteral("0.0"));
}
