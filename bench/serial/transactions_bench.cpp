// The full settings read of a six-channel logger, repeated, over the real QSerialLink to
// the simulator paced at 9600 bit/s (10 bits a byte). Prints the wall time of the
// transactions, the time their bytes need on the wire, the ratio, and the program's CPU
// time as a share of the wall time. The settling pause of opening the port is left out.
// A failed read or a message shown exits with 1. VX_BENCH_SHORT=1: one read (for CI).
#include "SimProcess.h"
#include "TempHome.h"
#include "logger/ReadLoggerSettings.h"
#include "serial/QSerialLink.h"
#include "shell/MessageSink.h"

#include <QGuiApplication>
#include <cstdio>
#include <ctime>

namespace
{

constexpr double BitsPerByte = 10.0;
constexpr double LineBitsPerSecond = 9600.0;

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

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int rounds = qEnvironmentVariableIsSet("VX_BENCH_SHORT") ? 1 : 5;
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
    CountingLink link(line);

    const double wall0 = WallSeconds();
    const double cpu0 = CpuSeconds();
    int failures = 0;
    for (int round = 0; round < rounds; ++round) {
        LoggerSettings settings;
        link.SetReplyTimeout(1000);
        if (ReadLoggerSettings(link, messages, settings) != 0 || settings.ChannelCount != 6)
            ++failures;
    }
    const double wall = WallSeconds() - wall0;
    const double cpu = CpuSeconds() - cpu0;
    line.Connect(false);

    const double wireBoth = double(link.BytesOut + link.BytesIn) * BitsPerByte / LineBitsPerSecond;
    const double wireReplies = double(link.BytesIn) * BitsPerByte / LineBitsPerSecond;
    std::printf("settings reads of a 6-channel logger: %d (%d failed)\n", rounds, failures);
    std::printf("transactions:               %lld (%lld a read)\n", qlonglong(link.Transactions),
                qlonglong(link.Transactions / rounds));
    std::printf("bytes out / in:             %lld / %lld\n", qlonglong(link.BytesOut),
                qlonglong(link.BytesIn));
    std::printf("wall time:                  %.3f s\n", wall);
    std::printf("wire time, both directions: %.3f s  ratio wall/wire %.3f\n", wireBoth,
                wall / wireBoth);
    std::printf("wire time, replies only:    %.3f s  ratio wall/wire %.3f\n", wireReplies,
                wall / wireReplies);
    std::printf("CPU time:                   %.3f s  = %.2f %% of wall\n", cpu, 100.0 * cpu / wall);
    std::printf("messages shown:             %zu\n", messages.Shown.size());
    return failures == 0 && messages.Shown.empty() ? 0 : 1;
}
