#pragma once

#include "PortNames.h"
#include "PortSettings.h"
#include "SerialLink.h"

#include <QObject>
#include <QSerialPort>
#include <chrono>
#include <functional>

class MessageSink;

// The parity of a ParityCode: 0 none, 1 odd, any other code even.
QSerialPort::Parity ParityForCode(int16_t parityCode);
class QEventLoop;
class QTimer;

// The serial line to the logger on a real QSerialPort. Every exchange runs on the
// user-interface thread: RSCom blocks in waitForReadyRead for at most the time left of
// ReplyTimeout, Wait and ReceiveBinary keep the event loop running.
class QSerialLink : public QObject, public SerialLink
{
    Q_OBJECT
public:
    // The bytes kept of one reply: the size of the line's receive buffer. Anything beyond
    // is dropped, so an endless line costs no memory and simply never completes.
    static constexpr int ReceiveBufferBytes = 5000;
    // How long ReceiveBinary waits for the next byte of a block before giving up.
    static constexpr int BinaryQuietMs = 500;

    // `settings` is read at every Connect(true), so a changed port number takes effect
    // the next time the port is opened. `userFolder` holds the ports/COMn links.
    QSerialLink(const PortSettings& settings, QString userFolder, MessageSink& messages,
                DeviceRoots roots = {});
    ~QSerialLink() override;

    void Connect(bool open) override;
    void PortOutput(const QString& cmd) override;
    int32_t RSCom(const QString& cmd) override;
    void Wait(int32_t ms) override;
    int16_t ReceiveBinary(int32_t count) override;

    // The clock of the reply deadline: steady_clock unless a test drives its own.
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    void SetClock(Clock clock) { m_clock = std::move(clock); }

    // The device the port was last opened on (or tried on).
    const QString& DevicePath() const { return m_devicePath; }

private:
    bool Open();
    void ApplyLineSettings();
    void ReportOpenFailure(const ComDevice& device);
    void SettlePause();
    bool LineDead() const;
    void DropDeadLine();
    void AppendReply(const QByteArray& bytes);
    void StoreBinary(const QByteArray& bytes);
    void OnReadyRead();
    void OnError(QSerialPort::SerialPortError error);

    const PortSettings& m_settings;
    QString m_userFolder;
    MessageSink& m_messages;
    DeviceRoots m_roots;
    QSerialPort m_port;
    Clock m_clock = &std::chrono::steady_clock::now;
    QString m_devicePath;
    bool m_inTransaction = false;
    QEventLoop* m_binaryLoop = nullptr; // set while ReceiveBinary waits
    QTimer* m_binaryQuiet = nullptr;
    qint64 m_binaryReceived = 0; // bytes of the awaited block so far, kept or dropped
};
