#pragma once

#include "SerialLink.h"
#include "ServiceTranscript.h"

#include "shell/Clock.h"
#include "shell/MessageSink.h"

#include <functional>
#include <memory>
#include <optional>

// The serial line with every exchange written to the service transcript. It wraps the
// real link and shares its state, so callers cannot tell the two apart; the line is
// written to after each transaction has ended, never while one waits on the wire.
class RecordedMessages;

class TranscriptLink : public SerialLink
{
public:
    // What goes on the line is made by `makeLine`, handed the message sink that records
    // before it shows through `shown`; `language` picks the texts the operator sees.
    // `portName` names the port on each line ("COM1"); it is asked at every line, so a
    // port changed in the settings window shows at once.
    using LineMaker = std::function<std::unique_ptr<SerialLink>(MessageSink& messages)>;
    TranscriptLink(QString serviceFolder, const Clock& clock, std::function<QString()> portName,
                   MessageSink& shown, UiLanguage language, const LineMaker& makeLine);
    ~TranscriptLink() override;

    void Connect(bool open) override;
    void PortOutput(const QString& cmd) override;
    int32_t RSCom(const QString& cmd) override;
    void Wait(int32_t ms) override;
    int16_t ReceiveBinary(int32_t count) override;
    void SetBinaryInput(bool binary) override { m_line->SetBinaryInput(binary); }

    // The sink that records every message box before it is shown; it lives as long as
    // this link. Everything that shows messages should be handed this one.
    MessageSink& Messages();

    ServiceTranscript& Transcript() { return m_transcript; }

private:
    void SendPending();

    ServiceTranscript m_transcript;
    const Clock& m_clock;
    std::function<QString()> m_portName;
    std::unique_ptr<RecordedMessages> m_messages;
    std::unique_ptr<SerialLink> m_line;
    std::optional<QString> m_pendingOutput; // sent by PortOutput; a block may follow
    QDateTime m_pendingTime;
};
