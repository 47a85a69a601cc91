// A service transcript of any content given to the simulator's replay: refused with the
// line's number, or played back answering each recorded command in its order.
#include "ReplayScript.h"

#include <cstdint>
#include <cstdlib>

using vxsim::ReplayScript;

namespace
{
void Check(bool ok)
{
    if (!ok)
        std::abort();
}

// Enough to walk through the entries of a few KB; a folded run of a day's polls is not
// played to its end every run.
constexpr long long MostPlayed = 2000;
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ReplayScript::Parsed parsed = ReplayScript::Parse(text);
    Check(parsed.Error.empty() || (parsed.Entries.empty() && parsed.Error.rfind("line ", 0) == 0));
    Check(vxsim::Shown(text).size() <= 4 * 60 + 3);
    long long played = 0;
    std::vector<ReplayScript::Entry> entries = parsed.Entries;
    ReplayScript script(std::move(parsed.Entries));
    for (const ReplayScript::Entry& entry : entries) {
        Check(entry.Times >= 1 && entry.Times <= ReplayScript::MaxRepeats &&
              entry.Zeros <= size_t(ReplayScript::MaxBinaryBytes));
        for (long long i = 0; i < entry.Times && played < MostPlayed; ++i, ++played) {
            const ReplayScript::Answer answer = script.Receive(entry.Command);
            Check(answer.Mismatch.empty() && answer.Send == entry.Answer &&
                  answer.Bytes.size() == entry.Reply.size() + entry.Zeros);
        }
        if (played >= MostPlayed)
            break;
    }
    return 0;
}
