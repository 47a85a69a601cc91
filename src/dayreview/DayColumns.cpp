#include "DayColumns.h"

#include "record/DayFiles.h"
#include "record/LoggerSettings.h"
#include "record/ResultsLine.h"
#include "record/ResultsText.h"

std::vector<ReviewColumn> DayColumns(const DayFile& day, UiLanguage uiLanguage)
{
    LoggerSettings layout;
    layout.MaxChannel = LoggerSettings::LastChannelNumber;
    for (int ch = 3; ch <= LoggerSettings::LastChannelNumber; ++ch)
        layout.Channel[ch].Active = day.HasAnswer[ch];
    const QStringList heading = FileHeaderLine2(layout, uiLanguage).split(',');
    using K = ReviewColumn::Kind;
    using Q = Quantity::Kind;
    std::vector<ReviewColumn> columns{{K::No, {}, heading.at(0)},
                                      {K::DateTime, {}, heading.at(1)},
                                      {K::Value, {Q::Answer, 1}, heading.at(2)},
                                      {K::Value, {Q::Answer, 2}, heading.at(3)},
                                      {K::Value, {Q::K, 0}, heading.at(4).trimmed()},
                                      {K::Value, {Q::E, 0}, heading.at(5)}};
    for (int a = 3; a <= 6; ++a) {
        if (day.HasAnswer[a])
            columns.push_back({K::Value, {Q::Answer, a}, heading.at(a + 3)});
    }
    columns.push_back({K::CalcType, {}, heading.at(ResultLineFields - 1)});
    return columns;
}
