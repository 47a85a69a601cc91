// A long day of measuring: the real measurement screen (offscreen) on the real serial line
// to the simulator, unpaced, for 1,000 drops (or the number given). Every 100 drops the
// operator opens the settings display, prints the results (to a PDF file: no printer) and
// copies them. Printed: resident memory and open descriptors at the start, after 100 drops
// and at the end, the complete lines of the day file, and the time per drop.
// A drop that stored nothing, or a day file without one complete line a drop, exits with
// 1; in a full run so does a missed aim: under 5 MB of growth from drop 100 to the end, no
// descriptor leaked. VX_BENCH_SHORT=1: 20 drops, with the operator's work every 10, in
// seconds, the aims printed but not judged (for CI).
#include "BenchRun.h"
#include "MeasuringDay.h"
#include "SimProcess.h"
#include "TempHome.h"
#include "screens/gui/frmList.h"
#include "shell/gui/Application.h"
#include "shell/gui/GridView.h"
#include "shell/gui/WindowRules.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{

struct Usage {
    double RssMb = 0;
    int Descriptors = 0;
};

Usage Now()
{
    Usage u;
    QFile status("/proc/self/status");
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("VmRSS:"))
                u.RssMb = line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
        }
    }
    u.Descriptors = int(QDir("/proc/self/fd")
                            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System)
                            .size());
    return u;
}

void Print(const char* when, const Usage& u)
{
    std::printf("%-22s RSS %7.2f MB   open descriptors %4d\n", when, u.RssMb, u.Descriptors);
}

// Lines of 12 fields ending in CR LF, after the two heading lines.
int CompleteResultLines(const QString& path, int* allLines)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    QList<QByteArray> lines = f.readAll().split('\n');
    const bool endsInLineEnd = lines.last().isEmpty();
    lines.removeLast();
    *allLines = int(lines.size());
    int complete = 0;
    for (int i = 2; i < lines.size(); ++i) {
        if (lines[i].endsWith('\r') && lines[i].count(',') == 11)
            ++complete;
    }
    return endsInLineEnd ? complete : complete - 1;
}

// The operator's work between drops: the settings display opened and closed, the
// results printed with the Print button, and copied with the C key.
void SettingsPrintAndCopy(frmMemoryCardData2& screen)
{
    WhenModalShown<frmList>([](frmList* list) { Press(list->BackButton()); });
    Press(screen.cmdSetting);
    Press(screen.cmdPrint);
    screen.activateWindow();
    screen.MSFData->setFocus();
    TypeKey(Qt::Key_C);
}

} // namespace

int main(int argc, char** argv)
{
    PrintLineByLine();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InstallFontSubstitutes();
    InstallWindowRules(app); // as the program does: without them a label covers Start
    const bool brief = ShortRun();
    const int every = brief ? 10 : 100; // drops between the operator's other work
    const int drops = brief ? 2 * every : argc > 1 ? std::max(every, atoi(argv[1])) : 1000;

    TempHome home;
    QDir().mkpath(home.UserFolder());
    qunsetenv("CUPS_SERVER"); // whatever printer there is, the printouts go to PDF files below
    SimProcess sim;
    if (!sim.Start({"--com", "1", "--channels", "1,2,3,4", "--drop-after", "20", "--no-pace"})) {
        std::fprintf(stderr, "simulator: %s\n", qPrintable(sim.ErrorText()));
        return 1;
    }
    MeasuringDay day;
    if (!day.Open()) {
        std::fprintf(stderr, "the screen did not connect\n");
        return 1;
    }
    frmMemoryCardData2& screen = *day.Screen;

    const Usage start = Now();
    Usage after100;
    std::vector<double> perDrop;
    int failed = 0;
    QElapsedTimer all;
    all.start();
    for (int i = 1; i <= drops; ++i) {
        QElapsedTimer t;
        t.start();
        if (!day.Drop())
            ++failed;
        perDrop.push_back(double(t.nsecsElapsed()) / 1e6);
        if (i % every == 0)
            SettingsPrintAndCopy(screen);
        if (i == every)
            after100 = Now();
    }
    const double seconds = double(all.nsecsElapsed()) / 1e9;
    const Usage end = Now();

    int allLines = 0;
    const int complete = CompleteResultLines(day.Context.DailyFile, &allLines);
    std::sort(perDrop.begin(), perDrop.end());
    std::printf("soak: %d drops through the measurement screen, unpaced simulator, 4 channels\n",
                drops);
    Print("start (connected)", start);
    Print(qPrintable(QStringLiteral("after %1 drops").arg(every)), after100);
    Print("end", end);
    const double growth = end.RssMb - after100.RssMb;
    const int leaked = end.Descriptors - after100.Descriptors;
    std::printf("RSS growth from drop %d to the end: %+.2f MB (aim: under 5 MB%s)\n", every, growth,
                AimNote(growth < 5.0));
    std::printf("descriptors from drop %d to the end: %+d (aim: 0%s)\n", every, leaked,
                AimNote(leaked == 0));
    std::printf("results file %s: %d lines, %d complete result lines (aim: %d)\n",
                qPrintable(day.Context.DailyFile), allLines, complete, drops);
    std::printf("runs without a result: %d; messages shown: %zu\n", failed,
                day.Messages.Shown.size());
    std::printf("time per drop: mean %.1f ms   median %.1f ms   min %.1f ms   max %.1f ms "
                "(%.1f s in all)\n",
                seconds * 1000.0 / drops, perDrop[perDrop.size() / 2], perDrop.front(),
                perDrop.back(), seconds);
    return BenchVerdict("soak", "every drop stored, one complete line a drop",
                        failed == 0 && complete == drops, growth < 5.0 && leaked == 0);
}
