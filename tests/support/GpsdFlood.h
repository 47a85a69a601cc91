#pragma once

// A gpsd stand-in that floods its client: on a thread of its own, on a free port, it sends
// TPV reports of one receiver whose mode goes between no fix and a 3D fix (at 35.5 N
// 139.5 E, timed now), as fast as the socket takes them, until it is stopped:
//
//     GpsdFlood flood;
//     GpsdFixSource source(GpsdEndpointFrom(flood.Endpoint()));
//
// Plain sockets, apart from Qt, so that the program's thread does none of its work.
// Header-only.

#include <QByteArray>
#include <QDateTime>

#include <atomic>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

class GpsdFlood
{
public:
    GpsdFlood()
    {
        m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(m_listen, reinterpret_cast<sockaddr*>(&address), length);
        ::listen(m_listen, 1);
        ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { Run(); });
    }
    ~GpsdFlood() { Stop(); }
    GpsdFlood(const GpsdFlood&) = delete;
    GpsdFlood& operator=(const GpsdFlood&) = delete;

    QByteArray Endpoint() const { return "127.0.0.1:" + QByteArray::number(m_port); }
    // Reports sent so far.
    qint64 Sent() const { return m_sent; }
    void Stop()
    {
        if (m_stop.exchange(true))
            return;
        ::shutdown(m_listen, SHUT_RDWR);
        ::shutdown(m_client, SHUT_RDWR);
        m_thread.join();
        ::close(m_listen);
    }

private:
    static QByteArray Reports(int count)
    {
        const QByteArray time =
            QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs).toLatin1();
        QByteArray reports;
        for (int i = 0; i < count; ++i) {
            reports += R"({"class":"TPV","device":"/dev/flood","mode":)" +
                       QByteArray(i % 2 ? "3" : "1") + R"(,"time":")" + time +
                       R"(","lat":35.5,"lon":139.5,"altMSL":40.2,"eph":3.0})"
                       "\r\n";
        }
        return reports;
    }
    void Run()
    {
        constexpr int Burst = 1000;
        const int client = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
        m_client = client;
        while (client >= 0 && !m_stop) {
            const QByteArray burst = Reports(Burst);
            if (::send(client, burst.constData(), size_t(burst.size()), MSG_NOSIGNAL) <= 0)
                break;
            m_sent += Burst;
        }
        if (client >= 0)
            ::close(client);
    }

    int m_listen = -1;
    std::atomic<int> m_client = -1;
    quint16 m_port = 0;
    std::atomic<bool> m_stop = false;
    std::atomic<qint64> m_sent = 0;
    std::thread m_thread;
};
