// A LandXML file of any content: read without crashing or hanging; an alignment taken has a
// chain of positive, finite length, and every point it places has a finite station and
// offset within the limit.
#include "alignment/LandXmlAlignment.h"
#include "alignment/StationText.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace
{

void Place(const Alignment& alignment, PlanePoint point)
{
    const StationOffset at = alignment.Locate(point);
    if (at.HasStation() && (!std::isfinite(at.Station) || !std::isfinite(at.Offset) ||
                            std::abs(at.Offset) > DefaultOffsetLimit + 1e-6))
        std::abort();
    if (!at.HasStation() && at.Reason(DefaultOffsetLimit).En.isEmpty())
        std::abort();
    JapaneseStationText(at.Station);
    PlainStationText(at.Station);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    AlignmentFile file = ParseLandXmlAlignment(QStringLiteral("road.xml"), bytes);
    if (file.Refused() && file.Names.size() > 1)
        file = ParseLandXmlAlignment(QStringLiteral("road.xml"), bytes, file.Names.first());
    if (file.Refused())
        return 0;
    const Alignment& a = file.Chosen;
    if (a.Elements.empty() || !(a.Length() > 0.0) || !std::isfinite(a.Length()))
        std::abort();
    for (const AlignmentElement& e : a.Elements) {
        const PlanePoint start = e.Start, middle = e.Middle;
        Place(a, start);
        Place(a, middle);
        Place(a, {middle.North + 3.0, middle.East - 4.0});
    }
    return 0;
}
