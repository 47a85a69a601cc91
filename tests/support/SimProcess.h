#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// The logger simulator (vx-logger-sim, see docs/simulator.md) as a child process of a
// test, on a real pseudo-terminal:
//
//     TempHome home;                      // first: the link goes below this HOME
//     SimProcess sim;
//     ASSERT_TRUE(sim.Start({"--com", "1", "--channels", "1,2,4", "--no-pace"}))
//         << sim.ErrorText().toStdString();
//     ... the program's serial link opens COM1 (or sim.SlavePath()) ...
//     ASSERT_TRUE(sim.Control("drop"));
//     EXPECT_EQ(sim.Commands(), (QStringList{"RES", "SET1", ...}));
//
// Every wait is bounded and fails with a message in ErrorText(). The transcript goes to
// a temporary folder of this object unless the arguments name one (--transcript).
// The destructor stops the simulator and reaps it. Several can run side by side, each
// with its own HOME or link.
class SimProcess
{
public:
    SimProcess();
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // Starts the simulator with these options and waits until it is ready to answer
    // (its "PTY" line). False, with ErrorText(), when it does not start.
    bool Start(const QStringList& arguments, int timeoutMs = 10000);

    // The pty slave the program opens.
    QString SlavePath() const { return m_slavePath; }
    // The port link it made (--com N or --link), empty without one.
    QString LinkPath() const { return m_linkPath; }

    // Sends one control line ("drop", "fault silent", ...) and waits until the simulator
    // acknowledges that it is in effect. False when it refused the line or did not answer.
    bool Control(const QString& line, int timeoutMs = 5000);

    // The commands received so far, in order, without "> " (from the transcript, one entry
    // a line: "> RES", "< OK", "! armed", ...).
    QStringList Commands() const { return Prefixed("> "); }
    // The replies sent so far, without "< " (bytes outside printable ASCII as \xNN).
    QStringList Replies() const { return Prefixed("< "); }
    // Waits, handling events, until a transcript line starts with `prefix`
    // (e.g. "! recording complete", "> ANS?"). False after the time-out.
    bool WaitForTranscript(const QString& prefix, int timeoutMs = 10000) const;

    // Waits until the simulator has ended by itself (after a hang-up, "quit").
    bool WaitForExit(int timeoutMs = 10000)
    {
        return !IsRunning() || m_process.waitForFinished(timeoutMs);
    }
    // Its exit status once it has ended.
    int ExitCode() const { return m_process.exitCode(); }
    // Ends it: closes its standard input, then terminates or kills it if it lingers.
    void Stop();

    // Why the last Start() or Control() failed, with what the simulator wrote on stderr.
    QString ErrorText() const;
    // All it has written on standard error so far.
    QString StandardError()
    {
        m_stderr += m_process.readAllStandardError();
        return QString::fromLocal8Bit(m_stderr);
    }

private:
    bool IsRunning() const { return m_process.state() != QProcess::NotRunning; }
    QStringList Prefixed(const QString& prefix) const; // transcript lines, without the prefix
    bool ReadLineFromOutput(QString& line, int timeoutMs);
    void Fail(const QString& why);

    QProcess m_process;
    QTemporaryDir m_dir;
    QString m_transcriptPath;
    QString m_slavePath;
    QString m_linkPath;
    QByteArray m_stdout;
    mutable QByteArray m_stderr;
    QString m_error;
};
