#include "FaultSet.h"

#include <algorithm>
#include <cctype>

namespace vxsim
{

namespace
{
std::string Upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Bytes no reply of the logger could hold: line noise, high bytes, no digits or commas.
const std::string GarbleBytes = "\xa5#?~\x1b\xf3@";
} // namespace

void FaultSet::Clear()
{
    m_silent = false;
    m_stray = false;
    m_hangUpCountdown.reset();
    m_faults.clear();
}

void FaultSet::Add(const CommandFault& fault)
{
    CommandFault f = fault;
    f.Pattern = Upper(f.Pattern);
    auto same = [&f](const CommandFault& g) { return g.What == f.What && g.Pattern == f.Pattern; };
    m_faults.erase(std::remove_if(m_faults.begin(), m_faults.end(), same), m_faults.end());
    m_faults.push_back(f);
}

bool FaultSet::Matches(const std::string& pattern, const std::string& command)
{
    const std::string cmd = Upper(command);
    const std::string pat = Upper(pattern);
    if (pat == "*")
        return true;
    if (!pat.empty() && pat.back() == '*')
        return cmd.compare(0, pat.size() - 1, pat, 0, pat.size() - 1) == 0;
    return cmd == pat;
}

const FaultSet::CommandFault* FaultSet::Find(Kind kind, const std::string& command) const
{
    // The latest fault set wins when several patterns match.
    for (auto it = m_faults.rbegin(); it != m_faults.rend(); ++it)
        if (it->What == kind && Matches(it->Pattern, command))
            return &*it;
    return nullptr;
}

FaultSet::Outcome FaultSet::Intercept(const std::string& command)
{
    Outcome outcome;
    if (m_hangUpCountdown) {
        *m_hangUpCountdown -= 1;
        outcome.HangUpAfter = *m_hangUpCountdown <= 0;
    }
    if (m_silent) {
        outcome.Answer = false;
        return outcome;
    }
    if (const CommandFault* error = Find(Kind::Error, command)) {
        outcome.Refused = true;
        outcome.Bytes = error->Code + LineEnd;
    }
    return outcome;
}

void FaultSet::Distort(const std::string& command, Outcome& outcome) const
{
    if (!outcome.Answer)
        return;
    std::string& bytes = outcome.Bytes;
    if (Find(Kind::LongLine, command)) {
        bytes.clear();
        for (int i = 0; i < LongLineBytes; ++i)
            bytes.push_back(static_cast<char>('0' + i % 10));
    } else if (Find(Kind::Garble, command)) {
        bytes = GarbleBytes + LineEnd;
    }
    if (Find(Kind::Nul, command)) {
        // NULs in the middle of the text, before its line end.
        const size_t textEnd = bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, LineEnd) == 0
                                   ? bytes.size() - 2
                                   : bytes.size();
        bytes.insert(textEnd / 2, std::string(2, '\0'));
    }
    if (Find(Kind::Partial, command) && !bytes.empty() && bytes.back() == '\n')
        bytes.pop_back();
    if (m_stray)
        bytes = StrayBefore + bytes + StrayAfter;
    if (const CommandFault* slow = Find(Kind::Slow, command))
        outcome.DelayUs = static_cast<Micros>(slow->DelayMs) * 1000;
}

} // namespace vxsim
