#pragma once

// The texts and number formats of a reviewed day, the same on the screen, on the report,
// in the workbook and on the clipboard: headings, cells, statistics, what an output covers,
// the notes about formulas and marked rows, the day's settings.

#include "ReviewedDay.h"
#include "shell/Bilingual.h"

#include <QString>
#include <QStringList>
#include <vector>

// A cell as the measurement screen shows it ("------", " Calc Error").
QString CellText(const ReviewRow& row, const ReviewColumn& column);
// What a column sorts by: the value (undefined values first), the moment, or the text.
QVariant CellSortKey(const ReviewRow& row, const ReviewColumn& column);

// The heading, then `rows` (indices into the day's rows), tab-separated, every line ending
// in CR LF, as a spreadsheet pastes it.
QString TableTabText(const ReviewedDay& day, const std::vector<int>& rows);

// The statistics as shown: one line per quantity, its heading then count, mean, standard
// deviation, coefficient of variation (%), minimum and maximum.
QStringList StatisticsHeadings(UiLanguage uiLanguage);
QStringList StatisticsCells(const QString& quantityHeading, const Quantity& q,
                            const ColumnStatistics& s);
// The lines of StatisticsCells of every quantity of `selection`.
std::vector<QStringList> StatisticsLines(const ReviewedDay& day, const DaySelection& selection);
// The display format of statistics column `column` (1 count ... 6 maximum) of `q`.
QString StatisticFormat(const Quantity& q, int column);
// The heading of a quantity's column in `columns`, with its formula where E is given apart.
QString QuantityHeading(const std::vector<ReviewColumn>& columns, const Quantity& q);

// The day as the title writes it: yyyy/MM/dd in Japanese, MM/dd/yyyy in English.
QString DayText(const QDate& date, UiLanguage uiLanguage);
// Which rows an output covers, for its heading: the whole day, or the chosen rows.
QString ScopeText(const ReviewedDay& day, const DaySelection& selection);
// The title of the report and the workbook: the day and what they cover.
QString DayTitle(const ReviewedDay& day, const DaySelection& selection);
// What the statistics are of.
QString StatisticsCaption(const ReviewedDay& day, const DaySelection& selection);
// Why E is given for each formula apart, where the selection mixes them; empty otherwise.
QString FormulaNote(const ReviewedDay& day, const DaySelection& selection);
// The tint of a marked row, on screen and in the workbook.
inline constexpr uint32_t MarkedTint = 0xffdec8;
// What a marked row (tinted on screen, "*" on paper and in the workbook) stands for.
QString MarkLegend(const ReviewedDay& day);

// Texts about the day shown above its table and on the report.
QString CalcTypeName(const QString& calcTypes, UiLanguage uiLanguage);
QString DaySettingsText(const ReviewedDay& day);
// Why the day was refused, the lines skipped, or that it holds no results yet; empty for a
// day read whole.
QString SkippedLinesText(const ReviewedDay& day);
Bilingual NoResultsYet();
