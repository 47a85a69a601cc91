#include "ReplayScript.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vxsim
{

namespace
{

constexpr size_t ShownCharacters = 60;
constexpr const char* NoReply = "no reply follows the command (the line is cut short)";

bool IsHex(char c)
{
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

int HexValue(char c)
{
    return c <= '9' ? c - '0' : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
}

// A line of the transcript as it is read, and what is wrong with it once something is.
struct Cursor {
    std::string_view Line;
    size_t Pos = 0;
    std::string Error;

    bool At(char c) const { return Pos < Line.size() && Line[Pos] == c; }
    bool Skip(std::string_view word)
    {
        if (Line.substr(Pos, word.size()) != word)
            return false;
        Pos += word.size();
        return true;
    }
    std::nullopt_t Fail(std::string why)
    {
        Error = std::move(why);
        return std::nullopt;
    }
    // The text from `start` to the next space, to name a bad value.
    std::string WordFrom(size_t start) const
    {
        return Shown(Line.substr(start, Line.find(' ', start) - start));
    }
};

// The escape whose letter is at `i`, as written: \q, or \x with what follows of its digits.
std::string_view EscapeAt(std::string_view line, size_t i)
{
    size_t end = i + 1;
    if (line[i] == 'x')
        while (end < line.size() && end < i + 3 && line[end] != '"')
            ++end;
    return line.substr(i - 1, end - i + 1);
}

// The quoted field at the cursor (at its opening quote) back to its bytes. Only the escapes
// the transcript writer uses are taken: anything else would change the bytes unseen.
std::optional<std::string> QuotedField(Cursor& at, std::string_view whose)
{
    const std::string_view line = at.Line;
    std::string bytes;
    for (size_t i = at.Pos + 1; i < line.size(); ++i) {
        if (line[i] == '"') {
            at.Pos = i + 1;
            return bytes;
        }
        if (line[i] != '\\') {
            bytes += line[i];
            continue;
        }
        if (++i >= line.size())
            break;
        const char letter = line[i];
        if (letter == 'r') {
            bytes += '\r';
        } else if (letter == 'n') {
            bytes += '\n';
        } else if (letter == '\\' || letter == '"') {
            bytes += letter;
        } else if (letter == 'x' && i + 2 < line.size() && IsHex(line[i + 1]) &&
                   IsHex(line[i + 2])) {
            bytes += static_cast<char>(HexValue(line[i + 1]) * 16 + HexValue(line[i + 2]));
            i += 2;
        } else {
            return at.Fail("\"" + Shown(EscapeAt(line, i)) +
                           "\" is not an escape the transcript writes");
        }
    }
    return at.Fail("the " + std::string(whose) + " quote is never closed (the line is cut short)");
}

// The decimal number at the cursor, nothing when there is none; one above `most` stands
// for every larger one, so that no count of digits can overflow it.
std::optional<long long> NumberAt(Cursor& at, long long most)
{
    const size_t start = at.Pos;
    long long n = 0;
    for (; at.Pos < at.Line.size() && std::isdigit(static_cast<unsigned char>(at.Line[at.Pos]));
         ++at.Pos)
        n = std::min(n * 10 + (at.Line[at.Pos] - '0'), most + 1);
    if (at.Pos == start)
        return std::nullopt;
    return n;
}

std::optional<ReplayScript::Entry> ReplyAt(Cursor& at, ReplayScript::Entry entry)
{
    if (!at.Skip(" -> "))
        return at.Fail(NoReply);
    if (at.Skip("binary ")) {
        const size_t start = at.Pos;
        const auto bytes = NumberAt(at, ReplayScript::MaxBinaryBytes);
        if (!bytes || *bytes > ReplayScript::MaxBinaryBytes)
            return at.Fail("the binary block's length \"" + at.WordFrom(start) + "\" is not 0 to " +
                           std::to_string(ReplayScript::MaxBinaryBytes) +
                           " bytes, what the program's buffer holds");
        entry.Zeros = static_cast<size_t>(*bytes);
        entry.Answer = true;
        return entry;
    }
    if (!at.At('"'))
        return at.Fail(NoReply);
    const std::optional<std::string> reply = QuotedField(at, "reply's");
    if (!reply)
        return std::nullopt;
    if (reply->size() > ReplayScript::MaxReplyBytes)
        return at.Fail("the reply is " + std::to_string(reply->size()) + " bytes, more than the " +
                       std::to_string(ReplayScript::MaxReplyBytes) +
                       " bytes the program's receive buffer holds");
    entry.Reply = *reply;
    entry.Answer = !reply->empty();
    return entry;
}

// The exchange on a line that begins as one: the cursor is at its command's opening quote.
std::optional<ReplayScript::Entry> ExchangeAt(Cursor& at)
{
    ReplayScript::Entry entry;
    const std::optional<std::string> command = QuotedField(at, "command's");
    if (!command)
        return std::nullopt;
    entry.Command = *command;
    if (at.Skip(" sent, no reply awaited"))
        return entry;
    if (at.Skip(" repeated ")) {
        const size_t start = at.Pos;
        const auto times = NumberAt(at, ReplayScript::MaxRepeats);
        if (!times || *times < 1 || *times > ReplayScript::MaxRepeats)
            return at.Fail("the repeat count \"" + at.WordFrom(start) + "\" is not 1 to " +
                           std::to_string(ReplayScript::MaxRepeats) +
                           " (a day of polls, one a second)");
        entry.Times = *times;
        if (!at.Skip(" more times, last"))
            return at.Fail(NoReply);
    }
    return ReplyAt(at, std::move(entry));
}

bool SameCommand(const std::string& a, const std::string& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) ==
               std::toupper(static_cast<unsigned char>(y));
    });
}

// Empty for a regular file, else what it is.
std::string KindOfSpecialFile(const struct stat& st)
{
    if (S_ISREG(st.st_mode))
        return {};
    if (S_ISDIR(st.st_mode))
        return "a folder";
    if (S_ISFIFO(st.st_mode))
        return "a FIFO";
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        return "a device";
    return "a special file";
}

std::string TooLarge(const std::string& path)
{
    return path + " is larger than " + std::to_string(ReplayScript::MaxFileBytes >> 20) +
           " MB, more than the program's transcript files ever hold (2 MB each, five at most)";
}

std::string RefusalByKindOrSize(const std::string& path, const struct stat& st)
{
    if (const std::string kind = KindOfSpecialFile(st); !kind.empty())
        return path + " is " + kind + ", not a transcript file";
    if (st.st_size > ReplayScript::MaxFileBytes)
        return TooLarge(path);
    return {};
}

std::string CannotRead(const std::string& path)
{
    return "cannot read " + path + ": " + std::strerror(errno);
}

// Reads an open file to its end, but never past MaxFileBytes, even when it grows meanwhile.
std::string ReadOpenFile(int fd, const std::string& path, std::string& text)
{
    struct stat st {
    };
    if (::fstat(fd, &st) != 0)
        return CannotRead(path);
    if (std::string why = RefusalByKindOrSize(path, st); !why.empty())
        return why;
    text.reserve(static_cast<size_t>(st.st_size));
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n == 0)
            return {};
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return CannotRead(path);
        text.append(chunk, static_cast<size_t>(n));
        if (text.size() > static_cast<size_t>(ReplayScript::MaxFileBytes))
            return TooLarge(path);
    }
}

// The file's text; or, when it is no file to read, why.
std::string ReadTranscriptFile(const std::string& path, std::string& text)
{
    // Looked at before it is opened, so that a FIFO or a device is never opened at all, and
    // again once open, in case the name came to stand for another file in between.
    struct stat st {
    };
    if (::stat(path.c_str(), &st) != 0)
        return CannotRead(path);
    if (std::string why = RefusalByKindOrSize(path, st); !why.empty())
        return why;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return CannotRead(path);
    std::string why = ReadOpenFile(fd, path, text);
    ::close(fd);
    return why;
}

} // namespace

std::string Shown(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (out.size() >= ShownCharacters)
            return out + "…";
        if (c >= 0x20 && c < 0x7f) {
            out += c;
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02x", static_cast<unsigned char>(c));
            out += hex;
        }
    }
    return out;
}

ReplayScript::Parsed ReplayScript::Parse(std::string_view text)
{
    Parsed parsed;
    size_t number = 0;
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') // a copy that passed through an editor
            line.remove_suffix(1);
        // time, port, then a quoted command; anything else is no exchange, and so is a
        // message box, whose title stands where the command would.
        const size_t afterTime = line.find(' ');
        const size_t afterPort =
            afterTime == std::string::npos ? afterTime : line.find(' ', afterTime + 1);
        if (afterPort == std::string::npos ||
            line.substr(afterTime + 1, afterPort - afterTime - 1) == "message")
            continue;
        Cursor at{line, afterPort + 1, {}};
        if (line.substr(at.Pos) == "line lost") {
            if (!parsed.Entries.empty())
                parsed.Entries.back().HangUpAfter = true;
            continue;
        }
        if (!at.At('"'))
            continue;
        std::optional<Entry> entry = ExchangeAt(at);
        if (!entry) {
            parsed.Entries.clear();
            parsed.Error = "line " + std::to_string(number) + ": " + at.Error;
            return parsed;
        }
        parsed.Entries.push_back(std::move(*entry));
    }
    return parsed;
}

LoadedReplay LoadReplay(const std::string& path)
{
    LoadedReplay loaded;
    std::string text;
    loaded.Error = ReadTranscriptFile(path, text);
    if (!loaded.Error.empty())
        return loaded;
    ReplayScript::Parsed parsed = ReplayScript::Parse(text);
    if (!parsed.Error.empty())
        loaded.Error = path + " " + parsed.Error;
    else if (parsed.Entries.empty())
        loaded.Error = path + " is not a service transcript: no line in it is an exchange " +
                       "(time, port, quoted command)";
    else
        loaded.Script.emplace(std::move(parsed.Entries));
    return loaded;
}

long long ReplayScript::Exchanges() const
{
    long long all = 0;
    for (const Entry& entry : m_entries)
        all += entry.Times;
    return all;
}

ReplayScript::Answer ReplayScript::Receive(const std::string& command)
{
    Answer answer;
    if (m_lost)
        return answer;
    if (m_next >= m_entries.size() || !SameCommand(m_entries[m_next].Command, command)) {
        const std::string expected = m_next < m_entries.size()
                                         ? "\"" + Shown(m_entries[m_next].Command) + "\""
                                         : "nothing (the transcript has ended)";
        answer.Mismatch = "replay: expected " + expected + ", received \"" + Shown(command) +
                          "\"; answering as a silent logger from here on";
        m_lost = true;
        return answer;
    }
    // A folded run is played one poll at a time, each with the reply the fold kept.
    const Entry& entry = m_entries[m_next];
    const bool lastOfRun = ++m_timesPlayed >= entry.Times;
    if (lastOfRun) {
        ++m_next;
        m_timesPlayed = 0;
    }
    answer.Send = entry.Answer;
    answer.Bytes = entry.Reply;
    answer.Bytes.append(entry.Zeros, '\0');
    answer.HangUpAfter = lastOfRun && entry.HangUpAfter;
    return answer;
}

} // namespace vxsim
