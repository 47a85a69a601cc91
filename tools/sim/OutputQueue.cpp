#include "OutputQueue.h"

#include <algorithm>
#include <cstdio>

namespace vxsim
{

namespace
{
constexpr int BitsPerByte = 10; // start bit, 8 data bits, stop bit
}

OutputQueue::OutputQueue(int bitsPerSecond) : m_bitsPerSecond(bitsPerSecond) {}

Micros OutputQueue::WireTime(size_t bytes) const
{
    if (m_bitsPerSecond <= 0)
        return 0;
    return static_cast<Micros>(bytes) * BitsPerByte * 1000000 / m_bitsPerSecond;
}

void OutputQueue::Push(std::string bytes, Micros readyAt, bool hangUpAfter, std::string label)
{
    m_items.push_back(Item{std::move(bytes), 0, readyAt, hangUpAfter, std::move(label)});
}

Micros OutputQueue::StartOfNextByte(const Item& item) const
{
    return std::max(item.ReadyAt, m_lineFreeAt);
}

std::string_view OutputQueue::Due(Micros now) const
{
    if (m_items.empty())
        return {};
    const Item& item = m_items.front();
    const Micros start = StartOfNextByte(item);
    if (now < item.ReadyAt || now < start)
        return {};
    const size_t left = item.Bytes.size() - item.Sent;
    size_t count = left;
    if (m_bitsPerSecond > 0) {
        // A byte is on the far side once its 10 bits have gone.
        const Micros elapsed = now - start;
        count = std::min<size_t>(
            left, static_cast<size_t>(elapsed * m_bitsPerSecond / (BitsPerByte * 1000000LL)));
    }
    return std::string_view(item.Bytes).substr(item.Sent, count);
}

void OutputQueue::Consume(size_t count)
{
    if (m_items.empty() || count == 0)
        return;
    Item& item = m_items.front();
    count = std::min(count, item.Bytes.size() - item.Sent);
    m_lineFreeAt = StartOfNextByte(item) + WireTime(count);
    item.Sent += count;
}

bool OutputQueue::FrontCompletesWith(size_t count) const
{
    return !m_items.empty() && m_items.front().Sent + count == m_items.front().Bytes.size();
}

std::optional<OutputQueue::Finished> OutputQueue::TakeFinished(Micros now)
{
    if (m_items.empty())
        return std::nullopt;
    const Item& item = m_items.front();
    if (item.Sent < item.Bytes.size() || now < item.ReadyAt)
        return std::nullopt;
    Finished done{item.HangUpAfter};
    m_items.pop_front();
    return done;
}

std::optional<Micros> OutputQueue::NextDueTime() const
{
    if (m_items.empty())
        return std::nullopt;
    const Item& item = m_items.front();
    if (item.Sent >= item.Bytes.size())
        return item.ReadyAt;
    return StartOfNextByte(item) + WireTime(1);
}

std::string_view WithoutLineEnd(std::string_view bytes)
{
    if (bytes.size() >= 2 && bytes.substr(bytes.size() - 2) == LineEnd)
        bytes.remove_suffix(2);
    return bytes;
}

std::string TranscriptLine(char kind, std::string_view bytes)
{
    std::string line{kind, ' '};
    line.reserve(bytes.size() + 2);
    for (char ch : bytes) {
        const auto u = static_cast<unsigned char>(ch);
        if (u >= 0x20 && u < 0x7f && u != '\\') {
            line.push_back(ch);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", u);
            line += escaped;
        }
    }
    return line;
}

} // namespace vxsim
