#include "QSerialLink.h"

#include "shell/MessageSink.h"

#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <thread>
#include <unistd.h>

namespace
{

constexpr int32_t ReceptionTimeoutMs = 500;
constexpr int32_t LongestWaitMs = 65535;

const Bilingual PortErrorTitle{QString::fromUtf8("ポートエラー"), QStringLiteral("Port error")};

} // namespace

QSerialPort::Parity ParityForCode(int16_t parityCode)
{
    if (parityCode == 0)
        return QSerialPort::NoParity;
    if (parityCode == 1)
        return QSerialPort::OddParity;
    return QSerialPort::EvenParity;
}

QSerialLink::QSerialLink(const PortSettings& settings, QString userFolder, MessageSink& messages,
                         DeviceRoots roots)
    : m_settings(settings), m_userFolder(std::move(userFolder)), m_messages(messages),
      m_roots(std::move(roots))
{
    connect(&m_port, &QSerialPort::readyRead, this, &QSerialLink::OnReadyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &QSerialLink::OnError);
}

QSerialLink::~QSerialLink()
{
    if (m_port.isOpen())
        m_port.close();
}

void QSerialLink::Connect(bool open)
{
    if (!open) {
        if (m_port.isOpen())
            m_port.close();
        m_state.PortOpened = false;
        if (m_binaryLoop)
            m_binaryLoop->quit();
        return;
    }
    if (!m_port.isOpen() && !Open())
        return;
    ApplyLineSettings();
    m_port.clear(QSerialPort::AllDirections);
    m_state.PortOpened = true;
    SettlePause();
}

bool QSerialLink::Open()
{
    const ComDevice device = ComDevicePath(m_settings.ComPort, m_userFolder, m_roots);
    m_devicePath = device.Path;
    if (device.Path.isEmpty()) {
        ReportOpenFailure(device);
        return false;
    }
    m_port.setPortName(device.Path);
    ApplyLineSettings();
    if (!m_port.open(QIODevice::ReadWrite)) {
        ReportOpenFailure(device);
        m_port.clearError();
        return false;
    }
    return true;
}

// 8 data bits always; no flow control, so that nothing the logger does with its control
// lines can stall a command.
void QSerialLink::ApplyLineSettings()
{
    m_port.setBaudRate(m_settings.BaudRate);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(ParityForCode(m_settings.ParityCode));
    m_port.setStopBits(m_settings.StopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port.isOpen())
        return;
    // Some adapters power themselves from DTR and RTS. A pseudo-terminal has neither line
    // and refuses both: that is no reason to give up the port.
    m_port.setDataTerminalReady(true);
    m_port.setRequestToSend(true);
    m_port.clearError();
}

void QSerialLink::ReportOpenFailure(const ComDevice& device)
{
    const int com = m_settings.ComPort;
    if (device.Path.isEmpty()) {
        m_messages.Show(
            UiMessage{PortErrorTitle,
                      {QString::fromUtf8("COM%1 にはデバイスが割り当てられていません。").arg(com),
                       QStringLiteral("No device is assigned to COM%1.").arg(com)},
                      MessageButtons::Ok,
                      MessageIcon::Exclamation});
        return;
    }
    const QString name = DescribeComDevice(com, device);
    Bilingual text;
    const QByteArray path = QFile::encodeName(device.Path);
    if (m_port.error() == QSerialPort::DeviceNotFoundError || !device.Present) {
        text = {
            QString::fromUtf8("%1 が見つかりません。\nポート番号とケーブルを確かめてください。")
                .arg(name),
            QStringLiteral("%1 does not exist.\nCheck the port number and the cable.").arg(name)};
    } else if (m_port.error() == QSerialPort::PermissionError &&
               ::access(path.constData(), R_OK | W_OK) != 0) {
        text = {QString::fromUtf8("%1 を開く権限がありません。\n"
                                  "オペレータを dialout グループに加え、ログインし直してください。")
                    .arg(name),
                QStringLiteral("No permission to open %1.\n"
                               "The operator must belong to the dialout group "
                               "(log in again after adding).")
                    .arg(name)};
    } else if (m_port.error() == QSerialPort::PermissionError) {
        text = {QString::fromUtf8("%1 は他のプログラムが使用中です。").arg(name),
                QStringLiteral("%1 is in use by another program.").arg(name)};
    } else {
        text = {QString::fromUtf8("%1 を開けません。\n%2").arg(name, m_port.errorString()),
                QStringLiteral("%1 cannot be opened.\n%2").arg(name, m_port.errorString())};
    }
    m_messages.Show(UiMessage{PortErrorTitle, text, MessageButtons::Ok, MessageIcon::Exclamation});
}

// The line gets a moment to settle: until the next whole second of the time of day, so
// more than 0 and at most 1 second. Sleeping, not spinning.
void QSerialLink::SettlePause()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    std::this_thread::sleep_until(floor<seconds>(now) + seconds(1));
}

void QSerialLink::PortOutput(const QString& cmd)
{
    if (!m_port.isOpen())
        return;
    m_port.clear(QSerialPort::Input); // stale input, from the kernel's queue as well
    m_port.write(cmd.toLatin1() + "\r\n");
    m_port.flush();
}

int32_t QSerialLink::RSCom(const QString& cmd)
{
    m_state.ReplyText.clear();
    if (!m_port.isOpen()) {
        m_state.PortOpened = false;
        return StatusNoReply;
    }
    PortOutput(cmd);
    const auto start = m_clock();
    const auto deadline =
        start + std::chrono::milliseconds(std::max<int32_t>(0, m_state.ReplyTimeout));
    bool received = false;
    int32_t result = -1;
    m_inTransaction = true;
    for (;;) {
        const auto now = m_clock();
        if (m_port.bytesAvailable() > 0) {
            AppendReply(m_port.readAll());
            received = true;
        }
        // The deadline comes first: a reply completing as time runs out is too late.
        if (now > deadline)
            break;
        if (m_state.ReplyText.contains(QLatin1String("\r\n"))) {
            result = static_cast<int32_t>(m_state.ReplyText.size());
            break;
        }
        if (LineDead())
            break;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - m_clock());
        // One millisecond past the deadline, so that the next round finds it passed.
        if (!m_port.waitForReadyRead(int(std::max<int64_t>(0, left.count())) + 1) && LineDead())
            break;
    }
    m_inTransaction = false;
    if (LineDead())
        DropDeadLine();
    // What the receive notification does: from the first reception on, 500 ms.
    if (received)
        m_state.ReplyTimeout = ReceptionTimeoutMs;
    if (result < 1)
        return StatusNoReply;
    return CompleteReplyStatus(m_state.ReplyText);
}

void QSerialLink::Wait(int32_t ms)
{
    QEventLoop loop;
    QTimer::singleShot(std::clamp<int32_t>(ms, 1, LongestWaitMs), &loop, &QEventLoop::quit);
    loop.exec();
}

int16_t QSerialLink::ReceiveBinary(int32_t count)
{
    m_state.ReplyTimeout = ReceptionTimeoutMs;
    m_state.BinaryExpected = count;
    m_state.BinaryPos = 0;
    m_state.ReplyDone = false;
    if (!m_port.isOpen() || count < 1)
        return -1;
    QEventLoop loop;
    QTimer quiet;
    quiet.setSingleShot(true);
    quiet.setInterval(BinaryQuietMs);
    connect(&quiet, &QTimer::timeout, &loop, &QEventLoop::quit);
    m_binaryLoop = &loop;
    m_binaryQuiet = &quiet;
    m_binaryReceived = 0;
    StoreBinary(m_port.readAll()); // what came before the wait began
    if (!m_state.ReplyDone && m_port.isOpen()) {
        quiet.start();
        loop.exec();
    }
    m_binaryLoop = nullptr;
    m_binaryQuiet = nullptr;
    return m_state.ReplyDone ? 0 : -1;
}

void QSerialLink::StoreBinary(const QByteArray& bytes)
{
    // The buffer's end is a hard limit: the rest of a longer block is read and dropped,
    // so that it cannot spill into the reply of the next command.
    const int32_t capacity = static_cast<int32_t>(m_state.BinaryBuffer.size());
    const int32_t room = std::max(0, capacity - m_state.BinaryPos);
    const int32_t n = std::min<int32_t>(room, static_cast<int32_t>(bytes.size()));
    std::copy_n(reinterpret_cast<const uint8_t*>(bytes.constData()), n,
                m_state.BinaryBuffer.begin() + m_state.BinaryPos);
    m_state.BinaryPos += n;
    m_binaryReceived += bytes.size();
    if (m_binaryReceived >= m_state.BinaryExpected) {
        m_state.BinaryPos = 0;
        m_state.ReplyDone = true;
        if (m_binaryLoop)
            m_binaryLoop->quit();
    } else if (m_binaryQuiet && !bytes.isEmpty()) {
        m_binaryQuiet->start();
    }
}

void QSerialLink::AppendReply(const QByteArray& bytes)
{
    const qsizetype room = ReceiveBufferBytes - m_state.ReplyText.size();
    if (room > 0)
        m_state.ReplyText += QString::fromLatin1(bytes.left(room));
}

void QSerialLink::OnReadyRead()
{
    if (m_inTransaction)
        return; // RSCom reads for itself
    if (m_binaryLoop) {
        StoreBinary(m_port.readAll());
        return;
    }
    if (m_state.BinaryMode == 1)
        return; // a block awaited next: it waits in the port's buffer for ReceiveBinary
    AppendReply(m_port.readAll());
    if (m_state.ReplyText.contains(QLatin1String("\r\n")))
        m_state.ReplyDone = true;
    m_state.ReplyTimeout = ReceptionTimeoutMs;
}

bool QSerialLink::LineDead() const
{
    const QSerialPort::SerialPortError e = m_port.error();
    return e == QSerialPort::ReadError || e == QSerialPort::ResourceError;
}

// The peer hung up: the port stays open but will never deliver again. Close it, so that
// every later transaction reports no reply at once and a new Connect starts afresh.
void QSerialLink::DropDeadLine()
{
    if (m_port.isOpen())
        m_port.close();
    m_port.clearError();
    m_state.PortOpened = false;
    if (m_binaryLoop)
        m_binaryLoop->quit();
}

void QSerialLink::OnError(QSerialPort::SerialPortError error)
{
    if (m_inTransaction)
        return; // RSCom finishes and closes the line itself
    if (error == QSerialPort::ReadError || error == QSerialPort::ResourceError)
        DropDeadLine();
}
