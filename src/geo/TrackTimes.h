#pragma once

#include "DropPlaces.h"

// From the first to the last of some moments, in ms since 1970: UTC for a track, wall times
// (WallMs) for drops.
struct TimeSpan {
    qint64 First = 0;
    qint64 Last = 0;
};

// The span of a track's fixes (none for no fix), and of drops' wall times.
std::optional<TimeSpan> TrackSpan(const Track& track);
std::optional<TimeSpan> DropWallSpan(const std::vector<LotDrop>& drops);
// `span` widened to hold `other`.
void Widen(std::optional<TimeSpan>* span, const std::optional<TimeSpan>& other);

// The minutes east of UTC the drops are read with: `offset`, or with none the computer's
// zone at the wall time `at`.
int OffsetInForce(UtcOffset offset, qint64 atWallMs);

// Why a track places no drop by time when its span and the drops' (wall times read
// `offsetMinutes` east of UTC) do not meet, FarthestTrackMs apart at most: how far before or
// after the drops it lies and the whole quarter-hour offset within ±14:00 that would make them
// meet, if one does. Empty when they meet.
Bilingual TrackTimesNote(const TimeSpan& track, const TimeSpan& dropsWall, int offsetMinutes);
