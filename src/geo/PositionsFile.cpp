#include "PositionsFile.h"

#include "record/DayFiles.h"
#include "record/ResultsLine.h"
#include "record/ResultsText.h"
#include "shell/Formatting.h"

#include <QFileInfo>
#include <QStringList>

namespace
{

// The day file's own reader of a moment, so that a drop and its position read the same
// whichever order ("2026/12/08" or "12/08/2026") each was written in.
bool ReadMoment(const QString& dateTime, QDateTime* when)
{
    const QString line = QStringLiteral("0,") + dateTime;
    ResultLineParts parts;
    if (SplitResultLine(line, &parts) != LineFault::None)
        return false;
    *when = WallTime(parts.Day, parts.Clock);
    return true;
}

// NUL bytes and the like are what a power cut leaves; a number or a name holding them is
// no reading of the receiver's.
bool HasControl(QStringView line)
{
    for (const QChar c : line) {
        if (c.unicode() < 0x20 && c != QLatin1Char('\t'))
            return true;
    }
    return false;
}

// "3, 7, 9": at most ten, then how many more, so that a file of noise gives a short note.
QString LineList(const std::vector<int>& lines)
{
    constexpr size_t Shown = 10;
    QStringList numbers;
    for (size_t i = 0; i < lines.size() && i < Shown; ++i)
        numbers << QString::number(lines[i]);
    QString list = numbers.join(QStringLiteral(", "));
    if (lines.size() > Shown)
        list += QStringLiteral(" (+%1)").arg(lines.size() - Shown);
    return list;
}

} // namespace

InputLimit PositionsFileLimit()
{
    return {DayFileLimit().Bytes, Words("位置ファイル", "a positions file")};
}

PositionsFile ParsePositionsText(const QString& path, const QByteArray& bytes)
{
    PositionsFile file;
    file.Path = path;
    file.Present = true;
    const QString text = QString::fromUtf8(bytes);
    const QList<QStringView> lines = FileLines(text);
    for (int i = 0; i < lines.size(); ++i) {
        const QStringView line = lines.at(i);
        if (line.trimmed().isEmpty() || (i == 0 && IsPositionsHeading(line)))
            continue;
        FieldPosition read;
        read.LineNumber = i + 1;
        if (HasControl(line) || !ParsePositionLine(line, &read.Line) ||
            !ReadMoment(read.Line.DateTime, &read.When)) {
            file.DamagedLines.push_back(read.LineNumber);
            continue;
        }
        file.Positions.push_back(read);
    }
    return file;
}

PositionsFile ReadPositionsFile(const QString& path)
{
    return PositionsOfInput(path, ReadInputFile(path, PositionsFileLimit()));
}

PositionsFile PositionsOfInput(const QString& path, const InputRead& read)
{
    if (read.Ok())
        return ParsePositionsText(path, read.Bytes);
    PositionsFile file;
    file.Path = path;
    file.Present = read.Fault != InputFault::Missing;
    if (file.Present)
        file.Problem = read.Reason;
    return file;
}

std::vector<PositionsFile> ReadPositionsFiles(const std::vector<QString>& dayFiles)
{
    std::vector<PositionsFile> files;
    files.reserve(dayFiles.size());
    for (const QString& day : dayFiles)
        files.push_back(ReadPositionsFile(PositionsFilePath(day)));
    return files;
}

Bilingual PositionsFileNote(const PositionsFile& file)
{
    const QString name = QFileInfo(file.Path).fileName();
    if (file.Refused())
        return {QString::fromUtf8("位置ファイル %1: %2").arg(name, file.Problem.Ja),
                QStringLiteral("positions file %1 %2").arg(name, file.Problem.En)};
    QStringList ja, en;
    if (!file.DamagedLines.empty()) {
        const QString list = LineList(file.DamagedLines);
        ja << QString::fromUtf8("%1 行目が壊れているため読み飛ばしました").arg(list);
        en << (file.DamagedLines.size() == 1 ? QStringLiteral("line %1 damaged")
                                             : QStringLiteral("lines %1 damaged"))
                  .arg(list);
    }
    if (!file.RepeatedLines.empty()) {
        const QString list = LineList(file.RepeatedLines);
        ja << QString::fromUtf8("%1 行目は前の行と同じ打撃の位置のため使いませんでした").arg(list);
        en << (file.RepeatedLines.size() == 1
                   ? QStringLiteral("line %1 is a second line of a drop, not used")
                   : QStringLiteral("lines %1 are second lines of a drop, not used"))
                  .arg(list);
    }
    if (!file.UnmatchedLines.empty()) {
        const QString list = LineList(file.UnmatchedLines);
        ja << QString::fromUtf8("%1 行目の No と日時の打撃が日のファイルにありません").arg(list);
        en << (file.UnmatchedLines.size() == 1
                   ? QStringLiteral("line %1 names no drop of the day file")
                   : QStringLiteral("lines %1 name no drop of the day file"))
                  .arg(list);
    }
    if (en.isEmpty())
        return {};
    return {QString::fromUtf8("位置ファイル %1: ").arg(name) + ja.join(QString::fromUtf8("。")),
            QStringLiteral("positions file %1: ").arg(name) + en.join(QStringLiteral("; "))};
}
