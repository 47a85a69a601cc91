#pragma once

#include "DayFile.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

// One line of the list of days.
struct DaySummary {
    QString Path;
    QDate Date;
    int Results = 0;
    int Skipped = 0;
    FileHeader Header;
    QString CalcTypes; // "BU", "BO", "BU/BO" for a day that changed, empty without results
    int HeadingLanguage = -1;
    Bilingual Problem;
};

DaySummary SummariseDay(const DayFile& day);

// The folder whose days are listed for `folder`: the folder itself when it holds day
// files, else its data folder of any letter case (an earlier installation's user folder
// is opened as well as its DATA).
QString DayFolderFor(const QString& folder);

// The entries of `folder` named like a day ("yyyymmdd.csv", any letter case), folders so
// named included, so that they are listed with their problem rather than passed over.
QStringList DayEntries(const QString& folder);

// The .csv files of `folder` whose names are not days ("backup.csv", "20240305 (1).csv",
// "20240231.csv"): they are not listed, and the operator is told which.
QStringList LeftOutFiles(const QString& folder);
// How many of them were left out and which, for the status line; empty when none.
QString LeftOutText(const QStringList& names, int16_t uiLanguage);

// Fills the list of days a few files at a time, so that a window can show its progress
// and stay responsive while a year of files is read.
class DayIndex
{
public:
    void Start(const QStringList& paths, int16_t uiLanguage);
    // Reads up to `files` more; true while some remain.
    bool Step(int files);
    int Done() const { return int(m_days.size()); }
    int Total() const { return int(m_paths.size()); }
    // Newest first once every file is read.
    const std::vector<DaySummary>& Days() const { return m_days; }

private:
    QStringList m_paths;
    std::vector<DaySummary> m_days;
    int16_t m_language = 1;
};
