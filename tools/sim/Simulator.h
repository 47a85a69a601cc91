#pragma once

#include "FaultSet.h"
#include "LoggerModel.h"
#include "ReplayScript.h"
#include "SimConfig.h"

#include <optional>
#include <string>
#include <vector>

namespace vxsim
{

// The whole simulated peer without its line: the logger model behind the faults, and
// the control lines that steer both. The host feeds it commands and control lines with
// the time they arrived and puts what comes back on the wire.
class Simulator
{
public:
    explicit Simulator(const SimConfig& config);

    struct Outgoing {
        bool Send = true;         // false: nothing goes back
        std::string Bytes;        // the reply as it goes on the wire
        Micros DelayUs = 0;       // held back this long by a fault
        bool HangUpAfter = false; // the line drops once it is out
    };
    // One command (without its line end) received at `now`.
    Outgoing Receive(const std::string& command, Micros now);

    struct ControlResult {
        bool Ok = true;
        std::string Error; // why a line was refused
        bool Quit = false;
    };
    // One control line ("drop", "fault silent", ...) at `now`.
    ControlResult Control(const std::string& line, Micros now);

    // A "fault hangup-after 0" is waiting to be carried out.
    bool HangUpNow() const { return m_faults.HangUpNow(); }

    void Advance(Micros now) { m_model.Advance(now); }
    std::optional<Micros> NextEventTime() const { return m_model.NextEventTime(); }
    std::vector<std::string> TakeNotes();

    LoggerModel& Model() { return m_model; }

    // From now on every command is answered from the transcript, not by the model.
    void SetReplay(ReplayScript replay) { m_replay = std::move(replay); }
    // What went wrong in the replay since the last call, for standard error.
    std::vector<std::string> TakeReplayWarnings();

private:
    ControlResult ApplyFault(const std::vector<std::string>& words);
    void ClearFaults();

    LoggerModel m_model;
    FaultSet m_faults;
    std::vector<std::string> m_notes;
    std::optional<ReplayScript> m_replay;
    std::vector<std::string> m_replayWarnings;
};

// The words of a line, split at blanks.
std::vector<std::string> SplitWords(const std::string& line);

} // namespace vxsim
