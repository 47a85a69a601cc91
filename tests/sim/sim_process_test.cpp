// The simulator executable on a real pty, steered through SimProcess: the port link it
// makes and removes, commands as the line carries them, and the control FIFO.
#include "SimProcess.h"
#include "TempHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSerialPort>
#include <gtest/gtest.h>

namespace
{

// The program's side of the line.
struct Port {
    explicit Port(const QString& path) : Line(path) { Line.open(QIODevice::ReadWrite); }
    // Sends the bytes and reads up to a line end; what came when the line stays silent.
    QByteArray Ask(const QByteArray& bytes)
    {
        Line.write(bytes);
        QByteArray reply;
        while (!reply.contains("\r\n") && Line.waitForReadyRead(5000))
            reply += Line.readAll();
        return reply;
    }
    QSerialPort Line;
};

TEST(SimulatorOnPty, TheLinkIsItsOwnWhileItRunsAndGoesWithIt)
{
    TempHome home;
    const QString ports = home.UserFolder() + "ports/";
    QDir().mkpath(ports);
    QFile::link("/dev/null", ports + "COM1"); // left behind by a simulator long ago
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--com", "1", "--no-pace"})) << sim.ErrorText().toStdString();
    EXPECT_EQ(QFileInfo(ports + "COM1").symLinkTarget(), sim.SlavePath());
    Port port(ports + "COM1");
    ASSERT_TRUE(port.Line.isOpen());
    port.Line.write("RE");
    port.Line.waitForBytesWritten(5000);
    EXPECT_EQ(port.Ask("S\r\n"), "OK\r\n") << "a command split across two writes";
    EXPECT_EQ(port.Ask("SET1\r"), "OK\r\n") << "CR alone ends a command, the LF is nothing";
    EXPECT_EQ(sim.Commands(), (QStringList{"RES", "SET1"}));
    sim.Stop();
    EXPECT_FALSE(QFileInfo(ports + "COM1").isSymLink()) << "the link outlived the simulator";
}

TEST(SimulatorOnPty, ControlFifoTakesLinesFromWritersThatComeAndGoUntilQuit)
{
    TempHome home;
    const QString fifo = home.Path() + "/control";
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--com", "1", "--no-pace", "--control-fifo", fifo}))
        << sim.ErrorText().toStdString();
    Port port(sim.SlavePath());
    QFile writer(fifo);
    ASSERT_TRUE(writer.open(QIODevice::WriteOnly));
    writer.write("fault error RES 005\n");
    writer.close(); // a writer that went away is no end of the control channel
    ASSERT_TRUE(sim.WaitForTranscript("! fault error RES 005"));
    EXPECT_EQ(port.Ask("RES\r\n"), "ERR-005\r\n");
    ASSERT_TRUE(writer.open(QIODevice::WriteOnly));
    writer.write("quit\n");
    writer.close();
    EXPECT_TRUE(sim.WaitForExit());
    EXPECT_FALSE(QFileInfo(sim.LinkPath()).isSymLink());
}

} // namespace
