// Every reader of a logger reply: whatever bytes arrive, a value is taken only inside its
// accepted set, and nothing crashes.
#include "logger/LiveMonitor.h"
#include "logger/LoggerErrors.h"
#include "logger/LoggerReplies.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace
{
void Check(bool ok)
{
    if (!ok)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString reply = QString::fromLatin1(reinterpret_cast<const char*>(data), int(size));
    if (auto v = RangeReply(reply))
        Check(*v == 1000 || *v == 4000);
    if (auto v = LowPassReply(reply))
        Check(*v == 500 || *v == 1000 || *v == 2000 || *v == 3000 || *v == 5000);
    if (auto v = HighPassReply(reply))
        Check(*v == 0 || *v == 1);
    if (auto v = SamplingIntervalReply(reply))
        Check(*v >= 50 && *v <= 32000);
    if (auto v = RecordLengthReply(reply))
        Check(*v >= 1 && *v <= 16384);
    if (auto v = PreTriggerReply(reply, 800))
        Check(*v >= 0 && *v < 800);
    if (auto v = MeasNoReply(reply))
        Check(*v >= 0);
    if (auto v = TriggerLevelReply(reply))
        Check(*v >= 0 && *v <= 32767);
    if (auto v = CalcTypeReply(reply))
        Check(*v == 1 || *v == 2);
    if (auto v = PlateDiameterWord(reply))
        Check(*v >= 1 && *v <= 1000);
    if (auto v = PoissonRatioWord(reply))
        Check(*v > 0 && *v < 1);
    if (auto v = TriggerChannelWord(reply, 4))
        Check(*v >= 1 && *v <= 4);
    FirmwareSupportsSea(reply);
    LoggerErrorMessage(reply);
    SensorFaultMessage(-1, reply);
    LoggerSettings settings;
    for (int ch : {1, 2, 4})
        settings.Channel[ch].Active = true;
    const LiveReadings readings = ReadingsReply(reply, settings);
    Check(!readings.Channel[3].InReply && !readings.Channel[5].InReply);
    MonitorValueText(1, readings.Channel[1].Raw, 0.025);
    if (auto peaks = PeakValuesReply(reply, settings)) {
        for (double v : *peaks)
            Check(std::isfinite(v));
        Check((*peaks)[3] == -1 && (*peaks)[5] == -1);
    }
    double value = 0;
    LeadingFieldValue(reply, &value);
    return 0;
}
