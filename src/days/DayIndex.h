#pragma once

#include "DayFile.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <memory>
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
QString LeftOutText(const QStringList& names, UiLanguage uiLanguage);

// The order of the list of days: newest first, then by path.
bool ListedBefore(const DaySummary& a, const DaySummary& b);

// Reads the days of a list on every core, newest name first, so that a window can show
// them as they come and answer the operator while a decade of files is read. Each day is
// read in `RowDetail::Counted`: the list needs its counts, not its values.
class DayIndex
{
public:
    DayIndex();
    ~DayIndex(); // stops the reading and waits for it
    DayIndex(const DayIndex&) = delete;
    DayIndex& operator=(const DayIndex&) = delete;

    // Starts reading `paths`; a listing under way is dropped, and nothing more of it is
    // handed out.
    void Start(const QStringList& paths, UiLanguage uiLanguage);
    // The days read since the last call, in no particular order; waits up to `waitMs` for
    // the first of them when none is ready.
    std::vector<DaySummary> TakeRead(int waitMs = 0);
    int Done() const { return m_taken; } // handed out so far
    int Total() const;
    bool Finished() const { return Done() == Total(); }

private:
    struct Listing;
    std::shared_ptr<Listing> m_listing;
    int m_taken = 0;
    QThreadPool m_pool;
};
