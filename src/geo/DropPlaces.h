#pragma once

#include "lot/LotPoints.h"
#include "positions/PositionLine.h"
#include "shell/Bilingual.h"

#include <QString>
#include <optional>
#include <vector>

// One fix of a GPS track, at a moment in UTC.
struct TrackPoint {
    qint64 UtcMs = 0; // milliseconds since 1970-01-01T00:00:00Z
    LatLon Where;
};

// The points of one or more tracks, merged in time order (several receivers and days mix).
struct Track {
    std::vector<TrackPoint> Points;
};

// A drop further than this from the nearest track point gets no place from the track.
inline constexpr qint64 FarthestTrackMs = 30'000;

// The lot's time zone: minutes east of UTC, or none for the computer's own zone on each
// drop's date.
using UtcOffset = std::optional<int>;

// Where each of `drops` lies (same order), or none: from the positions file written in the
// field beside its day file first, then from the track matched by time.
std::vector<std::optional<LatLon>> PlaceDrops(const std::vector<LotDrop>& drops,
                                              const std::vector<QString>& dayFiles,
                                              const Track& track, UtcOffset offset);
