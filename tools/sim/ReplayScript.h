#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace vxsim
{

// A service transcript of the program (service/line.log) played back: each command is
// answered with the reply recorded for it, in the order recorded. Where the program sends
// something the transcript does not hold next, the logger falls silent for the rest of
// the run, as a logger that has gone away would.
class ReplayScript
{
public:
    struct Entry {
        std::string Command;
        std::string Reply;        // the bytes as received, line end included when one came
        bool Answer = false;      // false: the logger did not answer
        bool HangUpAfter = false; // the program lost the line after this exchange
    };

    // The exchanges of a transcript's text. Lines that are no exchange (the port opened,
    // a message box) are passed over; a folded run of polls gives its repeats.
    static std::vector<Entry> Parse(const std::string& text);

    explicit ReplayScript(std::vector<Entry> entries) : m_entries(std::move(entries)) {}

    struct Answer {
        bool Send = false;
        std::string Bytes;
        bool HangUpAfter = false;
        std::string Mismatch; // not empty: what to tell on standard error
    };
    Answer Receive(const std::string& command);

    size_t Played() const { return m_next; }
    size_t Size() const { return m_entries.size(); }

private:
    std::vector<Entry> m_entries;
    size_t m_next = 0;
    bool m_lost = false;
};

// The text of a transcript's quoted field back to its bytes: \r \n \\ \" \xNN.
std::string UnescapeLineText(const std::string& text);

} // namespace vxsim
