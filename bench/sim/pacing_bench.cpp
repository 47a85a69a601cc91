// How long typical exchanges with the simulator take on its pty: paced, each should cost
// what its bytes cost on a 9600 bit/s line (10 bits a byte); unpaced, only the pty.
// A simulator that does not start or a reply that does not come whole exits with 1; the
// times have no aim. VX_BENCH_SHORT=1: each exchange once (for CI).
#include "BenchRun.h"
#include "SimProcess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace
{

constexpr double MsPerByte = 10.0 * 1000.0 / 9600.0;

class Line
{
public:
    explicit Line(const QString& path)
        : m_fd(::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK))
    {
        termios tio{};
        ::tcgetattr(m_fd, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(m_fd, TCSANOW, &tio);
    }
    ~Line() { ::close(m_fd); }

    int Incomplete = 0; // exchanges whose reply did not come whole

    // Sends a command and reads until `bytes` bytes came; the milliseconds it took.
    double Exchange(const QByteArray& command, int bytes)
    {
        QElapsedTimer timer;
        timer.start();
        const QByteArray line = command + "\r\n";
        [[maybe_unused]] ssize_t w = ::write(m_fd, line.data(), line.size());
        int got = 0;
        while (got < bytes && timer.elapsed() < 10000) {
            pollfd p{m_fd, POLLIN, 0};
            if (::poll(&p, 1, 10000) <= 0)
                break;
            char chunk[4096];
            const ssize_t n = ::read(m_fd, chunk, sizeof chunk);
            if (n > 0)
                got += static_cast<int>(n);
            else if (n == 0 || errno != EAGAIN)
                break;
        }
        Incomplete += got < bytes ? 1 : 0;
        return static_cast<double>(timer.nsecsElapsed()) / 1e6;
    }

private:
    int m_fd;
};

// False when the simulator did not start or a reply did not come whole.
bool Measure(bool paced, bool brief)
{
    QTemporaryDir dir;
    SimProcess sim;
    QStringList args{"--link", dir.filePath("COM1"), "--channels", "1,2,3,4,5,6"};
    if (!paced)
        args << "--no-pace";
    if (!sim.Start(args)) {
        std::printf("simulator did not start: %s\n", qPrintable(sim.ErrorText()));
        return false;
    }
    Line line(sim.SlavePath());
    line.Exchange("RES", 4);
    for (const char* c : {"SET1", "SET2"})
        line.Exchange(c, 4);

    struct Case {
        const char* Command;
        int ReplyBytes;
    } cases[] = {{"RES", 4}, {"SET1", 4}, {"SET2", 4}, {"MDT", 17}, {"VS", 21}, {"BDT1000", 2000}};
    std::printf("%s\n", paced ? "paced, 9600 bit/s" : "unpaced");
    std::printf("  %-8s %8s %10s %10s\n", "command", "bytes", "measured", "wire");
    for (const Case& c : cases) {
        const int repeats = brief ? 1 : c.ReplyBytes > 100 ? 2 : 20;
        double total = 0;
        for (int i = 0; i < repeats; ++i)
            total += line.Exchange(c.Command, c.ReplyBytes);
        const int bytes = static_cast<int>(qstrlen(c.Command)) + 2 + c.ReplyBytes;
        std::printf("  %-8s %8d %8.2f ms %8.2f ms\n", c.Command, bytes, total / repeats,
                    paced ? bytes * MsPerByte : 0.0);
    }
    return line.Incomplete == 0;
}

} // namespace

int main(int argc, char** argv)
{
    PrintLineByLine();
    QCoreApplication app(argc, argv);
    const bool paced = Measure(true, ShortRun());
    const bool unpaced = Measure(false, ShortRun());
    return BenchVerdict("pacing", "the simulator started, every reply whole", paced && unpaced,
                        true);
}
