#pragma once

#include <QByteArray>
#include <QString>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <termios.h>
#include <thread>
#include <vector>

// The far end of a real pseudo-terminal, played by a thread of the test: every command
// line it receives is recorded and answered with whatever the test's responder returns.
// The program side opens the slave through a ports/COMn link like any serial device.
class PtyPeer
{
public:
    // Returns the bytes to send back for one command (without its CR LF).
    using Responder = std::function<QByteArray(const QByteArray& command)>;

    explicit PtyPeer(Responder responder);
    ~PtyPeer();
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    QString SlavePath() const { return m_slavePath; }
    // Points userFolder/ports/COMn at the slave.
    void LinkAs(const QString& userFolder, int comPort) const;
    // Bytes sent to the program outside any reply (stale input, say).
    void Send(const QByteArray& bytes);
    // Closes the master side: the program sees the line hang up.
    void HangUp();
    // Hangs up right after the n-th command has arrived, without answering it.
    void HangUpAfter(size_t n) { m_hangUpAfter = n; }
    // The line settings the program gave the terminal.
    termios LineSettings() const;

    std::vector<QByteArray> Commands() const;
    // Waits (bounded) until `n` commands have arrived.
    bool WaitForCommands(size_t n, int timeoutMs = 5000) const;

private:
    void Serve();

    Responder m_responder;
    int m_master = -1;
    int m_slave = -1;
    int m_wakeRead = -1;
    int m_wakeWrite = -1;
    QString m_slavePath;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_arrived;
    std::vector<QByteArray> m_commands;
    size_t m_hangUpAfter = 0;
    std::thread m_thread;
};
