// gpsd's output of any content: a fix only with a place in range and a 2D or 3D mode, and
// never more receivers than the program keeps.
#include "positions/GpsdReport.h"

#include <cstdint>
#include <cstdlib>

namespace
{
void CheckReport(const TpvReport& report)
{
    if (report.Fix &&
        (report.Mode < 2 || !IsValidLatLon(report.Fix->Where) ||
         report.Fix->Device != report.Device || report.Fix->ThreeD != (report.Mode >= 3)))
        std::abort();
    if (report.Time && !report.Time->isValid())
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    if (const std::optional<TpvReport> report = ParseTpv(bytes))
        CheckReport(*report);
    const std::vector<TpvReport> newest = NewestTpvOfEachDevice(bytes);
    if (newest.size() > size_t(MostReceivers))
        std::abort();
    for (const TpvReport& report : newest)
        CheckReport(report);
    return 0;
}
