#pragma once

#include "FixSource.h"
#include "GpsdReport.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTcpSocket>
#include <QTimer>

// The receiver through gpsd on TCP. Everything happens in the event loop: connecting,
// reading and trying again never wait, so measuring goes on whatever gpsd does. While
// gpsd cannot be reached it is tried again every RetryMs.
class GpsdFixSource : public QObject, public FixSource
{
    Q_OBJECT
public:
    explicit GpsdFixSource(GpsdEndpoint where, QObject* parent = nullptr);
    ~GpsdFixSource() override;
    GpsdFixSource(const GpsdFixSource&) = delete;
    GpsdFixSource& operator=(const GpsdFixSource&) = delete;
    // The first try; the later ones follow by themselves.
    void Start();
    FixStatus Status() const override;

    static constexpr int RetryMs = 3000;

signals:
    // The connection came or went, or the fix mode changed (not every report).
    void Changed();

private:
    void TryConnect();
    void OnConnected();
    void OnReadyRead();
    void OnLost();
    void TakeReport(const QByteArray& line);

    GpsdEndpoint m_where;
    QTcpSocket m_socket;
    QTimer m_retry;
    QByteArray m_pending; // a report not yet complete
    bool m_everReached = false;
    bool m_wasConnected = false;
    std::optional<int> m_mode;
    std::optional<DropFix> m_fix;
    QElapsedTimer m_fixReceived; // monotonic: the fix's age never jumps with the clock
};
