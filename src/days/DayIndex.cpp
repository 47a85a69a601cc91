#include "DayIndex.h"

#include "shell/FileLookup.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

DaySummary SummariseDay(const DayFile& day)
{
    DaySummary s;
    s.Path = day.Path;
    s.Date = day.Date;
    s.Results = int(day.Rows.size());
    s.Skipped = int(day.Skipped.size());
    s.Header = day.Header;
    s.HeadingLanguage = day.HeadingLanguage;
    s.Problem = day.Problem;
    bool bu = false;
    bool bo = false;
    for (const ReviewRow& row : day.Rows) {
        bu = bu || row.CalcType == QLatin1String("BU");
        bo = bo || row.CalcType == QLatin1String("BO");
    }
    s.CalcTypes = bu && bo ? QStringLiteral("BU/BO")
                  : bu     ? QStringLiteral("BU")
                  : bo     ? QStringLiteral("BO")
                           : QString();
    return s;
}

QStringList DayEntries(const QString& folder)
{
    QStringList paths;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (DateOfDayFileName(name).isValid())
            paths << dir.filePath(name);
    }
    return paths;
}

QStringList LeftOutFiles(const QString& folder)
{
    QStringList names;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
        if (name.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) &&
            !DateOfDayFileName(name).isValid())
            names << name;
    }
    return names;
}

QString LeftOutText(const QStringList& names, UiLanguage uiLanguage)
{
    if (names.isEmpty())
        return QString();
    constexpr int Named = 4; // the rest in the tooltip, so that the line stays readable
    QString list = names.mid(0, Named).join(QStringLiteral(", "));
    if (names.size() > Named)
        list += QStringLiteral(", ...");
    return Tr(uiLanguage, "日付の名前 (yyyymmdd.csv) でない %1 個のファイルは一覧にありません: %2",
              "%1 file(s) not named as a day (yyyymmdd.csv) left out: %2")
        .arg(names.size())
        .arg(list);
}

QString DayFolderFor(const QString& folder)
{
    if (!DayEntries(folder).isEmpty())
        return folder;
    const QString data =
        FindIgnoringCase(folder.endsWith('/') ? folder : folder + '/', QStringLiteral("data"));
    return QDir(data).exists() ? data : folder;
}

namespace
{

// The newest days are read first: they are the ones an operator looks for.
QStringList NewestNameFirst(const QStringList& paths)
{
    std::vector<std::pair<QDate, QString>> named;
    named.reserve(paths.size());
    for (const QString& path : paths)
        named.emplace_back(DateOfDayFileName(QFileInfo(path).fileName()), path);
    std::stable_sort(named.begin(), named.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    QStringList sorted;
    sorted.reserve(paths.size());
    for (auto& [date, path] : named)
        sorted << path;
    return sorted;
}

} // namespace

bool ListedBefore(const DaySummary& a, const DaySummary& b)
{
    return a.Date > b.Date || (a.Date == b.Date && a.Path > b.Path);
}

// What the readers share with the index: they outlive a listing that is dropped, and
// only look at it to see that it was.
struct DayIndex::Listing {
    QStringList Paths;
    UiLanguage Language = UiLanguage::English;
    std::atomic<int> Next{0};
    std::atomic<bool> Dropped{false};
    std::mutex Lock;
    std::condition_variable Ready;
    std::vector<DaySummary> Read; // under Lock

    void ReadDays()
    {
        for (int i = Next++; i < Paths.size() && !Dropped; i = Next++) {
            DaySummary day = SummariseDay(ReadDayFile(Paths.at(i), Language, RowDetail::Counted));
            const std::lock_guard<std::mutex> hold(Lock);
            Read.push_back(std::move(day));
            Ready.notify_one();
        }
    }
};

DayIndex::DayIndex()
{
    m_pool.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
}

DayIndex::~DayIndex()
{
    if (m_listing)
        m_listing->Dropped = true;
    m_pool.waitForDone();
}

void DayIndex::Start(const QStringList& paths, UiLanguage uiLanguage)
{
    if (m_listing)
        m_listing->Dropped = true;
    m_listing = std::make_shared<Listing>();
    m_listing->Paths = NewestNameFirst(paths);
    m_listing->Language = uiLanguage;
    m_taken = 0;
    for (int reader = 0; reader < std::min<int>(m_pool.maxThreadCount(), paths.size()); ++reader)
        m_pool.start([listing = m_listing] { listing->ReadDays(); });
}

std::vector<DaySummary> DayIndex::TakeRead(int waitMs)
{
    std::vector<DaySummary> read;
    if (!m_listing)
        return read;
    std::unique_lock<std::mutex> hold(m_listing->Lock);
    if (waitMs > 0 && !Finished())
        m_listing->Ready.wait_for(hold, std::chrono::milliseconds(waitMs),
                                  [this] { return !m_listing->Read.empty(); });
    read.swap(m_listing->Read);
    m_taken += int(read.size());
    return read;
}

int DayIndex::Total() const
{
    return m_listing ? int(m_listing->Paths.size()) : 0;
}
