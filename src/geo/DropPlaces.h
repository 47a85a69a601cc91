#pragma once

#include "lot/LotPoints.h"
#include "record/PositionLine.h"
#include "shell/Bilingual.h"

#include <QDate>
#include <QString>
#include <optional>
#include <span>
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

struct PositionsFile;

// The same with the positions files already read (PositionsFile.h), one per day file in the
// same order, so that what was damaged in them can be told too.
std::vector<std::optional<LatLon>> PlaceDrops(const std::vector<LotDrop>& drops,
                                              const std::vector<PositionsFile>& positions,
                                              const Track& track, UtcOffset offset);

// Marks the lines of `positions` that place none of its day's drops `day`: a second line of
// one drop, and a line whose number and time name no drop of the day.
void MatchPositions(PositionsFile* positions, std::span<const LotDrop> day);

// A date and a time of day counted in ms from 1970-01-01 00:00 with no zone: the one count
// that tracks (in UTC) and the day files' wall times are compared in.
qint64 WallMs(const QDate& date, qint64 msOfDay);

// The moment of a drop's wall time `when` in ms since 1970 UTC: `offset` east of UTC, or the
// computer's own zone on that date with none. None for a moment that is not valid, or for a
// wall time that the computer's zone skips when no offset is given.
std::optional<qint64> UtcMsOf(const QDateTime& when, UtcOffset offset);

// The track's place at `utcMs` (`track` in time order): at a point's own moment that point's,
// between two points the straight line between them by time, before the first or after the
// last that point's; none further than FarthestTrackMs from the nearest point.
std::optional<LatLon> TrackPlaceAt(const Track& track, qint64 utcMs);
