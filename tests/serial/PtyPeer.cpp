#include "PtyPeer.h"

#include <QDir>
#include <QFile>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

PtyPeer::PtyPeer(Responder responder) : m_responder(std::move(responder))
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ::grantpt(m_master);
    ::unlockpt(m_master);
    m_slavePath = QString::fromLocal8Bit(::ptsname(m_master));
    // Kept open so that the master never reads EIO while the program has the slave closed.
    m_slave = ::open(::ptsname(m_master), O_RDWR | O_NOCTTY);
    termios raw{};
    ::tcgetattr(m_slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(m_slave, TCSANOW, &raw);
    int wake[2];
    if (::pipe(wake) == 0) {
        m_wakeRead = wake[0];
        m_wakeWrite = wake[1];
    }
    m_thread = std::thread([this] { Serve(); });
}

PtyPeer::~PtyPeer()
{
    HangUp();
    if (m_slave >= 0)
        ::close(m_slave);
    ::close(m_wakeRead);
    ::close(m_wakeWrite);
}

void PtyPeer::LinkAs(const QString& userFolder, int comPort) const
{
    QDir().mkpath(userFolder + "ports");
    const QString link = userFolder + QStringLiteral("ports/COM%1").arg(comPort);
    QFile::remove(link);
    QFile::link(m_slavePath, link);
}

void PtyPeer::Send(const QByteArray& bytes)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_master >= 0)
        (void)!::write(m_master, bytes.constData(), size_t(bytes.size()));
}

termios PtyPeer::LineSettings() const
{
    termios t{};
    ::tcgetattr(m_slave, &t);
    return t;
}

void PtyPeer::HangUp()
{
    if (m_thread.joinable()) {
        (void)!::write(m_wakeWrite, "x", 1);
        m_thread.join();
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
}

std::vector<QByteArray> PtyPeer::Commands() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_commands;
}

bool PtyPeer::WaitForCommands(size_t n, int timeoutMs) const
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_arrived.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [&] { return m_commands.size() >= n; });
}

void PtyPeer::Serve()
{
    QByteArray pending;
    for (;;) {
        pollfd fds[2] = {{m_master, POLLIN, 0}, {m_wakeRead, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0)
            continue;
        if (fds[1].revents)
            return;
        char chunk[4096];
        const ssize_t n = ::read(m_master, chunk, sizeof chunk);
        if (n <= 0)
            continue;
        pending.append(chunk, n);
        for (qsizetype end = pending.indexOf("\r\n"); end >= 0; end = pending.indexOf("\r\n")) {
            const QByteArray command = pending.left(end);
            pending.remove(0, end + 2);
            const QByteArray reply = m_responder(command);
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_commands.push_back(command);
                if (m_hangUpAfter > 0 && m_commands.size() >= m_hangUpAfter) {
                    ::close(m_master);
                    m_master = -1;
                    m_arrived.notify_all();
                    return;
                }
                if (!reply.isEmpty())
                    (void)!::write(m_master, reply.constData(), size_t(reply.size()));
            }
            m_arrived.notify_all();
        }
    }
}
