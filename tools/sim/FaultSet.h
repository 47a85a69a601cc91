#pragma once

#include "SimTypes.h"

#include <optional>
#include <string>
#include <vector>

namespace vxsim
{

// Faults of the line and of the logger's answers, switched on by control lines. The
// faults that change the logger itself (no sensor unit, a stuck recording, a missing
// channel) live in the logger model; these only decide what becomes of a reply.
class FaultSet
{
public:
    enum class Kind { Error, Garble, Partial, Nul, LongLine, Slow };

    struct CommandFault {
        Kind What;
        std::string Pattern; // upper case: exact, "X*" prefix, "*" all
        std::string Code;    // Error: "ERR-031"
        int DelayMs = 0;     // Slow
    };

    // What becomes of one command's reply.
    struct Outcome {
        bool Answer = true;       // false: the logger stays silent
        bool Refused = false;     // an error fault answers instead of the logger
        std::string Bytes;        // the reply as it goes on the wire
        Micros DelayUs = 0;       // extra time before it goes
        bool HangUpAfter = false; // the line drops once this reply is out
    };

    void Clear();
    void SetSilent(bool silent) { m_silent = silent; }
    void SetStray(bool stray) { m_stray = stray; }
    // Replaces a fault of the same kind for the same pattern.
    void Add(const CommandFault& fault);
    // The line drops after `commands` more commands (0: now).
    void HangUpAfter(int commands) { m_hangUpCountdown = commands; }
    bool HangUpNow() const { return m_hangUpCountdown && *m_hangUpCountdown <= 0; }

    // Before the logger sees `command`: counts it towards a hang-up and decides whether
    // the logger answers at all, or an error fault answers for it.
    Outcome Intercept(const std::string& command);
    // Distorts the logger's reply to `command` as the faults say.
    void Distort(const std::string& command, Outcome& outcome) const;

    static bool Matches(const std::string& pattern, const std::string& command);

private:
    const CommandFault* Find(Kind kind, const std::string& command) const;

    bool m_silent = false;
    bool m_stray = false;
    std::optional<int> m_hangUpCountdown;
    std::vector<CommandFault> m_faults;
};

// The bytes that faults put on the wire.
inline constexpr const char* StrayBefore = "\xff";
inline constexpr const char* StrayAfter = "\xfe\xff";
inline constexpr int LongLineBytes = 6000;

} // namespace vxsim
