#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
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
    // The program's transcript files rotate at 2 MB and four old ones are kept, so even all
    // five joined into one stay well below this; anything larger was not written by it.
    static constexpr long long MaxFileBytes = 16LL * 1024 * 1024;
    // The live monitor polls once a second, so a folded run never holds more than a day's
    // polls (the program writes a run out long before that).
    static constexpr long long MaxRepeats = 86400;
    // The program receives a binary block into a buffer of this many bytes, and records
    // no more than it kept.
    static constexpr long long MaxBinaryBytes = 10001;
    // It keeps no more of a reply line than its receive buffer holds, nor records more.
    static constexpr size_t MaxReplyBytes = 5000;

    struct Entry {
        std::string Command;
        std::string Reply;        // the bytes as received, line end included when one came
        size_t Zeros = 0;         // a binary block, played back as this many zero bytes
        bool Answer = false;      // false: the logger did not answer
        bool HangUpAfter = false; // the program lost the line after the last of the times
        long long Times = 1;      // a folded run of polls: how often it was answered so
    };

    struct Parsed {
        std::vector<Entry> Entries;
        std::string Error; // not empty: the damaged line, as "line 12: what is wrong"
    };
    // The exchanges of a transcript's text. Lines that are no exchange (the port opened,
    // a message box) are passed over; a line that begins as one and is damaged is an error.
    static Parsed Parse(std::string_view text);

    explicit ReplayScript(std::vector<Entry> entries) : m_entries(std::move(entries)) {}

    struct Answer {
        bool Send = false;
        std::string Bytes;
        bool HangUpAfter = false;
        std::string Mismatch; // not empty: what to tell on standard error
    };
    Answer Receive(const std::string& command);

    // The answers it holds in all, each repeat of a folded run counted.
    long long Exchanges() const;

private:
    std::vector<Entry> m_entries;
    size_t m_next = 0;
    long long m_timesPlayed = 0; // of the entry at m_next
    bool m_lost = false;
};

struct LoadedReplay {
    std::optional<ReplayScript> Script;
    std::string Error; // not empty: why the file is refused, naming it, on one line
};
// A transcript file: only a regular file of at most MaxFileBytes that holds an exchange.
LoadedReplay LoadReplay(const std::string& path);

// Text from a transcript or the line as it may be shown in a message: bytes outside
// printable ASCII as \xNN, cut after 60 characters with "…", so that a damaged file
// never floods the terminal.
std::string Shown(std::string_view text);

} // namespace vxsim
