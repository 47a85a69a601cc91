#pragma once

#include "SimTypes.h"

#include <deque>
#include <optional>
#include <string>
#include <string_view>

namespace vxsim
{

// The replies waiting for the line, in order, and when each byte may go: at the line
// speed (a byte every 10 bits) when paced, as soon as a reply is ready otherwise.
class OutputQueue
{
public:
    // bitsPerSecond 0: no pacing.
    explicit OutputQueue(int bitsPerSecond);

    // Time the line needs for `bytes` bytes (0 when not paced).
    Micros WireTime(size_t bytes) const;

    // A reply that may start at `readyAt`; `hangUpAfter`: the line drops once it is out.
    void Push(std::string bytes, Micros readyAt, bool hangUpAfter, std::string label);

    // The bytes of the front reply whose time has come by `now`.
    std::string_view Due(Micros now) const;
    // `count` bytes of the front reply have been written at their time.
    void Consume(size_t count);
    // The front reply is ready and fully written: it leaves the queue. Returns its
    // whether the line drops now.
    struct Finished {
        bool HangUp = false;
    };
    std::optional<Finished> TakeFinished(Micros now);
    // Writing `count` more bytes finishes the front reply.
    bool FrontCompletesWith(size_t count) const;
    // The transcript text of the front reply.
    const std::string& FrontLabel() const { return m_items.front().Label; }

    // When the next byte (or a finished empty reply) falls due, if anything waits.
    std::optional<Micros> NextDueTime() const;
    bool Empty() const { return m_items.empty(); }

private:
    struct Item {
        std::string Bytes;
        size_t Sent = 0;
        Micros ReadyAt = 0;
        bool HangUpAfter = false;
        std::string Label;
    };
    Micros StartOfNextByte(const Item& item) const;

    int m_bitsPerSecond;
    Micros m_lineFreeAt = 0; // when the line has finished the last byte written
    std::deque<Item> m_items;
};

// A transcript line: kind ('>', '<', '!'), a blank, the bytes with everything outside
// printable ASCII as \xNN.
std::string TranscriptLine(char kind, std::string_view bytes);

// A reply as the transcript shows it: without its final CR LF.
std::string_view WithoutLineEnd(std::string_view bytes);

} // namespace vxsim
