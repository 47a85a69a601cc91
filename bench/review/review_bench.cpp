// A year of files (250 working days of 500 results: 125,000 results) is written by the
// measurement program's own writer into a temporary folder, then listed the way the
// window lists it; then a 1,000-result day is opened: read, table model, statistics,
// chart. Each figure is the best of a few runs, after the files have been read once (the
// office PC's cache is warm after the first day too). A listing or a day that comes out
// short exits with 1. VX_BENCH_SHORT=1: 25 days of 50 results (for CI).
#include "ReviewFixtures.h"
#include "review/ChartData.h"
#include "review/DayIndex.h"
#include "review/ReviewModels.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace
{

// A year of working days in `folder`: `days` files of `results` results each, Japanese
// and English headings alternating by month.
void WriteYear(const QString& folder, int days, int results)
{
    QDir().mkpath(folder);
    QDate d(2023, 1, 2);
    for (int n = 0; n < days; d = d.addDays(1)) {
        if (d.dayOfWeek() > 5)
            continue;
        WriteBytes(QDir(folder).filePath(d.toString("yyyyMMdd") + ".csv"),
                   FixtureDayBytes(results, d, int16_t(d.month() % 2), n % 3 == 0));
        ++n;
    }
}

template <typename F> double BestMs(int runs, F&& work)
{
    double best = 1e12;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        best = std::min(best, t.nsecsElapsed() / 1e6);
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("TZ"))
        qputenv("TZ", ":/etc/localtime"); // as the program itself does
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString year = dir.filePath("DATA");
    const bool brief = qEnvironmentVariableIsSet("VX_BENCH_SHORT");
    const int days = brief ? 25 : 250;
    const int perDay = brief ? 50 : 500;
    WriteYear(year, days, perDay);
    const QString bigDay = dir.filePath("stick/20240506.csv");
    QDir().mkpath(dir.filePath("stick"));
    WriteBytes(bigDay, FixtureDayBytes(1000, QDate(2024, 5, 6), 0, true));

    int listed = 0;
    int results = 0;
    const double listMs = BestMs(3, [&] {
        DayIndex index;
        index.Start(DayEntries(DayFolderFor(dir.path())), 0);
        while (index.Step(8)) {
        }
        listed = int(index.Days().size());
        results = 0;
        for (const DaySummary& d : index.Days())
            results += d.Results;
    });
    std::printf("list a year: %d files, %d results: %.1f ms\n", listed, results, listMs);

    size_t rows = 0;
    const double openMs = BestMs(5, [&] {
        const DayFile day = ReadDayFile(bigDay, 0);
        DayTableModel table(0);
        table.SetDay(day);
        StatisticsModel stats(0);
        stats.Show(day, {});
        const ChartData chart = BuildChartData(day, 0);
        rows = day.Rows.size() + chart.Series.size() * 0;
    });
    std::printf("open a day: %zu results: %.1f ms\n", rows, openMs);
    return listed == days && results == days * perDay && rows == 1000 ? 0 : 1;
}
