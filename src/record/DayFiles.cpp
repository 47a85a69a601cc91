#include "DayFiles.h"

#include "shell/FileLookup.h"

namespace
{

constexpr qint64 LargestDayFileBytes = 16 * 1024 * 1024;

} // namespace

InputLimit DayFileLimit()
{
    return {LargestDayFileBytes,
            {QString::fromUtf8("1 日の結果ファイル"), QStringLiteral("a day's results file")}};
}

QString DailyFilePath(const QString& dataFolder, const QDate& date)
{
    return FindIgnoringCase(dataFolder,
                            date.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".csv"));
}
