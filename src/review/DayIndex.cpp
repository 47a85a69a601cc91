#include "DayIndex.h"

#include "shell/FileLookup.h"

#include <QDir>
#include <algorithm>

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

QString LeftOutText(const QStringList& names, int16_t uiLanguage)
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

void DayIndex::Start(const QStringList& paths, int16_t uiLanguage)
{
    m_paths = paths;
    m_days.clear();
    m_days.reserve(paths.size());
    m_language = uiLanguage;
}

bool DayIndex::Step(int files)
{
    for (int n = 0; n < files && Done() < Total(); ++n)
        m_days.push_back(SummariseDay(ReadDayFile(m_paths.at(Done()), m_language)));
    if (Done() < Total())
        return true;
    std::stable_sort(m_days.begin(), m_days.end(), [](const DaySummary& a, const DaySummary& b) {
        return a.Date > b.Date || (a.Date == b.Date && a.Path > b.Path);
    });
    return false;
}
