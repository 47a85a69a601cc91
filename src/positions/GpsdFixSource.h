#pragma once

#include "FixSource.h"
#include "GpsdReport.h"
#include "ReceiverFixes.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTcpSocket>
#include <QTimer>

// The receivers through gpsd on TCP. Everything happens in the event loop: connecting,
// reading and trying again never wait, so measuring goes on whatever gpsd does. A read takes
// what has come, keeps the newest report of each receiver and lets the rest go, so a gpsd
// that floods the program costs it a scan of the bytes, never a backlog. While gpsd cannot
// be reached it is tried again every RetryMs.
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
    // The connection came or went, a receiver came, or a receiver's mode or whether it has
    // a position changed: at most once a read, however many reports it held.
    void Changed();

private:
    void TryConnect();
    void OnConnected();
    void OnReadyRead();
    void OnLost();

    GpsdEndpoint m_where;
    QTcpSocket m_socket;
    QTimer m_retry;
    QByteArray m_pending; // a report not yet complete
    bool m_everReached = false;
    bool m_connected = false;
    ReceiverFixes m_fixes;
    QElapsedTimer m_steady; // the fixes' standing still is told on it, never on the clock
};
