#include "Simulator.h"

#include <sstream>

namespace vxsim
{

std::vector<std::string> SplitWords(const std::string& line)
{
    std::vector<std::string> words;
    std::istringstream in(line);
    std::string word;
    while (in >> word)
        words.push_back(word);
    return words;
}

Simulator::Simulator(const SimConfig& config) : m_model(config) {}

Simulator::Outgoing Simulator::Receive(const std::string& command, Micros now)
{
    if (m_replay) {
        ReplayScript::Answer answer = m_replay->Receive(command);
        if (!answer.Mismatch.empty()) {
            m_notes.push_back(answer.Mismatch);
            m_replayWarnings.push_back(answer.Mismatch);
        }
        if (answer.HangUpAfter)
            m_notes.push_back("the line drops after this command");
        Outgoing out;
        out.Send = answer.Send;
        out.Bytes = std::move(answer.Bytes);
        out.HangUpAfter = answer.HangUpAfter;
        return out;
    }
    FaultSet::Outcome outcome = m_faults.Intercept(command);
    if (!outcome.Answer) {
        m_model.Advance(now);
        m_notes.push_back("no reply (silent)");
    } else if (outcome.Refused) {
        m_model.Advance(now);
        m_notes.push_back("refused by a fault");
    } else {
        outcome.Bytes = m_model.Handle(command, now);
    }
    m_faults.Distort(command, outcome);
    if (outcome.HangUpAfter)
        m_notes.push_back("the line drops after this command");

    Outgoing out;
    out.Send = outcome.Answer;
    out.Bytes = std::move(outcome.Bytes);
    out.DelayUs = outcome.DelayUs;
    out.HangUpAfter = outcome.HangUpAfter;
    return out;
}

std::vector<std::string> Simulator::TakeReplayWarnings()
{
    std::vector<std::string> warnings;
    warnings.swap(m_replayWarnings);
    return warnings;
}

std::vector<std::string> Simulator::TakeNotes()
{
    std::vector<std::string> notes = m_model.TakeNotes();
    notes.insert(notes.begin(), m_notes.begin(), m_notes.end());
    m_notes.clear();
    return notes;
}

void Simulator::ClearFaults()
{
    m_faults.Clear();
    m_model.SetSensorUnitMissing(false);
    m_model.SetStuck(false);
    for (int c = FirstChannel; c <= LastChannel; ++c)
        m_model.SetChannelMissing(c, false);
}

Simulator::ControlResult Simulator::Control(const std::string& line, Micros now)
{
    const std::vector<std::string> words = SplitWords(line);
    ControlResult result;
    auto refuse = [&result](const std::string& why) {
        result.Ok = false;
        result.Error = why;
        return result;
    };
    if (words.empty())
        return refuse("empty line");
    const std::string& verb = words[0];

    if (verb == "quit" && words.size() == 1) {
        result.Quit = true;
        return result;
    }
    if (verb == "drop" && words.size() == 1) {
        m_model.Drop(now);
        return result;
    }
    if (verb == "offset" && words.size() == 3) {
        const auto channel = ParseInteger(words[1]);
        const auto raw = ParseInteger(words[2]);
        if (!channel || *channel < FirstChannel || *channel > LastChannel || !raw ||
            *raw < -32767 || *raw > 32767)
            return refuse("offset CH RAW: CH 1 to 6, RAW -32767 to 32767");
        m_model.SetOffset(static_cast<int>(*channel), static_cast<int>(*raw));
        m_notes.push_back(line);
        return result;
    }
    if ((verb == "load" || verb == "modulus") && words.size() == 2) {
        const auto value = ParseReal(words[1]);
        if (!value || *value < 0.0)
            return refuse(verb + " takes a number not below 0");
        if (verb == "load")
            m_model.SetLoad(*value);
        else
            m_model.SetModulus(*value);
        m_notes.push_back(line);
        return result;
    }
    if (verb == "fault") {
        result = ApplyFault(std::vector<std::string>(words.begin() + 1, words.end()));
        if (result.Ok)
            m_notes.push_back(line);
        return result;
    }
    return refuse("unknown control line");
}

Simulator::ControlResult Simulator::ApplyFault(const std::vector<std::string>& words)
{
    ControlResult result;
    auto refuse = [&result](const std::string& why) {
        result.Ok = false;
        result.Error = why;
        return result;
    };
    if (words.empty())
        return refuse("fault needs a kind");
    const std::string& kind = words[0];
    const size_t n = words.size();

    if (n == 1) {
        if (kind == "none")
            ClearFaults();
        else if (kind == "silent")
            m_faults.SetSilent(true);
        else if (kind == "nosensor")
            m_model.SetSensorUnitMissing(true);
        else if (kind == "stuck")
            m_model.SetStuck(true);
        else if (kind == "stray")
            m_faults.SetStray(true);
        else
            return refuse("unknown fault " + kind);
        return result;
    }
    if (kind == "nochannel" && n == 2) {
        const auto channel = ParseInteger(words[1]);
        if (!channel || *channel < FirstChannel || *channel > LastChannel)
            return refuse("nochannel takes a channel 1 to 6");
        m_model.SetChannelMissing(static_cast<int>(*channel), true);
        return result;
    }
    if (kind == "hangup-after" && n == 2) {
        const auto commands = ParseInteger(words[1]);
        if (!commands || *commands < 0 || *commands > 1000000)
            return refuse("hangup-after takes a count of commands");
        m_faults.HangUpAfter(static_cast<int>(*commands));
        return result;
    }

    FaultSet::CommandFault fault;
    fault.Pattern = words[1];
    if (kind == "error" && n == 3) {
        std::string code = words[2];
        if (code.rfind("ERR-", 0) == 0)
            code = code.substr(4);
        const auto number = ParseInteger(code);
        if (!number || *number < 0 || *number > 999 || code.size() > 3)
            return refuse("error CMD CODE: CODE of up to three digits, e.g. 031");
        fault.What = FaultSet::Kind::Error;
        fault.Code = ErrorReply(static_cast<int>(*number));
    } else if (kind == "slow" && n == 3) {
        const auto ms = ParseInteger(words[2]);
        if (!ms || *ms < 0 || *ms > 3600000)
            return refuse("slow CMD MS: MS 0 to 3600000");
        fault.What = FaultSet::Kind::Slow;
        fault.DelayMs = static_cast<int>(*ms);
    } else if (n == 2 && kind == "garble") {
        fault.What = FaultSet::Kind::Garble;
    } else if (n == 2 && kind == "partial") {
        fault.What = FaultSet::Kind::Partial;
    } else if (n == 2 && kind == "nul") {
        fault.What = FaultSet::Kind::Nul;
    } else if (n == 2 && kind == "longline") {
        fault.What = FaultSet::Kind::LongLine;
    } else {
        return refuse("unknown fault or wrong number of words");
    }
    m_faults.Add(fault);
    return result;
}

} // namespace vxsim
