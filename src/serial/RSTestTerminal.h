#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <functional>

class MessageSink;
class SerialLink;

// The largest block the value table of the test terminal takes.
inline constexpr int32_t MaxBdtValues = 1001;

// The count of a "BDT" command: the decimal number right after its first "BDT".
struct BdtCount {
    int32_t Values = 0; // 1 to MaxBdtValues when accepted
    QString Refusal;    // why the command is not sent; empty when accepted
    bool Accepted() const { return Refusal.isEmpty(); }
};
BdtCount ParseBdtCount(const QString& cmd);

// Value k of a block: the signed 16-bit number of bytes 2k (high) and 2k + 1 (low).
int16_t BigEndianValue(uint8_t high, uint8_t low);

// The table of a block of `values` values: rows of eight, each row headed by the index
// of its first value in six digits and two blanks, each value right-aligned in six
// characters and a blank; then an empty line end and the elapsed seconds with "Sec".
QString BinaryTableText(const uint8_t* bytes, int32_t values, double seconds);

// The response area's text for display: CR LF as one line end, every other byte outside
// printable ASCII (NUL, a lone CR, line noise) written as \xNN, so that nothing a logger
// sends is invisible or mistaken for a letter.
QString DisplayText(const QString& response);

struct ParaButton {
    const char* Caption;
    const char* SetCommand;
};
inline constexpr std::array<ParaButton, 5> ParaButtons{{{"Para1", "SET1"},
                                                        {"Para3", "SET3"},
                                                        {"Para4", "SET4"},
                                                        {"Para5", "SET5"},
                                                        {"Para6", "SET6"}}};

// What the RS-232C test terminal does, apart from its window: reaching the logger when it
// opens, typed commands, binary blocks and parameter dumps. The window shows Response()
// and enables what ParaEnabled() says.
class RSTestTerminal
{
public:
    RSTestTerminal(SerialLink& link, MessageSink& messages);

    // The start-up tick: opens the line and probes with "RES"; then each set command and
    // a "RES". False (after the not-connected message, with the line closed again) when
    // the logger does not answer or answers with an error.
    bool StartUp();
    const std::array<bool, 5>& ParaEnabled() const { return m_paraEnabled; }

    // Enter in the command field: the field's text upper-cased (the new field text),
    // sent as a command or, holding "BDT", as a binary dump.
    QString EnterCommand(const QString& fieldText);
    // One transaction; on success the area shows the command and its reply, otherwise it
    // keeps what it showed.
    void SendAndShow(const QString& cmd);
    // A binary block fetched and shown as a table. A count that is missing, no number or
    // outside 1 to 1001 is refused without sending. The command line is shown while the
    // block is fetched and stays alone when the block does not arrive. The line is back in
    // text reception afterwards in every case.
    void BinaryDump(const QString& cmd);
    // Parameter button `index`: RES, its set command, then EPA32 to EPA63 each followed
    // by EPD?, one exchange a line.
    void Para(int index);
    // "End" or the window closing in any way.
    void End();

    const QString& Response() const { return m_response; }
    // Called when the response changes before a wait, so that the window shows it then.
    std::function<void()> ResponseChanged;
    // A binary block is being received; the window takes no further command meanwhile.
    bool Busy() const { return m_busy; }

private:
    // "cmd reply" for a transaction that got a reply.
    void LogExchange(QString& log, const QString& cmd);

    SerialLink& m_link;
    MessageSink& m_messages;
    std::array<bool, 5> m_paraEnabled{};
    QString m_response;
    bool m_busy = false;
};
