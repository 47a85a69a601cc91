#include "GpsdFixSource.h"

namespace
{

// gpsd's reports are a few hundred bytes; a longer run without a line end is no report.
constexpr qsizetype LongestReport = 64 * 1024;

} // namespace

GpsdFixSource::GpsdFixSource(GpsdEndpoint where, QObject* parent)
    : QObject(parent), m_where(std::move(where))
{
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
    status.Connected = m_socket.state() == QAbstractSocket::ConnectedState;
    status.LastMode = m_mode;
    status.Fix = m_fix;
    if (status.Fix)
        status.Fix->AgeSeconds = double(m_fixReceived.elapsed()) / 1000.0;
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
    m_wasConnected = true;
    m_socket.write(GpsdWatchCommand());
    emit Changed();
}

void GpsdFixSource::OnReadyRead()
{
    m_pending += m_socket.readAll();
    qsizetype end = 0;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        TakeReport(m_pending.left(end));
        m_pending.remove(0, end + 1);
    }
    if (m_pending.size() > LongestReport)
        m_pending.clear();
}

void GpsdFixSource::TakeReport(const QByteArray& line)
{
    const std::optional<TpvReport> tpv = ParseTpv(line);
    if (!tpv)
        return;
    // gpsd also reports a 2D or 3D mode without a position (from a GSA sentence alone): the
    // latest fix stays and ages. Only a report of no fix takes it away.
    std::optional<DropFix> fix = m_fix;
    if (tpv->Fix || tpv->Mode < 2)
        fix = tpv->Fix;
    const bool changed = m_mode != tpv->Mode || m_fix.has_value() != fix.has_value();
    m_mode = tpv->Mode;
    if (tpv->Fix)
        m_fixReceived.start();
    m_fix = fix;
    if (changed)
        emit Changed();
}

void GpsdFixSource::OnLost()
{
    // The fix stays as it was and ages: a drop just after gpsd went may still use it.
    // The socket is left alone here: it may still be inside its own signal. A refused try
    // while gpsd is away changes nothing.
    if (!m_wasConnected)
        return;
    m_wasConnected = false;
    emit Changed();
}
