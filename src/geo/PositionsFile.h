#pragma once

#include "record/PositionLine.h"
#include "shell/Bilingual.h"
#include "shell/InputFile.h"

#include <QDateTime>
#include <QString>
#include <vector>

// A good line of a positions file, with the moment its date and time stand for.
struct FieldPosition {
    int LineNumber = 0; // from 1
    DropPosition Line;
    QDateTime When; // the wall time written, read as the day file's reader reads it
};

// A positions file read whole: its good lines, and the numbers of the damaged ones. A day
// measured without a receiver has none, which is no fault.
struct PositionsFile {
    QString Path;
    std::vector<FieldPosition> Positions;
    std::vector<int> DamagedLines; // from 1
    // Good lines that place no drop, once matched with the day's drops (MatchPositions): a
    // second line of one drop, and lines that name no drop of the day.
    std::vector<int> RepeatedLines, UnmatchedLines;
    // Set when the file is there but cannot be read (a folder, too large, no permission).
    Bilingual Problem;
    // Whether there is a file at Path, whatever it holds: the field's receiver was on that
    // day, so the day's points have places to show, or say why they have none.
    bool Present = false;

    bool Refused() const { return !Problem.En.isEmpty(); }
};

// How large a positions file may be: as large as a day file, which has a line per drop too.
InputLimit PositionsFileLimit();

PositionsFile ReadPositionsFile(const QString& path);
// The positions of a file already read; a missing file is none, which is no fault.
PositionsFile PositionsOfInput(const QString& path, const InputRead& read);
PositionsFile ParsePositionsText(const QString& path, const QByteArray& bytes);
// The positions file beside each day file, in the same order.
std::vector<PositionsFile> ReadPositionsFiles(const std::vector<QString>& dayFiles);

// What the engineer is told of a file: "positions file 20261208.pos: lines 3, 7 damaged",
// and which lines placed no drop, or why it could not be read; empty when it was read whole
// and placed its drops, or is not there.
Bilingual PositionsFileNote(const PositionsFile& file);
