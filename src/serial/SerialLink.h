#pragma once

#include <QString>
#include <array>
#include <cstdint>

// State of the one serial line, shared by everything that talks to the logger.
struct LinkState {
    bool PortOpened = false;
    QString ReplyText;        // the reply of the current or last transaction, line end included
    int32_t ReplyTimeout = 0; // milliseconds; every reception lowers it to 500
    bool ReplyDone = false;
    int16_t BinaryMode = 0; // 1: raw bytes into BinaryBuffer
    std::array<uint8_t, 10001> BinaryBuffer{};
    int32_t BinaryPos = 0;
    int32_t BinaryExpected = 0;
};

// RSCom status values besides the reply length.
inline constexpr int32_t StatusErrorReply = -1; // the reply holds "ERR"
inline constexpr int32_t StatusNoReply = -2;    // no complete reply within ReplyTimeout

// Status of a complete reply: StatusErrorReply when it holds "ERR" in any letter case,
// otherwise its length with the line end.
inline int32_t CompleteReplyStatus(const QString& replyText)
{
    if (replyText.contains(QLatin1String("ERR"), Qt::CaseInsensitive))
        return StatusErrorReply;
    return static_cast<int32_t>(replyText.size());
}

// The one narrow way to the logger. The program and the integration tests use the
// QSerialPort implementation; unit tests of protocol logic use a scripted fake.
class SerialLink
{
public:
    SerialLink() = default;
    SerialLink(const SerialLink&) = delete;
    SerialLink& operator=(const SerialLink&) = delete;
    virtual ~SerialLink() = default;

    // The Connect property: true opens the port with the current port settings (and
    // pauses for it to settle), false closes it. PortOpened follows.
    virtual void Connect(bool open) = 0;
    bool PortOpened() const { return State().PortOpened; }

    // Discards waiting input, then sends cmd + CR LF.
    virtual void PortOutput(const QString& cmd) = 0;
    // One command, one reply: the reply length (line end included), StatusErrorReply or
    // StatusNoReply. The reply is left in ReplyText().
    virtual int32_t RSCom(const QString& cmd) = 0;
    // A pause that keeps the event loop (timers, clicks, receptions) running.
    virtual void Wait(int32_t ms) = 0;
    // Awaits `count` raw bytes into BinaryBuffer after a PortOutput: 0 when all came,
    // -1 when they stopped coming. Never writes past the buffer.
    virtual int16_t ReceiveBinary(int32_t count) = 0;
    // Switches reception between raw bytes and text.
    virtual void SetBinaryInput(bool binary) { State().BinaryMode = binary ? 1 : 0; }

    const QString& ReplyText() const { return State().ReplyText; }
    int32_t ReplyTimeout() const { return State().ReplyTimeout; }
    void SetReplyTimeout(int32_t ms) { State().ReplyTimeout = ms; }

    LinkState& State() { return *m_shared; }
    const LinkState& State() const { return *m_shared; }

protected:
    // A decorator reads and writes the state of the link it wraps, so that a caller sees
    // one line whichever of the two it holds.
    void ShareStateOf(SerialLink& inner) { m_shared = inner.m_shared; }

    LinkState m_state;

private:
    LinkState* m_shared = &m_state;
};
