#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <cstdio>

// CI runs every bench in its short mode (VX_BENCH_SHORT=1) on a machine that may be busy with
// other work, where a time says more about the neighbours than about the program. There a
// bench fails only when it did not do its work, and prints its figures with their aims for
// whoever reads the log; scripts/bench runs them in full and fails on a missed aim.
inline bool ShortRun()
{
    return qEnvironmentVariableIsSet("VX_BENCH_SHORT");
}

// In CI stdout is a pipe or a file, which C buffers in blocks: line by line, a bench that
// stalls shows how far it came.
inline void PrintLineByLine()
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
}

// Follows a figure printed with its aim.
inline const char* AimNote(bool met)
{
    if (ShortRun())
        return met ? ", judged in a full run" : ", missed here, judged in a full run";
    return met ? "" : ", MISSED";
}

// The best time in ms of `runs` runs of `work`: the one least disturbed by the neighbours.
// A bench's input, written whole to `path`; false when it could not be.
inline bool WriteBenchFile(const QString& path, const QByteArray& bytes)
{
    QFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size();
}

template <typename F> double BestMs(int runs, F&& work)
{
    double best = 1e12;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

// Prints `what` with its aim, in `unit`; false when it missed it.
inline bool Aim(double figure, double aim, const char* what, const char* unit = "ms")
{
    const bool met = figure < aim;
    std::printf("%s: %.1f %s (aim %.0f %s%s)\n", what, figure, unit, aim, unit, AimNote(met));
    return met;
}

// Whether a cost grows no faster than its work: the time of the whole work against the time of
// a quarter of it, printed with what a linear and a quadratic cost would give. Work four times
// the size spills out of the processor's caches, so a linear cost comes out at 4 to 10 times
// the time here; one that grows with every pair comes out at 16 or more.
inline bool GrowthAim(const char* what, double quarterMs, double wholeMs)
{
    const double ratio = quarterMs > 0.0 ? wholeMs / quarterMs : 0.0;
    const bool met = quarterMs > 0.0 && ratio < 12.0;
    std::printf("  %s: %.1f ms for a quarter, %.1f ms for the whole: %.1f times the time for 4 "
                "times the work (linear 4, every pair 16; aim under 12%s)\n",
                what, quarterMs, wholeMs, ratio, AimNote(met));
    return met;
}

// The bench's last line and exit status: 1 when it did not do its work (`work` says what
// that is), or when a full run missed an aim; a short run never fails on a figure.
inline int BenchVerdict(const char* bench, const char* work, bool done, bool aimsMet)
{
    if (!done) {
        std::fprintf(stderr, "%s: FAILED, not done: %s\n", bench, work);
        return 1;
    }
    if (ShortRun()) {
        std::printf("%s: done (%s); figures are judged only in a full run (scripts/bench)\n", bench,
                    work);
        return 0;
    }
    if (!aimsMet) {
        std::fprintf(stderr, "%s: FAILED, done (%s) but an aim was missed\n", bench, work);
        return 1;
    }
    std::printf("%s: done (%s), every aim met\n", bench, work);
    return 0;
}
