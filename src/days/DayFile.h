#pragma once

#include "record/DayFiles.h"
#include "record/ResultsLine.h"
#include "record/ResultsText.h"
#include "shell/Bilingual.h"
#include "shell/FileReasons.h"
#include "shell/InputFile.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

// One result line of a day, as read.
struct ReviewRow {
    ResultEntry Entry; // DateTime in the reading language's order
    QDateTime When;
    int LineNumber = 0; // in the file, counted from 1
    QString CalcType;   // field 12: "BU" or "BO"
};

struct SkippedLine {
    int LineNumber = 0;
    Bilingual Reason;
};

// A day file read whole, for review: nothing of it is ever written back.
struct DayFile {
    QString Path;
    QDate Date;
    FileHeader Header;
    int HeadingLanguage = -1; // 0 Japanese, 1 English, -1 no heading line recognised
    // The further displacement columns the file has, Answer index 3 (D1) to 6 (D4).
    std::array<bool, 7> HasAnswer{};
    std::vector<ReviewRow> Rows;
    std::vector<SkippedLine> Skipped;
    // Set when the file as a whole cannot be a day's results; then Rows is empty.
    Bilingual Problem;

    bool Refused() const { return !Problem.En.isEmpty(); }
};

// Reads `path` whole. Bad lines, damaged ones with NUL bytes among them, are skipped with
// their reason; a file that is no day file at all (a folder, empty, mostly binary, too
// large, unreadable, no "Dia=" in line 1) is refused with its Problem. Dates are written in
// `uiLanguage`'s order.
//
// For the list of days, `Counted` checks every line as strictly but leaves each row's
// entry and moment empty (its number, values and date), which is most of the reading: the
// rows then only count, with their calculation type.
enum class RowDetail { Full, Counted };
DayFile ReadDayFile(const QString& path, UiLanguage uiLanguage, RowDetail detail = RowDetail::Full);
// The day of a file already read (refused with the read's reason when it could not be).
DayFile DayOfInput(const QString& path, const InputRead& read, UiLanguage uiLanguage,
                   RowDetail detail = RowDetail::Full);
DayFile ParseDayText(const QString& path, const QByteArray& bytes, UiLanguage uiLanguage,
                     RowDetail detail = RowDetail::Full);

// Values as the measurement screen shows them: "------" for a load or displacement of 0
// or less, " Calc Error" for a negative K or E.
bool IsDefinedValue(bool kOrE, double value);
QString ShownValue(double value, const QString& format, bool kOrE);
