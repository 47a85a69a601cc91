#include "RSTestTerminal.h"

#include "SerialLink.h"
#include "shell/MessageSink.h"

#include <QElapsedTimer>
#include <algorithm>

namespace
{

const QString CrLf = QStringLiteral("\r\n");
constexpr int32_t ProbeTimeoutMs = 1000;
constexpr int ValuesPerRow = 8;

QString RefusalText(const QString& why)
{
    return why + QStringLiteral(": BDT1 to BDT%1. Nothing was sent.").arg(MaxBdtValues);
}

} // namespace

BdtCount ParseBdtCount(const QString& cmd)
{
    BdtCount count;
    const qsizetype at = cmd.indexOf(QLatin1String("BDT"));
    const QString rest = at < 0 ? QString() : cmd.mid(at + 3).trimmed();
    if (rest.isEmpty()) {
        count.Refusal = RefusalText(QStringLiteral("BDT needs a count of values"));
        return count;
    }
    if (!std::all_of(rest.begin(), rest.end(), [](QChar c) { return c >= '0' && c <= '9'; })) {
        count.Refusal = RefusalText(QStringLiteral("BDT count \"%1\" is not a number").arg(rest));
        return count;
    }
    // Long digit strings are out of range without being converted.
    const qlonglong n = rest.size() > 9 ? qlonglong(MaxBdtValues) + 1 : rest.toLongLong();
    if (n < 1 || n > MaxBdtValues) {
        count.Refusal = RefusalText(QStringLiteral("BDT count %1 is out of range").arg(rest));
        return count;
    }
    count.Values = static_cast<int32_t>(n);
    return count;
}

int16_t BigEndianValue(uint8_t high, uint8_t low)
{
    return static_cast<int16_t>(static_cast<uint16_t>((high << 8) | low));
}

QString BinaryTableText(const uint8_t* bytes, int32_t values, double seconds)
{
    QString text;
    for (int32_t k = 0; k < values; ++k) {
        if (k % ValuesPerRow == 0)
            text += QStringLiteral("%1  ").arg(k, 6, 10, QLatin1Char('0'));
        text += QStringLiteral("%1 ").arg(BigEndianValue(bytes[2 * k], bytes[2 * k + 1]), 6);
        if (k % ValuesPerRow == ValuesPerRow - 1)
            text += CrLf;
    }
    text += CrLf;
    text += QString::number(seconds, 'f', 3) + QStringLiteral("Sec") + CrLf;
    return text;
}

QString DisplayText(const QString& response)
{
    QString shown;
    shown.reserve(response.size());
    for (qsizetype i = 0; i < response.size(); ++i) {
        const QChar c = response.at(i);
        if (c == '\r' && i + 1 < response.size() && response.at(i + 1) == '\n')
            continue; // CR LF shows as one line end
        const bool printable = c.unicode() >= 0x20 && c.unicode() < 0x7F;
        if (printable || c == '\n' || c == '\t')
            shown += c;
        else
            shown += QStringLiteral("\\x") +
                     QString::number(c.unicode(), 16).rightJustified(2, QLatin1Char('0')).toUpper();
    }
    return shown;
}

RSTestTerminal::RSTestTerminal(SerialLink& link, MessageSink& messages)
    : m_link(link), m_messages(messages)
{
}

bool RSTestTerminal::StartUp()
{
    m_link.Connect(true);
    m_link.Wait(100);
    m_link.SetReplyTimeout(ProbeTimeoutMs);
    if (m_link.RSCom(QStringLiteral("RES")) < 0) {
        m_messages.Show(UiMessage{{QString::fromUtf8("未接続"), QStringLiteral("No Connect!")},
                                  Both(QStringLiteral("QL-860H Not Connected!")),
                                  MessageButtons::Ok,
                                  MessageIcon::None});
        m_link.Connect(false);
        return false;
    }
    m_link.SetReplyTimeout(ProbeTimeoutMs);
    for (size_t i = 0; i < ParaButtons.size(); ++i) {
        m_paraEnabled[i] = m_link.RSCom(QString::fromLatin1(ParaButtons[i].SetCommand)) > 0;
        m_link.RSCom(QStringLiteral("RES"));
    }
    return true;
}

QString RSTestTerminal::EnterCommand(const QString& fieldText)
{
    if (m_busy)
        return fieldText;
    m_link.SetBinaryInput(false);
    QString cmd = fieldText.toUpper();
    if (cmd.contains(QLatin1String("BDT")))
        BinaryDump(cmd);
    else
        SendAndShow(cmd);
    return cmd;
}

void RSTestTerminal::SendAndShow(const QString& cmd)
{
    if (m_link.RSCom(cmd) > 0)
        m_response = cmd + CrLf + m_link.ReplyText();
}

void RSTestTerminal::BinaryDump(const QString& cmd)
{
    const BdtCount count = ParseBdtCount(cmd);
    if (!count.Accepted()) {
        m_response = cmd + CrLf + count.Refusal + CrLf;
        return;
    }
    m_busy = true;
    m_link.PortOutput(cmd);
    m_link.SetBinaryInput(true);
    LinkState& state = m_link.State();
    state.ReplyDone = false;
    state.BinaryPos = 0;
    // The operator sees what was sent while the block comes in; a block cut short adds
    // nothing to it.
    m_response = cmd + CrLf;
    if (ResponseChanged)
        ResponseChanged();
    QElapsedTimer elapsed;
    elapsed.start();
    const int16_t result = m_link.ReceiveBinary(2 * count.Values);
    const double seconds = double(elapsed.nsecsElapsed()) / 1e9;
    if (result == 0)
        m_response += CrLf + BinaryTableText(state.BinaryBuffer.data(), count.Values, seconds);
    m_link.SetBinaryInput(false);
    m_busy = false;
}

void RSTestTerminal::LogExchange(QString& log, const QString& cmd)
{
    if (m_link.RSCom(cmd) > 0)
        log += cmd + QLatin1Char(' ') + m_link.ReplyText();
}

void RSTestTerminal::Para(int index)
{
    if (m_busy || index < 0 || index >= int(ParaButtons.size()))
        return;
    QString log;
    LogExchange(log, QStringLiteral("RES"));
    const QString set = QString::fromLatin1(ParaButtons[size_t(index)].SetCommand);
    if (m_link.RSCom(set) < 1) {
        m_response = log + CrLf;
        return;
    }
    log += set + QLatin1Char(' ') + m_link.ReplyText();
    for (int address = 32; address <= 63; ++address) {
        LogExchange(log, QStringLiteral("EPA%1").arg(address));
        LogExchange(log, QStringLiteral("EPD?"));
    }
    m_response = log + CrLf;
}

void RSTestTerminal::End()
{
    m_link.Connect(false);
}
