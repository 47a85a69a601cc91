// The simulator executable on a real pty: a client opens the slave like the program does
// (raw 8N1 through termios) and talks to it, while tests steer it through SimProcess.
#include "SimProcess.h"
#include "TempHome.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSerialPort>
#include <QSignalSpy>
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

// Starts a simulator with a link in this test's home, no pacing, and the options given.
#define START_SIM(sim, ...)                                                                        \
    ASSERT_TRUE((sim).Start(QStringList{"--com", "1", "--no-pace"} + QStringList __VA_ARGS__))     \
        << (sim).ErrorText().toStdString()

TEST(SimulatorOnPty, WholeDropGoesOverTheLineAndTheTranscriptKeepsItsOrder)
{
    TempHome home;
    SimProcess sim;
    START_SIM(sim, {"--channels", "1,2,4"});
    PortClient port(sim.SlavePath());
    for (const char* c : {"RES", "SET1", "SET2", "SET4", "TRM21", "BAL", "DTG"})
        ASSERT_EQ(port.Ask(c), "OK\r\n") << c;
    EXPECT_EQ(port.Ask("EOC"), "0,0,0\r\n");
    ASSERT_TRUE(sim.Control("drop")) << sim.ErrorText().toStdString();
    ASSERT_TRUE(sim.WaitForTranscript("! recording complete"));
    EXPECT_EQ(port.Ask("EXE0"), "OK\r\n");
    EXPECT_EQ(port.Ask("EOC"), "800,800,800\r\n");
    EXPECT_EQ(port.Ask("ANS0"), "OK\r\n");
    EXPECT_EQ(port.Ask("ANS?"), "7000,521,198\r\n");

    const QStringList lines = sim.Transcript();
    const qsizetype dtg = lines.indexOf("> DTG");
    const qsizetype drop = lines.indexOf(QRegularExpression("! drop: peaks.*"));
    const qsizetype done = lines.indexOf(QRegularExpression("! recording complete.*"));
    const qsizetype ans = lines.indexOf("> ANS?");
    EXPECT_TRUE(dtg >= 0 && dtg < drop && drop < done && done < ans)
        << lines.join('\n').toStdString();
    EXPECT_EQ(lines.at(ans + 1), "< 7000,521,198");
    EXPECT_EQ(sim.Replies().last(), "7000,521,198");
}

TEST(SimulatorOnPty, DropComesByItselfAfterDtgWithDropAfter)
{
    TempHome home;
    SimProcess sim;
    START_SIM(sim, {"--drop-after", "200"});
    PortClient port(sim.SlavePath());
    for (const char* c : {"RES", "SET1", "SET2", "DTG"})
        ASSERT_EQ(port.Ask(c), "OK\r\n");
    ASSERT_TRUE(sim.WaitForTranscript("! recording complete"));
    EXPECT_EQ(port.Ask("EOC"), "800,800\r\n");
    EXPECT_TRUE(sim.Transcript().contains("! drop 200 ms after DTG"));
}

TEST(SimulatorOnPty, CommandsSplitAcrossWritesOrEndedByCrAloneAreTakenWhole)
{
    TempHome home;
    SimProcess sim;
    START_SIM(sim, {});
    PortClient port(sim.SlavePath());
    port.Send("RE");
    ASSERT_TRUE(sim.WaitForTranscript("! start"));
    port.Send("S\r\n");
    EXPECT_EQ(port.Read([](const QByteArray& b) { return b.contains("\r\n"); }), "OK\r\n");
    EXPECT_EQ(port.Ask("SET1\r"), "OK\r\n") << "CR alone ends a command, the LF is nothing";
    EXPECT_EQ(sim.Commands(), (QStringList{"RES", "SET1"}));
}

TEST(SimulatorOnPty, BinaryBlockArrivesAsExactlyTwoBytesAValue)
{
    TempHome home;
    SimProcess sim;
    START_SIM(sim, {"--noise", "0"});
    PortClient port(sim.SlavePath());
    for (const char* c : {"RES", "SET1", "SET2", "BAL", "DTG"})
        port.Ask(c);
    ASSERT_TRUE(sim.Control("drop"));
    ASSERT_TRUE(sim.WaitForTranscript("! recording complete"));
    port.Ask("RES");
    port.Ask("SET1");
    port.Send("BDT1001\r\n");
    const QByteArray block = port.ReadBytes(2002);
    ASSERT_EQ(block.size(), 2002);
    int peak = 0;
    for (int i = 0; i < 800; ++i)
        peak = std::max(peak, int(int16_t(uint8_t(block[2 * i]) << 8 | uint8_t(block[2 * i + 1]))));
    EXPECT_EQ(peak, 2800);
    // Nothing follows the block: the next reply is the next command's.
    EXPECT_EQ(port.Ask("CLK?"), "50\r\n");
}

TEST(SimulatorOnPty, StrayBytesArriveAroundTheReply)
{
    TempHome home;
    SimProcess sim;
    START_SIM(sim, {"--fault", "stray"});
    PortClient port(sim.SlavePath());
    port.Send("RES\r\n");
    EXPECT_EQ(port.ReadBytes(7), QByteArray("\xffOK\r\n\xfe\xff"));
    EXPECT_EQ(sim.Replies(), (QStringList{"\\xffOK\\x0d\\x0a\\xfe\\xff"}));
}

TEST(SimulatorOnPty, SilentLoggerAnswersNothingButHearsEverything)
{
    TempHome home;
    SimProcess sim;
    START_SIM(sim, {});
    ASSERT_TRUE(sim.Control("fault silent"));
    PortClient port(sim.SlavePath());
    port.Send("RES\r\n");
    ASSERT_TRUE(sim.WaitForTranscript("! no reply (silent)"));
    ASSERT_TRUE(sim.Control("fault none"));
    EXPECT_EQ(port.Ask("VS"), "QL-860H FW Ver 2.1A\r\n")
        << "nothing of the unanswered command was left on the line";
    EXPECT_EQ(sim.Commands(), (QStringList{"RES", "VS"}));
}

TEST(SimulatorOnPty, HangUpClosesTheLineAfterTheLastAnswerAndTheSimulatorEnds)
{
    TempHome home;
    SimProcess sim;
    START_SIM(sim, {});
    ASSERT_TRUE(sim.Control("fault hangup-after 2"));
    PortClient port(sim.LinkPath());
    EXPECT_EQ(port.Ask("RES"), "OK\r\n");
    EXPECT_EQ(port.Ask("SET1"), "OK\r\n");
    port.Send("SET2\r\n");
    EXPECT_TRUE(port.Read([](const QByteArray&) { return false; }).isEmpty());
    EXPECT_TRUE(port.Dead()) << "the client does not see a dead line";
    EXPECT_TRUE(sim.WaitForExit());
    EXPECT_FALSE(QFileInfo(sim.LinkPath()).isSymLink());
    EXPECT_TRUE(sim.Transcript().contains("! hang-up: the line is closed"));
}

TEST(SimulatorOnPty, QSerialPortTalksToItAndSeesTheHangUpAsAnError)
{
    TempHome home;
    SimProcess sim;
    START_SIM(sim, {});
    QSerialPort port(sim.LinkPath());
    port.setBaudRate(9600);
    ASSERT_TRUE(port.open(QIODevice::ReadWrite)) << port.errorString().toStdString();
    port.write("VS\r\n");
    QByteArray reply;
    const QDeadlineTimer deadline(5000);
    while (!reply.contains("\r\n") && !deadline.hasExpired() && port.waitForReadyRead(5000))
        reply += port.readAll();
    EXPECT_EQ(reply, "QL-860H FW Ver 2.1A\r\n");

    QSignalSpy errors(&port, &QSerialPort::errorOccurred);
    ASSERT_TRUE(sim.Control("fault hangup-after 0"));
    EXPECT_TRUE(errors.wait(5000) || !errors.isEmpty());
    EXPECT_NE(port.error(), QSerialPort::NoError);
    EXPECT_TRUE(sim.WaitForExit());
}

TEST(SimulatorOnPty, ControlFifoTakesControlLinesBesideStandardInput)
{
    TempHome home;
    SimProcess sim;
    const QString fifo = home.Path() + "/control";
    START_SIM(sim, {"--control-fifo", fifo});
    PortClient port(sim.SlavePath());
    for (const char* c : {"RES", "SET1", "SET2", "DTG"})
        port.Ask(c);
    QFile writer(fifo);
    ASSERT_TRUE(writer.open(QIODevice::WriteOnly));
    writer.write("drop\n");
    writer.close();
    ASSERT_TRUE(sim.WaitForTranscript("! recording complete"));
    // A writer that went away is no end of the control channel.
    ASSERT_TRUE(writer.open(QIODevice::WriteOnly));
    writer.write("fault error EOC 005\n");
    writer.close();
    ASSERT_TRUE(sim.WaitForTranscript("! fault error EOC 005"));
    EXPECT_EQ(port.Ask("EOC"), "ERR-005\r\n");
}

TEST(SimulatorOnPty, RefusedControlLineFailsWithTheSimulatorsReason)
{
    TempHome home;
    SimProcess sim;
    START_SIM(sim, {});
    EXPECT_FALSE(sim.Control("fault bogus"));
    EXPECT_TRUE(sim.ErrorText().contains("unknown fault")) << sim.ErrorText().toStdString();
    EXPECT_TRUE(sim.Control("fault none")) << "the simulator still listens";
}

TEST(SimulatorOnPty, StaleLinkIsReplacedButAnOperatorsFileIsLeftAlone)
{
    TempHome home;
    const QString ports = home.UserFolder() + "ports/";
    QDir().mkpath(ports);
    QFile::link("/dev/null", ports + "COM1");
    {
        SimProcess sim;
        START_SIM(sim, {});
        EXPECT_EQ(QFileInfo(ports + "COM1").symLinkTarget(), sim.SlavePath());
    }
    home.WriteFile("Documents/VX-2968/ports/COM2", "keep me");
    SimProcess sim;
    EXPECT_FALSE(sim.Start({"--com", "2", "--no-pace"}));
    EXPECT_TRUE(sim.ErrorText().contains("not a symbolic link")) << sim.ErrorText().toStdString();
    QFile kept(ports + "COM2");
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "keep me");
}

TEST(SimulatorOnPty, TerminationRemovesTheLinkAndBadOptionsAreRefused)
{
    TempHome home;
    QProcess process;
    process.start(QString(VX_BIN_DIR) + "/vx-logger-sim", {"--com", "5", "--no-pace"});
    ASSERT_TRUE(process.waitForReadyRead(10000));
    const QString link = home.UserFolder() + "ports/COM5";
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    process.terminate();
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_FALSE(QFileInfo(link).isSymLink());

    SimProcess bad;
    EXPECT_FALSE(bad.Start({"--channels", "9"}));
    EXPECT_TRUE(bad.ErrorText().contains("--channels")) << bad.ErrorText().toStdString();
}

TEST(SimulatorOnPty, WithoutStandardInputItServesUntilQuitComesThroughTheFifo)
{
    TempHome home;
    const QString fifo = home.Path() + "/control";
    QProcess process;
    process.start(
        QString(VX_BIN_DIR) + "/vx-logger-sim",
        {"--link", home.Path() + "/COM1", "--no-pace", "--no-stdin", "--control-fifo", fifo});
    process.closeWriteChannel();
    ASSERT_TRUE(process.waitForReadyRead(10000));
    EXPECT_TRUE(process.readLine().startsWith("PTY "));
    PortClient port(home.Path() + "/COM1");
    EXPECT_EQ(port.Ask("RES"), "OK\r\n") << "it ended with its standard input";
    QFile writer(fifo);
    ASSERT_TRUE(writer.open(QIODevice::WriteOnly));
    writer.write("quit\n");
    writer.close();
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_FALSE(QFileInfo(home.Path() + "/COM1").isSymLink());
}

TEST(SimulatorOnPty, TwoSimulatorsSideBySideEachAnswerOnTheirOwnLine)
{
    TempHome home;
    SimProcess first, second;
    ASSERT_TRUE(first.Start({"--link", home.Path() + "/a", "--no-pace", "--firmware", "2.0D"}));
    ASSERT_TRUE(second.Start({"--link", home.Path() + "/b", "--no-pace", "--firmware", "2.1F"}));
    PortClient a(home.Path() + "/a"), b(home.Path() + "/b");
    EXPECT_EQ(a.Ask("VS"), "QL-860H FW Ver 2.0D\r\n");
    EXPECT_EQ(b.Ask("VS"), "QL-860H FW Ver 2.1F\r\n");
    EXPECT_EQ(first.Commands(), QStringList{"VS"});
    EXPECT_EQ(second.Commands(), QStringList{"VS"});
}

} // namespace
