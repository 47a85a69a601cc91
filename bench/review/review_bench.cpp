// A year of files (250 working days of 500 results: 125,000 results) is written by the
// measurement program's own writer into a temporary folder, then listed the way the
// window lists it; then a 1,000-result day is opened: read, table model, statistics,
// chart; then a lot of 20,000 drops in 2,000 points is formed and summarised, which must
// stay under its aim of 20 ms (the exit status says whether it did). Each figure is the best of a
// few runs, after the files have been read once (the office PC's cache is warm after the first day
// too). A listing or a day that comes out short exits with 1. VX_BENCH_SHORT=1: 25 days of 50
// results (for CI).
#include "ReviewFixtures.h"
#include "lot/LotVerdict.h"
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

// A lot of `points` points of ten drops each, 15 s apart, five minutes between points,
// over several day files, with a seating drop excluded by hand in every tenth point.
std::vector<LotDrop> LotOf(int points, LotEdits* edits)
{
    std::vector<LotDrop> drops;
    const QDateTime start(QDate(2024, 5, 6), QTime(7, 0));
    for (int p = 0; p < points; ++p) {
        for (int i = 0; i < 10; ++i) {
            const int file = p / 100, line = (p % 100) * 10 + i + 3;
            const double k = 400 + (p * 7 + i) % 50;
            drops.push_back({file, line, QString(), start.addSecs((p % 100) * 450 + i * 15), 30000,
                             1.0, k, k / 3.8,
                             i == 9 && p % 50 == 0 ? Formula::Boussinesq : Formula::Burmister});
            if (p % 10 == 0 && i == 0)
                edits->Choices.push_back({{file, line}, false, ExclusionReason::Seating, {}});
        }
    }
    return drops;
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
        DayTableModel table(0);
        table.SetDay(ReadDayFile(bigDay, 0));
        const ReviewedDay& day = table.Day();
        const DaySelection wholeDay = day.Select({});
        StatisticsModel stats(0);
        stats.Show(day, wholeDay);
        const ChartData chart = BuildChartData(day, wholeDay);
        rows = day.File().Rows.size() + chart.Series.size() * 0;
    });
    std::printf("open a day: %zu results: %.1f ms\n", rows, openMs);

    LotEdits edits;
    const std::vector<LotDrop> drops = LotOf(2000, &edits);
    LotSummary summary;
    const double lotMs = BestMs(5, [&] {
        const std::vector<LotPoint> points = FormPoints(drops, {60, 1}, edits);
        summary = SummariseLot(points, {{410.0, 100.0}, 1.28, LotRule::Characteristic});
    });
    constexpr double LotAimMs = 20.0;
    std::printf(
        "form and summarise a lot: %zu drops, %d points, %d passed: %.2f ms (aim %.0f ms)\n",
        drops.size(), summary.Points, summary.Passed, lotMs, LotAimMs);
    if (summary.Points != 2000 || summary.WithValue != 1960) { // every 50th point mixes formulas
        std::printf("the lot was not formed as it should be\n");
        return 1;
    }
    const bool listedAll = listed == days && results == days * perDay && rows == 1000;
    if (!listedAll)
        std::printf("the listing or the day came out short\n");
    return listedAll && lotMs < LotAimMs ? 0 : 1;
}
