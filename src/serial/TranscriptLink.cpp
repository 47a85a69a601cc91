#include "TranscriptLink.h"

#include <QElapsedTimer>
#include <algorithm>

class RecordedMessages : public MessageSink
{
public:
    RecordedMessages(ServiceTranscript& transcript, const Clock& clock, MessageSink& shown,
                     UiLanguage language)
        : m_transcript(transcript), m_clock(clock), m_shown(shown), m_language(language)
    {
    }
    MessageAnswer Show(const UiMessage& message) override
    {
        m_transcript.RecordMessage(m_clock.Now(), message.Title.Pick(m_language),
                                   message.Text.Pick(m_language));
        return m_shown.Show(message);
    }

private:
    ServiceTranscript& m_transcript;
    const Clock& m_clock;
    MessageSink& m_shown;
    UiLanguage m_language;
};

TranscriptLink::TranscriptLink(QString serviceFolder, const Clock& clock,
                               std::function<QString()> portName, MessageSink& shown,
                               UiLanguage language, const LineMaker& makeLine)
    : m_transcript(std::move(serviceFolder)), m_clock(clock), m_portName(std::move(portName)),
      m_messages(std::make_unique<RecordedMessages>(m_transcript, clock, shown, language)),
      m_line(makeLine(*m_messages))
{
    ShareStateOf(*m_line);
}

TranscriptLink::~TranscriptLink()
{
    SendPending();
}

MessageSink& TranscriptLink::Messages()
{
    return *m_messages;
}

void TranscriptLink::Connect(bool open)
{
    SendPending();
    const bool wasOpen = PortOpened();
    const QDateTime time = m_clock.Now();
    m_line->Connect(open);
    if (open && !wasOpen)
        m_transcript.RecordEvent(time, m_portName(),
                                 PortOpened() ? QStringLiteral("opened")
                                              : QStringLiteral("open failed"));
    else if (!open && wasOpen)
        m_transcript.RecordEvent(time, m_portName(), QStringLiteral("closed"));
}

void TranscriptLink::PortOutput(const QString& cmd)
{
    SendPending();
    m_pendingTime = m_clock.Now();
    m_line->PortOutput(cmd);
    m_pendingOutput = cmd;
}

// A command that went out without a reply awaited (no block followed it).
void TranscriptLink::SendPending()
{
    if (!m_pendingOutput)
        return;
    m_transcript.RecordEvent(m_pendingTime, m_portName(),
                             QLatin1Char('"') + EscapeLineText(*m_pendingOutput) +
                                 QStringLiteral("\" sent, no reply awaited"));
    m_pendingOutput.reset();
}

int32_t TranscriptLink::RSCom(const QString& cmd)
{
    SendPending();
    const bool wasOpen = PortOpened();
    const QDateTime start = m_clock.Now();
    QElapsedTimer elapsed;
    elapsed.start();
    const int32_t status = m_line->RSCom(cmd);
    const qint64 ms = elapsed.elapsed();
    const QString port = m_portName();
    m_transcript.RecordExchange({start, port, cmd, ReplyText(), status, ms});
    if (wasOpen && !PortOpened())
        m_transcript.RecordEvent(m_clock.Now(), port, QStringLiteral("line lost"));
    return status;
}

void TranscriptLink::Wait(int32_t ms)
{
    m_line->Wait(ms);
}

int16_t TranscriptLink::ReceiveBinary(int32_t count)
{
    const QString command = m_pendingOutput.value_or(QString());
    const QDateTime start = m_pendingOutput ? m_pendingTime : m_clock.Now();
    m_pendingOutput.reset();
    QElapsedTimer elapsed;
    elapsed.start();
    const int16_t status = m_line->ReceiveBinary(count);
    const qint64 ms = elapsed.elapsed();
    // A complete block starts at the buffer's beginning; a cut one ends at BinaryPos.
    const LinkState& state = State();
    const qint64 capacity = qint64(state.BinaryBuffer.size());
    const qint64 kept = std::min<qint64>(status == 0 ? count : state.BinaryPos, capacity);
    const QByteArray bytes(reinterpret_cast<const char*>(state.BinaryBuffer.data()),
                           qsizetype(std::max<qint64>(0, kept)));
    m_transcript.RecordBinary(start, m_portName(), command, kept, count, bytes, status, ms);
    return status;
}
