#pragma once

#include "Bilingual.h"

#include <QDateTime>
#include <QString>
#include <cstdint>

QString UnitText(int32_t unitCode);
QString OnOffText(int32_t value);
// "YYYY/MM/DD hh:nn:ss" in Japanese, "MM/DD/YYYY hh:nn:ss" in English.
QString FormatDateTimeText(const QDateTime& value, UiLanguage language);
inline QString FormatDateTimeText(const QDateTime& value, int16_t code)
{
    return FormatDateTimeText(value, UiLanguageOfCode(code));
}
// A wall time as a file writes it, bound to no zone of this computer's: it always exists
// (none falls into a jump of daylight saving time) and two compare as written.
inline QDateTime WallTime(const QDate& day, const QTime& clock)
{
    return QDateTime(day, clock, Qt::UTC);
}
bool IsBlankText(const QString& text);

// Number formats of the kind "0", "0.0", "0.000", "00000" with "." as decimal separator,
// whatever the machine's locale (a decimal comma would break the comma-separated file).
QString FormatNumber(double value, const QString& format);
// A double in general number form: no fixed decimals, trailing zeros dropped (20, 0.5).
QString FormatGeneral(double value);
// The whole text read as a decimal number ("+001234", " 12 ", "1.5e3"); false for
// anything else, empty text included.
bool ParseNumber(QStringView text, double* value);
inline bool ParseNumber(const QString& text, double* value)
{
    return ParseNumber(QStringView(text), value);
}
// Rounds halves to the even neighbour, as the logger's trigger check does.
double RoundHalfEven(double value);
