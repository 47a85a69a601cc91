#pragma once

#include "ResultsTable.h"

#include "shell/InputFile.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

struct ResultsContext;
struct LoggerSettings;

// More than any day can hold (32768 results of about 90 bytes); larger files are refused
// unread, so that a stray disk image on a stick never stalls a reader.
inline constexpr qint64 LargestDayFileBytes = 16 * 1024 * 1024;
InputLimit DayFileLimit();

// Every line of the file has this many fields, so that a channel's column is the same in
// every line of every file.
inline constexpr int ResultLineFields = 12;

// The data folder the daily files live in: the one made at start-up, ending in "/".
QString ResultsFolder(const ResultsContext& context);
// The results file of `date` in `dataFolder`: yyyymmdd.csv (an existing name in another
// letter case is used).
QString DailyFilePath(const QString& dataFolder, const QDate& date);

// Line 1: "Dia=300,Poi=0.350".
QString FileHeaderLine1(const LoggerSettings& settings);
// Line 2: the column heading in the language of the day's first result.
QString FileHeaderLine2(const LoggerSettings& settings, int16_t uiLanguage);
// One result line, without its line end.
QString ResultLine(const ResultEntry& entry, const LoggerSettings& settings);
// Who writes the daily files' encoding: Qt where it has an encoder for it, else glibc's iconv
// (a Qt built without ICU has no CP932; every glibc has). Both give the same bytes.
enum class FileEncoder { Qt, Iconv };
// The text of the file in `encoding` (the daily files' CP932). Nothing when a character
// cannot be held in it (it is never written as "?" or as a look-alike that reads back as
// another), or when neither encoder knows `encoding` and the text is not plain ASCII.
std::optional<QByteArray> EncodeFileText(const QString& text, const QByteArray& encoding,
                                         FileEncoder encoder = FileEncoder::Qt);
QString DecodeFileText(const QByteArray& bytes);

enum class AppendOutcome { Written, Cancelled };

// Appends `entry` to the file of today's date (taken now, from the context's clock), with
// the two heading lines first when the file is new. The line is on the disk (synced) when
// this returns Written. A failing step asks Retry / Cancel: Retry repeats the step,
// Cancel leaves the file as it was and returns Cancelled. A text the context's FileEncoding
// cannot write is reported (both languages) and nothing is written: Cancelled.
AppendOutcome AppendResult(ResultsContext& context, const ResultEntry& entry);

// The items of line 1. A value that is missing or not acceptable is reported as absent.
struct FileHeader {
    bool HasDiameter = false;
    int32_t Diameter = -1; // mm
    bool HasPoisson = false;
    double Poisson = -1.0;
};
FileHeader ParseFileHeader(const QStringList& items);

// A date and time written in either language's order ("2021/04/07 13:05:09" or
// "04/07/2021 13:05:09"); an invalid QDateTime when it is neither.
QDateTime ParseResultDateTime(QStringView text);
// The same without making it a moment of the local time zone, which is most of the work.
bool ReadResultMoment(QStringView text, QDate* date, QTime* time);

// One data line into `entry`, its date written again in `uiLanguage`'s order. False for a
// line that cannot be a result (no "," or an unreadable date); `upperIndex` gets the
// index of the line's last field.
bool ParseResultLine(const QString& line, int16_t uiLanguage, ResultEntry* entry,
                     int* upperIndex = nullptr);

// The same line read in full, for a reader that reports what it skipped and why.
enum class LineFault { None, NoComma, BadDate };
struct ResultLineParts {
    ResultEntry Entry;
    QDateTime When; // ReadResultLine only
    QDate Day;      // as written
    QTime Clock;
    QList<QStringView> Fields; // at most FileFieldCapacity, into the line read
};
LineFault ReadResultLine(QStringView line, int16_t uiLanguage, ResultLineParts* parts);
// Only the fields and the day and time as written, the entry and When left as they were:
// enough to tell whether the line is a result, for a reader that counts rather than shows.
LineFault SplitResultLine(QStringView line, ResultLineParts* parts);

// The lines of a file's text, each without its line end (CR LF or LF).
QStringList SplitFileLines(const QString& text);

// Reads `path` into the results table: its last MaxResults results, oldest first. Returns
// the number held, or -1 (after the format message) when line 1 holds no ",". The plate
// diameter and Poisson's ratio of line 1 replace the settings only when they are valid.
// `displayColumns` (starting at 2) grows with the widest line read.
int32_t ReadResultsFile(ResultsContext& context, const QString& path,
                        int32_t* displayColumns = nullptr);

// Start-up of the measurement screen: names today's file in DailyFile and reads it when it
// exists. ResultCount becomes the number read (0 without a usable file).
int32_t LoadTodaysResults(ResultsContext& context, int32_t* displayColumns = nullptr);
