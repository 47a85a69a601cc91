#pragma once

#include "ResultsTable.h"

#include "shell/Bilingual.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QTime>
#include <cstdint>

struct LoggerSettings;

// The lines of a day file: the two heading lines, one line per result, and how
// they are read back.

// Cuts `text` at every `delimiter` into `fields` and returns the upper field index, or -1
// (leaving `fields` alone) when the text or delimiter is empty or the delimiter does not
// occur. A trailing delimiter gives an empty last field. At most `capacity` fields are
// kept: further fields of an over-long line are ignored and the index returned is that
// of the last field kept.
int16_t SplitFields(const QString& text, const QString& delimiter, QStringList& fields,
                    int capacity);

// The most fields a reader keeps of one line.
inline constexpr int FileFieldCapacity = 21;
// Every line of the file has this many fields, so that a channel's column is the same in
// every line of every file.
inline constexpr int ResultLineFields = 12;

// Line 1: "Dia=300,Poi=0.350".
QString FileHeaderLine1(const LoggerSettings& settings);
// Line 2: the column heading in the language of the day's first result.
QString FileHeaderLine2(const LoggerSettings& settings, UiLanguage uiLanguage);
// One result line, without its line end.
QString ResultLine(const ResultEntry& entry, const LoggerSettings& settings);

// The items of line 1. A value that is missing or not acceptable is reported as absent.
struct FileHeader {
    bool HasDiameter = false;
    int32_t Diameter = -1; // mm
    bool HasPoisson = false;
    double Poisson = -1.0;
};
FileHeader ParseFileHeader(const QStringList& items);

// A result line read back: its entry, with the date written again in `uiLanguage`'s order.
// A line without "," or with a date in neither language's order ("2021/04/07 13:05:09",
// "04/07/2021 13:05:09") is no result.
enum class LineFault { None, NoComma, BadDate };
struct ResultLineParts {
    ResultEntry Entry;
    QDateTime When; // ReadResultLine only
    QDate Day;      // as written
    QTime Clock;
    QList<QStringView> Fields; // at most FileFieldCapacity, into the line read
};
LineFault ReadResultLine(QStringView line, UiLanguage uiLanguage, ResultLineParts* parts);
// Its first half: only the fields and the day and time as written, the entry and When left
// as they were. Enough to tell whether the line is a result, for a reader that counts rather
// than shows.
LineFault SplitResultLine(QStringView line, ResultLineParts* parts);
