// The simulator executable on a real pty: a client opens the slave like the program does
// (raw 8N1 through termios) and talks to it, while tests steer it through SimProcess.
#include "SimProcess.h"
#include "TempHome.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace
{

// The program's side of the line, on plain POSIX calls.
class PortClient
{
public:
    explicit PortClient(const QString& path)
    {
        m_fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_fd < 0)
            return;
        termios tio{};
        ::tcgetattr(m_fd, &tio);
        ::cfmakeraw(&tio);
        ::cfsetspeed(&tio, B9600);
        ::tcsetattr(m_fd, TCSANOW, &tio);
    }
    ~PortClient()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool IsOpen() const { return m_fd >= 0; }

    void Send(const QByteArray& bytes)
    {
        [[maybe_unused]] auto n = ::write(m_fd, bytes.data(), bytes.size());
    }

    // Reads until `done` holds for what came, the line dies, or the time is up.
    QByteArray Read(const std::function<bool(const QByteArray&)>& done, int timeoutMs = 5000)
    {
        QByteArray got;
        const QDeadlineTimer deadline(timeoutMs);
        while (!done(got) && !deadline.hasExpired()) {
            pollfd p{m_fd, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(deadline.remainingTime())) <= 0)
                break;
            char chunk[8192];
            const ssize_t n = ::read(m_fd, chunk, sizeof chunk);
            if (n > 0) {
                got.append(chunk, n);
            } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                m_dead = true;
                break;
            }
        }
        return got;
    }

    // One command, one reply line (with its CR LF).
    QByteArray Ask(const QByteArray& command, int timeoutMs = 5000)
    {
        Send(command + "\r\n");
        return Read([](const QByteArray& b) { return b.contains("\r\n"); }, timeoutMs);
    }

    QByteArray ReadBytes(int count, int timeoutMs = 5000)
    {
        return Read([count](const QByteArray& b) { return b.size() >= count; }, timeoutMs);
    }

    bool Dead() const { return m_dead; }

private:
    int m_fd = -1;
    bool m_dead = false;
};

TEST(SimulatorOnPty, StartsLinkedAtTheComPortOfTheUserFolderAndAnswers)
{
    TempHome home;
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--com", "3", "--channels", "1,2,4", "--no-pace"}))
        << sim.ErrorText().toStdString();
    const QString link = home.UserFolder() + "ports/COM3";
    EXPECT_EQ(sim.LinkPath(), link);
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), sim.SlavePath());

    PortClient port(link);
    ASSERT_TRUE(port.IsOpen());
    EXPECT_EQ(port.Ask("RES"), "OK\r\n");
    EXPECT_EQ(port.Ask("SET1"), "OK\r\n");
    EXPECT_EQ(port.Ask("SET3"), "ERR-008\r\n");
    EXPECT_EQ(port.Ask("SET4"), "OK\r\n");
    EXPECT_EQ(port.Ask("MNO?"), "0,0\r\n");
    EXPECT_EQ(sim.Commands(), (QStringList{"RES", "SET1", "SET3", "SET4", "MNO?"}));
    EXPECT_TRUE(sim.Transcript().contains("< ERR-008"));

    sim.Stop();
    EXPECT_FALSE(QFileInfo(link).isSymLink()) << "the link outlived the simulator";
}

} // namespace
