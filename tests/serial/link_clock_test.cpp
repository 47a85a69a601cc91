// The reply deadline of the real QSerialLink on a real pseudo-terminal, on a clock the test
// holds: the logger's reply is on the line as soon as the command has gone, and the link
// finds it at the moment the test's clock says.
#include "TempHome.h"
#include "serial/QSerialLink.h"
#include "shell/MessageSink.h"

#include <QDir>
#include <QFile>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace
{

using namespace std::chrono;

// The logger's end of the line: the pty master.
struct Master {
    Master() : Fd(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK))
    {
        if (Fd >= 0 && ::grantpt(Fd) == 0 && ::unlockpt(Fd) == 0)
            Slave = QString::fromLocal8Bit(::ptsname(Fd));
    }
    ~Master() { ::close(Fd); }
    void Write(const QByteArray& bytes) const
    {
        [[maybe_unused]] auto n = ::write(Fd, bytes.constData(), size_t(bytes.size()));
    }
    // What the link has written since the last call.
    QByteArray Received() const
    {
        char chunk[256];
        const ssize_t n = ::read(Fd, chunk, sizeof chunk);
        return QByteArray(chunk, int(std::max<ssize_t>(n, 0)));
    }
    int Fd;
    QString Slave;
};

TEST(LinkClock, AReplyCountsOnlyWhenFoundByTheDeadline)
{
    const struct {
        const char* Name;
        bool AfterReception; // a reply came in the exchange before; else a time-out of 1000 ms
        QByteArray Reply;
        int FoundAtMs;  // when the link looks at the line after sending
        int32_t Status; // the reply's length, -1 an error reply, -2 no reply
    } cases[] = {
        {"found before the deadline", false, "OK\r\n", 999, 4},
        {"waiting, found after the deadline", false, "OK\r\n", 1001, -2},
        {"err in lower case", false, "err-004\r\n", 0, -1},
        {"after a reception, within 500 ms", true, "OK\r\n", 499, 4},
        {"after a reception, after 500 ms", true, "OK\r\n", 501, -2},
    };
    TempHome home;
    Master logger;
    ASSERT_FALSE(logger.Slave.isEmpty());
    ASSERT_TRUE(QDir().mkpath(home.UserFolder() + "ports"));
    ASSERT_TRUE(QFile::link(logger.Slave, home.UserFolder() + "ports/COM1"));
    PortSettings settings;
    RecordingMessages messages;
    QSerialLink link(settings, home.UserFolder(), messages);
    link.Connect(true);
    ASSERT_TRUE(link.PortOpened());

    const steady_clock::time_point t0{};
    QByteArray reply;
    int foundAt = 0;
    // The first look is the start of the exchange, once the command has gone.
    link.SetClock([&] {
        if (reply.isEmpty())
            return t0 + milliseconds(foundAt);
        logger.Write(reply);
        reply.clear();
        return t0;
    });
    auto exchange = [&](const QByteArray& r, int ms) {
        reply = r;
        foundAt = ms;
        return link.RSCom("RES");
    };
    for (const auto& c : cases) {
        if (c.AfterReception) {
            link.SetReplyTimeout(3000);
            ASSERT_EQ(exchange("OK\r\n", 0), 4) << c.Name;
        } else {
            link.SetReplyTimeout(1000);
        }
        logger.Received();
        EXPECT_EQ(exchange(c.Reply, c.FoundAtMs), c.Status) << c.Name;
        EXPECT_EQ(logger.Received(), "RES\r\n") << c.Name;
    }
}

} // namespace
