#include "ReplayScript.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace vxsim
{

namespace
{

// The quoted field that starts at `pos` (at its opening quote); `pos` moves past it.
std::optional<std::string> QuotedField(const std::string& line, size_t& pos)
{
    if (pos >= line.size() || line[pos] != '"')
        return std::nullopt;
    for (size_t i = pos + 1; i < line.size(); ++i) {
        if (line[i] == '\\') {
            ++i;
        } else if (line[i] == '"') {
            std::string field = line.substr(pos + 1, i - pos - 1);
            pos = i + 1;
            return UnescapeLineText(field);
        }
    }
    return std::nullopt;
}

bool SkipWord(const std::string& line, size_t& pos, const std::string& word)
{
    if (line.compare(pos, word.size(), word) != 0)
        return false;
    pos += word.size();
    return true;
}

long long NumberAt(const std::string& line, size_t pos)
{
    long long n = 0;
    while (pos < line.size() && std::isdigit(static_cast<unsigned char>(line[pos])))
        n = n * 10 + (line[pos++] - '0');
    return n;
}

bool SameCommand(const std::string& a, const std::string& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) ==
               std::toupper(static_cast<unsigned char>(y));
    });
}

} // namespace

std::string UnescapeLineText(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 >= text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        if (c == 'r') {
            out += '\r';
        } else if (c == 'n') {
            out += '\n';
        } else if (c == 'x' && i + 2 < text.size() &&
                   std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
                   std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

std::vector<ReplayScript::Entry> ReplayScript::Parse(const std::string& text)
{
    std::vector<Entry> entries;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        // time, port, then a quoted command; anything else is no exchange.
        const size_t afterTime = line.find(' ');
        const size_t afterPort =
            afterTime == std::string::npos ? afterTime : line.find(' ', afterTime + 1);
        if (afterPort == std::string::npos)
            continue;
        if (line.compare(afterPort + 1, std::string::npos, "line lost") == 0) {
            if (!entries.empty())
                entries.back().HangUpAfter = true;
            continue;
        }
        size_t pos = afterPort + 1;
        const std::optional<std::string> command = QuotedField(line, pos);
        if (!command)
            continue;
        Entry entry;
        entry.Command = *command;
        long long times = 1;
        if (SkipWord(line, pos, " repeated ")) {
            times = NumberAt(line, pos);
            pos = line.find(" last -> ", pos);
            if (pos == std::string::npos)
                continue;
            pos += 5; // to the arrow
        }
        if (SkipWord(line, pos, " sent, no reply awaited")) {
            entries.push_back(entry);
            continue;
        }
        if (!SkipWord(line, pos, " -> ") && !SkipWord(line, pos, "-> "))
            continue;
        if (SkipWord(line, pos, "binary ")) {
            entry.Reply.assign(static_cast<size_t>(NumberAt(line, pos)), '\0');
            entry.Answer = true;
        } else if (const std::optional<std::string> reply = QuotedField(line, pos)) {
            entry.Reply = *reply;
            entry.Answer = !reply->empty();
        } else {
            continue;
        }
        for (long long n = 0; n < times; ++n)
            entries.push_back(entry);
    }
    return entries;
}

ReplayScript::Answer ReplayScript::Receive(const std::string& command)
{
    Answer answer;
    if (m_lost)
        return answer;
    if (m_next >= m_entries.size() || !SameCommand(m_entries[m_next].Command, command)) {
        const std::string expected = m_next < m_entries.size()
                                         ? "\"" + m_entries[m_next].Command + "\""
                                         : "nothing (the transcript has ended)";
        answer.Mismatch = "replay: expected " + expected + ", received \"" + command +
                          "\"; answering as a silent logger from here on";
        m_lost = true;
        return answer;
    }
    const Entry& entry = m_entries[m_next++];
    answer.Send = entry.Answer;
    answer.Bytes = entry.Reply;
    answer.HangUpAfter = entry.HangUpAfter;
    return answer;
}

} // namespace vxsim
