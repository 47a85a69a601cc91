#include "GpsdFixSource.h"

namespace
{

// A longer run without a line end is no report: it is let go rather than kept growing.
constexpr qsizetype LongestReport = 64 * 1024;
// What the socket holds for the program between reads; past it gpsd's bytes wait in the
// system, and gpsd lets a client that does not keep up go.
constexpr qint64 ReadBufferBytes = 1024 * 1024;

} // namespace

GpsdFixSource::GpsdFixSource(GpsdEndpoint where, QObject* parent)
    : QObject(parent), m_where(std::move(where))
{
    m_steady.start();
    m_socket.setReadBufferSize(ReadBufferBytes);
    m_retry.setInterval(RetryMs);
    connect(&m_retry, &QTimer::timeout, this, &GpsdFixSource::TryConnect);
    connect(&m_socket, &QTcpSocket::connected, this, &GpsdFixSource::OnConnected);
    connect(&m_socket, &QTcpSocket::readyRead, this, &GpsdFixSource::OnReadyRead);
    connect(&m_socket, &QTcpSocket::disconnected, this, &GpsdFixSource::OnLost);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, &GpsdFixSource::OnLost);
}

GpsdFixSource::~GpsdFixSource()
{
    // The socket closes after the members its signals would reach are gone: it says nothing.
    m_socket.disconnect(this);
    m_socket.abort();
}

void GpsdFixSource::Start()
{
    TryConnect();
    m_retry.start();
}

FixStatus GpsdFixSource::Status() const
{
    FixStatus status;
    status.EverReached = m_everReached;
    status.Connected = m_connected;
    status.Receivers = m_fixes.Judge(QDateTime::currentDateTimeUtc(), m_steady.elapsed());
    status.Fix = BestFix(status.Receivers);
    return status;
}

void GpsdFixSource::TryConnect()
{
    if (m_socket.state() == QAbstractSocket::ConnectedState)
        return;
    // A try still under way after a whole period (a host that drops the packets) starts over.
    m_socket.abort();
    m_pending.clear();
    m_socket.connectToHost(m_where.Host, m_where.Port);
}

void GpsdFixSource::OnConnected()
{
    m_everReached = true;
    m_connected = true;
    // A gpsd started again reports its receivers anew; those of the last one are gone.
    m_fixes = ReceiverFixes();
    m_socket.write(GpsdWatchCommand());
    emit Changed();
}

void GpsdFixSource::OnReadyRead()
{
    const QByteArray arrived = m_socket.readAll();
    const qsizetype lastEnd = arrived.lastIndexOf('\n');
    if (lastEnd < 0) {
        m_pending += arrived;
        if (m_pending.size() > LongestReport)
            m_pending.clear();
        return;
    }
    m_pending += arrived.first(lastEnd + 1);
    const QByteArray lines = std::exchange(m_pending, arrived.sliced(lastEnd + 1));
    if (m_pending.size() > LongestReport)
        m_pending.clear();
    const qint64 now = m_steady.elapsed();
    bool changed = false;
    for (const TpvReport& report : NewestTpvOfEachDevice(lines))
        changed = m_fixes.Take(report, now) || changed;
    if (changed)
        emit Changed();
}

void GpsdFixSource::OnLost()
{
    // The fixes stay as they were: a drop just after gpsd went may still use one, until its
    // time has stood still too long. The socket is left alone here: it may still be inside
    // its own signal. A refused try while gpsd is away changes nothing.
    if (!m_connected)
        return;
    m_connected = false;
    emit Changed();
}
