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
// The heading of a quantity's column in `columns`.
QString QuantityHeading(const std::vector<ReviewColumn>& columns, const Quantity& q);

// Texts about the day shown above its table and on the protocol.
QString CalcTypeName(const QString& calcTypes, int16_t uiLanguage);
QString DaySettingsText(const DayFile& day, int16_t uiLanguage);
QString SkippedLinesText(const DayFile& day, int16_t uiLanguage);
