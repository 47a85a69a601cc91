#include "SimProcess.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QStandardPaths>
#include <QtTest/QTest>

namespace
{
QString OptionValue(const QStringList& arguments, const QString& option)
{
    const qsizetype i = arguments.indexOf(option);
    return i >= 0 && i + 1 < arguments.size() ? arguments[i + 1] : QString();
}
} // namespace

SimProcess::SimProcess()
{
    m_process.setProgram(qEnvironmentVariable("VX_BIN_DIR", QStringLiteral(VX_BIN_DIR)) +
                         "/vx-logger-sim");
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
    if (m_stderr.isEmpty())
        return m_error;
    return m_error + "\nsimulator said: " + QString::fromLocal8Bit(m_stderr).trimmed();
}

bool SimProcess::ReadLineFromOutput(QString& line, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    qsizetype eol = 0;
    while ((eol = m_stdout.indexOf('\n')) < 0) {
        if (!IsRunning() || deadline.hasExpired())
            return false;
        m_process.waitForReadyRead(static_cast<int>(qMax<qint64>(1, deadline.remainingTime())));
        m_stdout += m_process.readAllStandardOutput();
        m_stderr += m_process.readAllStandardError();
    }
    line = QString::fromLocal8Bit(m_stdout.left(eol)).trimmed();
    m_stdout.remove(0, eol + 1);
    return true;
}

bool SimProcess::Start(const QStringList& arguments, int timeoutMs)
{
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
    const QString com = OptionValue(args, "--com");
    m_linkPath = com.isEmpty()
                     ? OptionValue(args, "--link")
                     : QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
                           "/VX-2968/ports/COM" + com;
    m_process.setArguments(args);
    m_process.start();
    QString line;
    while (ReadLineFromOutput(line, timeoutMs)) {
        if (line.startsWith("PTY ")) {
            m_slavePath = line.mid(4);
            return true;
        }
    }
    Fail(IsRunning() ? QString("no PTY line from the simulator within %1 ms").arg(timeoutMs)
                     : "the simulator did not start or ended before it was ready: " +
                           m_process.errorString());
    Stop();
    return false;
}

bool SimProcess::Control(const QString& line, int timeoutMs)
{
    m_process.write((line + "\n").toLocal8Bit());
    m_process.waitForBytesWritten(timeoutMs);
    const QDeadlineTimer deadline(timeoutMs);
    QString answer;
    while (ReadLineFromOutput(answer, int(qMax<qint64>(0, deadline.remainingTime())))) {
        if (answer == "ACK " + line.trimmed())
            return true;
        if (answer.startsWith("NAK " + line.trimmed())) {
            Fail("the simulator refused \"" + line + "\": " + answer);
            return false;
        }
    }
    Fail("no ACK for \"" + line + "\" within " + QString::number(timeoutMs) + " ms" +
         (IsRunning() ? "" : ": the simulator is not running"));
    return false;
}

QStringList SimProcess::Prefixed(const QString& prefix) const
{
    QFile file(m_transcriptPath);
    QStringList found;
    if (!file.open(QIODevice::ReadOnly))
        return found;
    QStringList lines = QString::fromLatin1(file.readAll()).split('\n');
    lines.removeLast(); // complete only when it ends in a line feed
    for (const QString& line : lines)
        if (line.startsWith(prefix))
            found << line.mid(prefix.size());
    return found;
}

bool SimProcess::WaitForTranscript(const QString& prefix, int timeoutMs) const
{
    return QTest::qWaitFor([&] { return !Prefixed(prefix).isEmpty(); }, timeoutMs);
}

void SimProcess::Stop()
{
    // End of standard input is the simulator's own way out: it removes its link.
    if (!IsRunning())
        return;
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}
