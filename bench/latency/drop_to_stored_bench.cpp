// Drop-to-stored latency: the real measurement screen and run form (offscreen) on the
// real QSerialLink against the simulator at 9600 bit/s. For each drop it takes the time
// from the end of the last "EOC" exchange (recording complete) until the results grid has
// been refilled, the line being on the disk before that, and subtracts the time spent on
// the line by the exchanges in between (ANS0, ANS? and the numbering commands). What is
// left is the program's own work: peak values, K and E, the synced append, the grid.
// A run that stores nothing exits with 1, and in a full run so does a median own time over
// its aim. VX_BENCH_SHORT=1: two drops, in seconds, the aim printed but not judged (for CI).
#include "BenchRun.h"
#include "MeasuringDay.h"
#include "SimProcess.h"
#include "TempHome.h"
#include "results/ResultsFile.h"
#include "shell/gui/Application.h"
#include "shell/gui/WindowRules.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{

// Passes every exchange on to the real line and notes when each began and ended.
class TimedLink : public SerialLink
{
public:
    TimedLink(SerialLink& line, const QElapsedTimer& clock) : m_line(line), m_clock(clock) {}

    struct Exchange {
        QString Command;
        qint64 StartNs = 0;
        qint64 EndNs = 0;
    };
    std::vector<Exchange> Exchanges;

    void Connect(bool open) override { m_line.Connect(open), Sync(); }
    void PortOutput(const QString& cmd) override { m_line.PortOutput(cmd), Sync(); }
    int32_t RSCom(const QString& cmd) override
    {
        m_line.SetReplyTimeout(ReplyTimeout());
        const qint64 start = m_clock.nsecsElapsed();
        const int32_t status = m_line.RSCom(cmd);
        const qint64 end = m_clock.nsecsElapsed();
        Exchanges.push_back({cmd, start, end});
        Sync();
        return status;
    }
    void Wait(int32_t ms) override { m_line.Wait(ms), Sync(); }
    int16_t ReceiveBinary(int32_t count) override
    {
        const int16_t status = m_line.ReceiveBinary(count);
        Sync();
        return status;
    }

private:
    void Sync()
    {
        m_state.PortOpened = m_line.State().PortOpened;
        m_state.ReplyText = m_line.State().ReplyText;
        m_state.ReplyTimeout = m_line.State().ReplyTimeout;
    }
    SerialLink& m_line;
    const QElapsedTimer& m_clock;
};

double Ms(qint64 ns)
{
    return double(ns) / 1e6;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Prints the figures, followed by `note`.
void PrintFigures(const char* what, const std::vector<double>& values, const char* note = "")
{
    const auto [min, max] = std::minmax_element(values.begin(), values.end());
    std::printf("%-44s median %7.2f ms   min %7.2f ms   max %7.2f ms%s\n", what, Median(values),
                *min, *max, note);
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
    const int drops = brief ? 2 : argc > 1 ? std::max(1, atoi(argv[1])) : 10;

    TempHome home;
    QDir().mkpath(home.UserFolder());
    SimProcess sim;
    if (!sim.Start({"--com", "1", "--channels", "1,2,3,4", "--drop-after", "20", "--pace"})) {
        std::fprintf(stderr, "simulator: %s\n", qPrintable(sim.ErrorText()));
        return 1;
    }

    MeasuringDay day;
    QElapsedTimer since;
    since.start();
    TimedLink link(*day.Line, since);
    if (!day.Open(&link)) {
        std::fprintf(stderr, "the screen did not connect\n");
        return 1;
    }
    frmMemoryCardData2* screen = day.Screen;
    ResultsContext& context = day.Context;
    qint64 gridFilledNs = 0;
    QObject::connect(&screen->ResultGrid(), &GridModel::dataChanged,
                     [&] { gridFilledNs = since.nsecsElapsed(); });

    std::vector<double> own, wire, total;
    for (int i = 0; i < drops; ++i) {
        link.Exchanges.clear();
        gridFilledNs = 0;
        const bool stored = day.Drop();
        const auto& ex = link.Exchanges;
        // The last "EOC" of the run: the one that found the recording complete.
        auto last = std::find_if(ex.rbegin(), ex.rend(),
                                 [](const auto& e) { return e.Command == QLatin1String("EOC"); });
        if (!stored || last == ex.rend() || gridFilledNs == 0) {
            std::fprintf(stderr, "run %d did not complete\n", i + 1);
            return 1;
        }
        const qint64 from = last->EndNs;
        qint64 onTheLine = 0;
        for (auto it = last.base(); it != ex.end(); ++it) {
            if (it->StartNs >= from && it->EndNs <= gridFilledNs)
                onTheLine += it->EndNs - it->StartNs;
        }
        total.push_back(Ms(gridFilledNs - from));
        wire.push_back(Ms(onTheLine));
        own.push_back(Ms(gridFilledNs - from - onTheLine));
    }

    // The synced append by itself, for scale.
    std::vector<double> append;
    ResultEntry entry = context.Results.Entries[0];
    for (int i = 0; i < 20; ++i) {
        QElapsedTimer t;
        t.start();
        AppendResult(context, entry);
        append.push_back(Ms(t.nsecsElapsed()));
    }

    std::printf("drop-to-stored over %d drops (4 channels, 9600 bit/s, results file %s)\n", drops,
                qPrintable(context.G.DataFolder));
    PrintFigures("last EOC reply to line stored + grid refilled", total);
    PrintFigures("  of which exchanges on the line", wire);
    const bool met = Median(own) < 20.0;
    PrintFigures("  the program's own time (aim: under 20 ms)", own, AimNote(met));
    PrintFigures("one synced append (open, write, fsync)", append);
    delete day.Screen; // while the timed link it talks to still exists
    day.Screen = nullptr;
    return BenchVerdict("drop-to-stored", "every drop stored and shown in the grid", true, met);
}
