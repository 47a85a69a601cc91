#pragma once

#include "DayStatistics.h"
#include "shell/Bilingual.h"

#include <QString>
#include <QStringList>
#include <vector>

// A column of a day's table: one of the file's own fields.
struct ReviewColumn {
    enum class Kind { No, DateTime, Value, CalcType };
    Kind What = Kind::Value;
    Quantity Of; // for values
    QString Heading;
};

// The file's columns (its further displacements only where it has them) with their
// headings and units as the file's heading writes them in `uiLanguage`.
std::vector<ReviewColumn> DayColumns(const DayFile& day, int16_t uiLanguage);

// A cell as the measurement screen shows it ("------", " Calc Error").
QString CellText(const ReviewRow& row, const ReviewColumn& column);
// What a column sorts by: the value (undefined values first), the moment, or the text.
QVariant CellSortKey(const ReviewRow& row, const ReviewColumn& column);

// The heading, then `rows` (indices into day.Rows; every row when empty), tab-separated,
// every line ending in CR LF, as a spreadsheet pastes it.
QString TableTabText(const DayFile& day, const std::vector<ReviewColumn>& columns,
                     const std::vector<int>& rows = {});

// The statistics as shown: one line per quantity, its heading then count, mean, standard
// deviation, coefficient of variation (%), minimum and maximum.
QStringList StatisticsHeadings(int16_t uiLanguage);
QStringList StatisticsCells(const QString& quantityHeading, const Quantity& q,
                            const ColumnStatistics& s);
// The display format of statistics column `column` (1 count ... 6 maximum) of `q`.
QString StatisticFormat(const Quantity& q, int column);
// The heading of a quantity's column in `columns`, with its formula where E is given apart.
QString QuantityHeading(const std::vector<ReviewColumn>& columns, const Quantity& q);

// Which rows an output covers, for its heading: the whole day, or the chosen rows.
QString ScopeText(const DayFile& day, const std::vector<int>& rows, int16_t uiLanguage);
// What the statistics are of.
QString StatisticsCaption(const DayFile& day, const std::vector<int>& rows, int16_t uiLanguage);
// Why E is given for each formula apart, where `rows` mix them; empty otherwise.
QString FormulaNote(const DayFile& day, const std::vector<int>& rows, int16_t uiLanguage);
// The tint of a marked row, on screen and in the workbook.
inline constexpr uint32_t MarkedTint = 0xffdec8;
// What a marked row (tinted on screen, "*" on paper and in the workbook) stands for.
QString MarkLegend(const DayFile& day, int16_t uiLanguage);

// Texts about the day shown above its table and on the protocol.
QString CalcTypeName(const QString& calcTypes, int16_t uiLanguage);
QString DaySettingsText(const DayFile& day, int16_t uiLanguage);
// Why the day was refused, the lines skipped, or that it holds no results yet; empty for a
// day read whole.
QString SkippedLinesText(const DayFile& day, int16_t uiLanguage);
Bilingual NoResultsYet();
