// The simulator executable on a real pty, steered through SimProcess: the port link it
// makes and removes, commands as the line carries them, the control FIFO, and the
// transcripts it refuses to replay.
#include "SimProcess.h"
#include "TempHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSerialPort>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

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

struct RefusedRow {
    const char* Name;
    QByteArray Transcript; // the file's text, or <folder>, <fifo>, <17 MB>
    const char* Said;      // on standard error after the file's name
};

void PrintTo(const RefusedRow& r, std::ostream* os)
{
    *os << r.Name;
}

class ReplayRefused : public testing::TestWithParam<RefusedRow>
{
};

TEST_P(ReplayRefused, InOneLineWithStatusTwoBeforeAnythingStarts)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("line.log"), ownTranscript = dir.filePath("sim.txt");
    const QByteArray& text = GetParam().Transcript;
    QFile file(path);
    if (text == "<folder>")
        QDir().mkdir(path);
    else if (text == "<fifo>")
        ::mkfifo(path.toLocal8Bit().constData(), 0600);
    else
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) &&
                    (text == "<17 MB>" ? file.resize(17 << 20) : file.write(text) > 0));
    file.close();
    SimProcess sim;
    EXPECT_FALSE(sim.Start({"--transcript", ownTranscript, "--replay", path}, 5000));
    EXPECT_EQ(sim.ExitCode(), 2);
    const QString said = sim.StandardError();
    EXPECT_TRUE(said.startsWith("vx-logger-sim: " + path + GetParam().Said)) << said.toStdString();
    EXPECT_EQ(said.count('\n'), 1) << said.toStdString();
    EXPECT_FALSE(QFile::exists(ownTranscript));
}

const RefusedRow RefusedRows[] = {
    {"a folder", "<folder>", " is a folder, not a transcript file"},
    {"a FIFO", "<fifo>", " is a FIFO, not a transcript file"},
    {"a file too large", "<17 MB>", " is larger than 16 MB"},
    {"no transcript", "notes\nT COM1 opened\n", " is not a service transcript"},
    {"an escape never written", R"(T COM1 "MDT" -> "\q" status 2)", R"( line 1: "\q" is not an)"},
    {"a byte without hex digits", R"(T COM1 "M\xZZ" sent)", R"( line 1: "\xZZ" is not an)"},
    {"a reply cut short", "\nT COM1 \"MDT\" -> \"+00", " line 2: the reply's quote is never"},
    {"a reply longer than the program keeps",
     "T COM1 \"MDT\" -> \"" + QByteArray(5001, '1') + "\\r\\n\" status 5003",
     " line 1: the reply is 5003 bytes, more than the 5000 bytes"},
    {"more repeats than a day", R"(T COM1 "MDT" repeated 86401 more times, last -> "1")",
     R"( line 1: the repeat count "86401" is not 1 to 86400)"},
};

INSTANTIATE_TEST_SUITE_P(Rows, ReplayRefused, testing::ValuesIn(RefusedRows), [](const auto& info) {
    return QString(info.param.Name).replace(' ', '_').toStdString();
});

} // namespace
