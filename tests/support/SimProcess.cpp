#include "SimProcess.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QStandardPaths>
#include <QtTest/QTest>
#include <algorithm>

namespace
{
QString SimulatorProgram()
{
    const QString dir = qEnvironmentVariable("VX_BIN_DIR", QStringLiteral(VX_BIN_DIR));
    return dir + "/vx-logger-sim";
}

QString OptionValue(const QStringList& arguments, const QString& option)
{
    const qsizetype i = arguments.indexOf(option);
    return i >= 0 && i + 1 < arguments.size() ? arguments[i + 1] : QString();
}
} // namespace

SimProcess::SimProcess()
{
    m_process.setProgram(SimulatorProgram());
}

SimProcess::~SimProcess()
{
    Stop();
}

void SimProcess::Fail(const QString& why)
{
    m_stderr += m_process.readAllStandardError();
    m_error = why;
}

QString SimProcess::ErrorText() const
{
    QString text = m_error;
    if (!m_stderr.isEmpty())
        text += "\nsimulator said: " + QString::fromLocal8Bit(m_stderr).trimmed();
    return text;
}

bool SimProcess::ReadLineFromOutput(QString& line, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        const qsizetype eol = m_stdout.indexOf('\n');
        if (eol >= 0) {
            line = QString::fromLocal8Bit(m_stdout.left(eol)).trimmed();
            m_stdout.remove(0, eol + 1);
            return true;
        }
        if (m_process.state() == QProcess::NotRunning)
            return false;
        if (deadline.hasExpired())
            return false;
        m_process.waitForReadyRead(static_cast<int>(qMax<qint64>(1, deadline.remainingTime())));
        m_stdout += m_process.readAllStandardOutput();
        m_stderr += m_process.readAllStandardError();
    }
}

bool SimProcess::Start(const QStringList& arguments, int timeoutMs)
{
    if (IsRunning()) {
        m_error = "the simulator is already running";
        return false;
    }
    m_error.clear();
    m_stderr.clear();
    m_stdout.clear();
    m_slavePath.clear();

    QStringList args = arguments;
    m_transcriptPath = OptionValue(args, "--transcript");
    if (m_transcriptPath.isEmpty()) {
        m_transcriptPath = m_dir.filePath("transcript.txt");
        QFile::remove(m_transcriptPath);
        args << "--transcript" << m_transcriptPath;
    }
    m_linkPath = OptionValue(args, "--link");
    if (const QString com = OptionValue(args, "--com"); !com.isEmpty())
        m_linkPath = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
                     "/VX-2968/ports/COM" + com;

    m_process.setArguments(args);
    m_process.start();
    if (!m_process.waitForStarted(timeoutMs)) {
        Fail("cannot start " + m_process.program() + ": " + m_process.errorString());
        return false;
    }
    QString line;
    while (ReadLineFromOutput(line, timeoutMs)) {
        if (line.startsWith("PTY ")) {
            m_slavePath = line.mid(4);
            return true;
        }
    }
    const bool ended = m_process.state() == QProcess::NotRunning;
    Fail(ended ? QString("the simulator ended before it was ready (exit code %1)")
                     .arg(m_process.exitCode())
               : QString("no PTY line from the simulator within %1 ms").arg(timeoutMs));
    Stop();
    return false;
}

bool SimProcess::Control(const QString& line, int timeoutMs)
{
    if (!IsRunning()) {
        Fail("control line \"" + line + "\" not sent: the simulator is not running");
        return false;
    }
    m_process.write((line + "\n").toLocal8Bit());
    m_process.waitForBytesWritten(timeoutMs);
    const QString trimmed = line.trimmed();
    const QDeadlineTimer deadline(timeoutMs);
    QString answer;
    while (
        ReadLineFromOutput(answer, static_cast<int>(qMax<qint64>(0, deadline.remainingTime())))) {
        if (answer == "ACK " + trimmed)
            return true;
        if (answer.startsWith("NAK " + trimmed)) {
            Fail("the simulator refused \"" + line + "\": " + answer);
            return false;
        }
    }
    Fail("no ACK for \"" + line + "\" within " + QString::number(timeoutMs) + " ms");
    return false;
}

QStringList SimProcess::Transcript() const
{
    QFile file(m_transcriptPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromLatin1(file.readAll()).split('\n');
    // The last line is complete only when it ends in a line feed.
    lines.removeLast();
    return lines;
}

QStringList SimProcess::Commands() const
{
    QStringList commands;
    for (const QString& line : Transcript())
        if (line.startsWith("> "))
            commands << line.mid(2);
    return commands;
}

QStringList SimProcess::Replies() const
{
    QStringList replies;
    for (const QString& line : Transcript())
        if (line.startsWith("< "))
            replies << line.mid(2);
    return replies;
}

bool SimProcess::WaitForTranscript(const QString& prefix, int timeoutMs) const
{
    return QTest::qWaitFor(
        [&] {
            const QStringList lines = Transcript();
            return std::any_of(lines.begin(), lines.end(),
                               [&](const QString& l) { return l.startsWith(prefix); });
        },
        timeoutMs);
}

bool SimProcess::IsRunning() const
{
    return m_process.state() != QProcess::NotRunning;
}

bool SimProcess::WaitForExit(int timeoutMs)
{
    if (!IsRunning())
        return true;
    return m_process.waitForFinished(timeoutMs);
}

void SimProcess::Stop()
{
    if (!IsRunning())
        return;
    // End of standard input is the simulator's own way out: it removes its link.
    m_process.closeWriteChannel();
    if (m_process.waitForFinished(5000))
        return;
    m_process.terminate();
    if (m_process.waitForFinished(5000))
        return;
    m_process.kill();
    m_process.waitForFinished(5000);
}
