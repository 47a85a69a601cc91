// The full settings read of a six-channel logger, repeated, over the real QSerialLink to
// the simulator paced at 9600 bit/s (10 bits a byte). Prints the wall time of the
// transactions, the time their bytes need on the wire, the ratio, and the program's CPU
// time as a share of the wall time, without and with the service transcript (reads taken
// in turns, so that a busy machine weighs on both alike). The settling pause of opening
// the port is left out. Fails when a read failed, a message was shown or the transcript was
// not written, and in a full run when the transcript slowed the line more than its aim.
// VX_BENCH_SHORT=1: one read each, the cost printed but not judged (for CI).
#include "BenchRun.h"
#include "SimProcess.h"
#include "TempHome.h"
#include "logger/ReadLoggerSettings.h"
#include "serial/QSerialLink.h"
#include "serial/TranscriptLink.h"
#include "shell/MessageSink.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>
#include <ctime>

namespace
{

constexpr double BitsPerByte = 10.0;
constexpr double LineBitsPerSecond = 9600.0;
// The transcript may cost the line at most this share of its wall/wire ratio.
constexpr double TranscriptAimPercent = 5.0;

// Counts the bytes of every exchange on its way to the real line.
class CountingLink : public SerialLink
{
public:
    explicit CountingLink(SerialLink& line) : m_line(line) {}

    qint64 Transactions = 0;
    qint64 BytesOut = 0;
    qint64 BytesIn = 0;

    void Connect(bool open) override { m_line.Connect(open); }
    void PortOutput(const QString& cmd) override { m_line.PortOutput(cmd); }
    int32_t RSCom(const QString& cmd) override
    {
        m_line.SetReplyTimeout(ReplyTimeout());
        const int32_t status = m_line.RSCom(cmd);
        m_state.ReplyText = m_line.ReplyText();
        m_state.ReplyTimeout = m_line.ReplyTimeout();
        ++Transactions;
        BytesOut += cmd.size() + 2;
        BytesIn += m_line.ReplyText().size();
        return status;
    }
    void Wait(int32_t ms) override { m_line.Wait(ms); }
    int16_t ReceiveBinary(int32_t count) override { return m_line.ReceiveBinary(count); }

private:
    SerialLink& m_line;
};

// The program's line, lent to the transcript for the bench (which keeps it open).
class LentLink : public SerialLink
{
public:
    explicit LentLink(SerialLink& line) : m_line(line) { ShareStateOf(line); }
    void Connect(bool open) override { m_line.Connect(open); }
    void PortOutput(const QString& cmd) override { m_line.PortOutput(cmd); }
    int32_t RSCom(const QString& cmd) override { return m_line.RSCom(cmd); }
    void Wait(int32_t ms) override { m_line.Wait(ms); }
    int16_t ReceiveBinary(int32_t count) override { return m_line.ReceiveBinary(count); }

private:
    SerialLink& m_line;
};

double CpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

double WallSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

struct Figures {
    double Wall = 0.0;
    double Cpu = 0.0;
    int Failures = 0;
};

void ReadSettings(CountingLink& link, MessageSink& messages, Figures& figures)
{
    const double wall0 = WallSeconds();
    const double cpu0 = CpuSeconds();
    LoggerSettings settings;
    link.SetReplyTimeout(1000);
    if (ReadLoggerSettings(link, messages, settings) != 0 || settings.ChannelCount != 6)
        ++figures.Failures;
    figures.Wall += WallSeconds() - wall0;
    figures.Cpu += CpuSeconds() - cpu0;
}

double Print(const char* what, const CountingLink& link, const Figures& f, int rounds)
{
    const double wireBoth = double(link.BytesOut + link.BytesIn) * BitsPerByte / LineBitsPerSecond;
    const double wireReplies = double(link.BytesIn) * BitsPerByte / LineBitsPerSecond;
    std::printf("%s: %d settings reads of a 6-channel logger (%d failed)\n", what, rounds,
                f.Failures);
    std::printf("  transactions:               %lld (%lld a read)\n", qlonglong(link.Transactions),
                qlonglong(link.Transactions / rounds));
    std::printf("  bytes out / in:             %lld / %lld\n", qlonglong(link.BytesOut),
                qlonglong(link.BytesIn));
    std::printf("  wall time:                  %.3f s\n", f.Wall);
    std::printf("  wire time, both directions: %.3f s  ratio wall/wire %.3f\n", wireBoth,
                f.Wall / wireBoth);
    std::printf("  wire time, replies only:    %.3f s  ratio wall/wire %.3f\n", wireReplies,
                f.Wall / wireReplies);
    std::printf("  CPU time:                   %.3f s  = %.2f %% of wall\n", f.Cpu,
                100.0 * f.Cpu / f.Wall);
    return f.Wall / wireBoth;
}

} // namespace

int main(int argc, char** argv)
{
    PrintLineByLine();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int rounds = ShortRun() ? 1 : 5;
    TempHome home;
    SimProcess sim;
    if (!sim.Start({"--com", "1", "--pace", "--channels", "1,2,3,4,5,6"})) {
        std::fprintf(stderr, "simulator: %s\n", qPrintable(sim.ErrorText()));
        return 1;
    }
    RecordingMessages messages;
    PortSettings port;
    QSerialLink line(port, home.UserFolder(), messages);
    line.Connect(true);
    if (!line.PortOpened()) {
        std::fprintf(stderr, "the port did not open\n");
        return 1;
    }
    line.SetReplyTimeout(1000);
    SystemClock clock;
    TranscriptLink transcribed(
        home.UserFolder() + "service/", clock, [] { return QStringLiteral("COM1"); }, messages,
        UiLanguage::English, [&](MessageSink&) { return std::make_unique<LentLink>(line); });
    CountingLink plain(line);
    CountingLink recorded(transcribed);

    Figures without, with;
    for (int round = 0; round < rounds; ++round) {
        ReadSettings(plain, messages, without);
        ReadSettings(recorded, messages, with);
    }
    transcribed.Transcript().Flush();
    line.Connect(false);

    const double ratioWithout = Print("without the transcript", plain, without, rounds);
    const double ratioWith = Print("with the transcript", recorded, with, rounds);
    const double cost = 100.0 * (ratioWith / ratioWithout - 1.0);
    const qint64 logBytes = QFileInfo(transcribed.Transcript().FilePath()).size();
    const bool met = cost <= TranscriptAimPercent;
    std::printf("transcript: %lld bytes written; wall/wire %.3f against %.3f: %+.2f %% "
                "(aim: at most %+.1f %%%s)\n",
                qlonglong(logBytes), ratioWith, ratioWithout, cost, TranscriptAimPercent,
                AimNote(met));
    std::printf("messages shown:             %zu\n", messages.Shown.size());
    const bool worked = without.Failures == 0 && with.Failures == 0 && logBytes > 0 &&
                        !transcribed.Transcript().GaveUp() && messages.Shown.empty();
    return BenchVerdict("serial transactions",
                        "every read whole, no message, the transcript written", worked, met);
}
