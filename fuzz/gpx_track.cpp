// A GPS track file of any content: read without crashing, every point kept has a place in
// range, and a refused file keeps none.
#include "geo/GpxTrack.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    const TrackFile file = ParseGpx(QStringLiteral("track.gpx"), bytes);
    if (file.Refused() != file.Read.Points.empty())
        std::abort();
    for (const TrackPoint& point : file.Read.Points) {
        if (!IsValidLatLon(point.Where))
            std::abort();
    }
    LeftOutNote(file);
    const Track merged = MergeTracks({file.Read, file.Read});
    if (merged.Points.size() != 2 * file.Read.Points.size())
        std::abort();
    ReadGpxTime(QString::fromUtf8(bytes));
    return 0;
}
