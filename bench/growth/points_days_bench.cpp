// A script's points of many day files, on the machine it runs on: 10,000 small days (three
// drops each, one point) are written by the measurement program's own writer into a temporary
// folder and given to `vx2968-review --points` as the command runs it, the best of five runs,
// then a quarter of them, so that the cost a day is seen not to grow with the days given (each
// is checked against the others once for a day named twice). Every day must give its point.
// VX_BENCH_SHORT=1: 1,000 days, the aims printed but not judged (for CI).
#include "BenchRun.h"
#include "ReviewFixtures.h"
#include "lotcommand/PointsCommand.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace
{

// Runs the command on `days`; the lines of the points file written, -1 when it failed.
int PointsOf(const QStringList& days, const QString& out)
{
    const QStringList args = QStringList{"--points", out} + days;
    CommandOutput said{[](const QString&) {}, [](const QString&) {}};
    if (RunPointsCommand(args, UiLanguage::English, said) != 0)
        return -1;
    QFile written(out);
    return written.open(QIODevice::ReadOnly) ? int(written.readAll().count('\n')) : -1;
}

// The best of five runs in ms; `lines` gets the points file's lines.
double BestMs(const QStringList& days, const QString& out, int* lines)
{
    double best = 1e12;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer t;
        t.start();
        *lines = PointsOf(days, out);
        best = std::min(best, t.nsecsElapsed() / 1e6);
    }
    return best;
}

} // namespace

int main()
{
    PrintLineByLine();
    if (qEnvironmentVariableIsEmpty("TZ"))
        qputenv("TZ", ":/etc/localtime"); // as the program itself does
    const int count = ShortRun() ? 1'000 : 10'000;
    QTemporaryDir dir;
    QStringList days;
    bool written = dir.isValid();
    for (int i = 0; i < count && written; ++i) {
        const QDate date = QDate(2000, 1, 3).addDays(i);
        days << dir.filePath(date.toString("yyyyMMdd") + ".csv");
        written = WriteBytes(days.back(), FixtureDayBytes(3, date, UiLanguage::English, false));
    }
    const QString out = dir.filePath("points.csv");
    int quarterLines = 0, wholeLines = 0;
    const double quarterMs = BestMs(days.mid(0, count / 4), out, &quarterLines);
    const double wholeMs = BestMs(days, out, &wholeLines);
    std::printf("the points of %d day files through --points: %.1f ms (aim 2000 ms%s)\n", count,
                wholeMs, AimNote(wholeMs < 2000.0));
    bool met = wholeMs < 2000.0;
    met = GrowthAim("its cost against a quarter of the days", quarterMs, wholeMs) && met;
    // A heading and one point a day.
    const bool done = written && quarterLines == count / 4 + 1 && wholeLines == count + 1;
    return BenchVerdict("points_days", "every day file's point written", done, met);
}
