// CPU share of the live monitor: the real measurement screen (offscreen) on the real
// QSerialLink against the simulator paced at 9600 bit/s, polling once a second. After the
// connection check it lets the monitor run for the given number of seconds (30 unless an
// argument says otherwise) and prints the process's CPU time over that span as a share of
// one core, with the polls counted on the simulator's transcript. The line is the
// program's: every exchange goes into the service transcript. No poll or a message shown
// exits with 1, and in a full run so does 1 % of a core or more. VX_BENCH_SHORT=1: 3 seconds,
// the share printed but not judged (for CI).
//
//     bench_monitor_cpu [seconds] [channels]      e.g. bench_monitor_cpu 60 1,2,4,6
#include "BenchRun.h"
#include "SimProcess.h"
#include "TempHome.h"
#include "WaitFor.h"
#include "results/ResultsContext.h"
#include "screens/gui/frmMemoryCardData2.h"
#include "serial/QSerialLink.h"
#include "serial/TranscriptLink.h"
#include "shell/gui/Application.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>
#include <sys/resource.h>

namespace
{

double ProcessCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace

int main(int argc, char** argv)
{
    PrintLineByLine();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InstallFontSubstitutes();
    const bool brief = ShortRun();
    const int seconds = brief ? 3 : argc > 1 ? std::max(1, atoi(argv[1])) : 30;
    const QString channels = argc > 2 ? QString::fromLatin1(argv[2]) : QStringLiteral("1,2,4");

    TempHome home;
    SimProcess sim;
    if (!sim.Start({"--com", "1", "--pace", "--channels", channels})) {
        std::fprintf(stderr, "simulator: %s\n", qPrintable(sim.ErrorText()));
        return 1;
    }

    ResultsContext context;
    context.G.UiLanguage = UiLanguage::English;
    InitGlobalValues(context.G);
    ResetFontSpecs(context.G);
    context.G.AppFolder = home.Path() + "/";
    context.UserFolder = home.UserFolder();
    context.G.DataFolder = home.UserFolder() + "data/";
    RecordingMessages messages;
    SystemClock clock;
    context.Messages = &messages;
    context.Time = &clock;
    TranscriptLink link(
        ServiceFolderOf(context.UserFolder), clock, [] { return QStringLiteral("COM1"); }, messages,
        UiLanguage::English,
        [&](MessageSink& m) {
            return std::make_unique<QSerialLink>(context.Port, context.UserFolder, m);
        });
    context.Link = &link;

    auto* screen = new frmMemoryCardData2(context);
    screen->show();
    if (!WaitFor([&] { return screen->MonitorMode == 1; }, 30000)) {
        std::fprintf(stderr, "the connection check did not complete\n");
        return 1;
    }

    const int pollsBefore = int(sim.Commands().count("MDT"));
    QElapsedTimer wall;
    wall.start();
    const double cpuBefore = ProcessCpuSeconds();
    // The program's own event loop, as it runs between ticks (QTest::qWait would wake up
    // every 10 ms and count its own polling).
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    const double cpu = ProcessCpuSeconds() - cpuBefore;
    const double elapsed = double(wall.nsecsElapsed()) / 1e9;
    const int polls = int(sim.Commands().count("MDT")) - pollsBefore;

    std::printf("live monitor, channels %s, paced at 9600 bit/s\n", qPrintable(channels));
    std::printf("  span            %8.2f s\n", elapsed);
    std::printf("  polls (MDT)     %8d\n", polls);
    std::printf("  CPU time        %8.3f s\n", cpu);
    const double share = 100.0 * cpu / elapsed;
    std::printf("  CPU share       %8.3f %% of one core (aim: below 1 %%%s)\n", share,
                AimNote(share < 1.0));
    std::printf("  CPU per poll    %8.3f ms\n", polls > 0 ? 1000.0 * cpu / polls : 0.0);
    std::printf("  messages shown  %8zu\n", messages.Shown.size());
    link.Transcript().Flush();
    std::printf("  transcript      %8lld bytes\n",
                qlonglong(QFileInfo(link.Transcript().FilePath()).size()));
    delete screen;
    return BenchVerdict("live monitor", "polled, no message shown",
                        polls > 0 && messages.Shown.empty(), share < 1.0);
}
