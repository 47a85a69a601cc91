#include "DropPlaces.h"

#include "GpxTrack.h"
#include "PositionsFile.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace
{

// A drop and its line in the positions file meet on the number and the wall time written,
// never on a conversion to UTC that a change of daylight saving time could make ambiguous.
QString KeyOf(const QString& no, const QDateTime& when)
{
    const qint64 wall = WallMs(when.date(), when.time().msecsSinceStartOfDay());
    return no.trimmed() + QLatin1Char('@') + QString::number(wall);
}

using FieldPlaces = QHash<QString, LatLon>;

FieldPlaces FieldPlacesOf(const PositionsFile& file)
{
    FieldPlaces places;
    places.reserve(qsizetype(file.Positions.size()));
    // From the last line up, so that of two lines of one drop the first holds.
    for (auto p = file.Positions.rbegin(); p != file.Positions.rend(); ++p)
        places.insert(KeyOf(p->Line.No, p->When), p->Line.Fix.Where);
    return places;
}

bool Earlier(const TrackPoint& a, const TrackPoint& b)
{
    return a.UtcMs < b.UtcMs;
}

// Between two places by the share `f` of the way, the short way round across 180°.
LatLon Between(const LatLon& a, const LatLon& b, double f)
{
    double east = b.Longitude - a.Longitude;
    if (east > 180.0)
        east -= 360.0;
    else if (east < -180.0)
        east += 360.0;
    double longitude = a.Longitude + f * east;
    if (longitude > 180.0)
        longitude -= 360.0;
    else if (longitude < -180.0)
        longitude += 360.0;
    return {a.Latitude + f * (b.Latitude - a.Latitude), longitude};
}

} // namespace

void MatchPositions(PositionsFile* positions, std::span<const LotDrop> day)
{
    positions->RepeatedLines.clear();
    positions->UnmatchedLines.clear();
    QSet<QString> days, placed;
    for (const LotDrop& drop : day)
        days.insert(KeyOf(drop.No, drop.When));
    for (const FieldPosition& p : positions->Positions) {
        const QString key = KeyOf(p.Line.No, p.When);
        if (!days.contains(key))
            positions->UnmatchedLines.push_back(p.LineNumber);
        else if (placed.contains(key))
            positions->RepeatedLines.push_back(p.LineNumber);
        placed.insert(key);
    }
}

qint64 WallMs(const QDate& date, qint64 msOfDay)
{
    constexpr qint64 MsPerDay = 86'400'000;
    constexpr qint64 Epoch = 2440588; // the Julian day of 1970-01-01
    return (date.toJulianDay() - Epoch) * MsPerDay + msOfDay;
}

std::optional<qint64> UtcMsOf(const QDateTime& when, UtcOffset offset)
{
    if (!when.isValid())
        return std::nullopt;
    if (!offset) {
        // A wall time that this zone skips (clocks put forward) has no moment here.
        const QDateTime local(when.date(), when.time(), Qt::LocalTime);
        if (!local.isValid() || local.date() != when.date() || local.time() != when.time())
            return std::nullopt;
        return local.toMSecsSinceEpoch();
    }
    return WallMs(when.date(), when.time().msecsSinceStartOfDay()) - qint64(*offset) * 60'000;
}

std::optional<LatLon> TrackPlaceAt(const Track& track, qint64 utcMs)
{
    const std::vector<TrackPoint>& points = track.Points;
    if (points.empty())
        return std::nullopt;
    const auto after =
        std::lower_bound(points.begin(), points.end(), TrackPoint{utcMs, {}}, Earlier);
    if (after != points.end() && after->UtcMs == utcMs)
        return after->Where;
    if (after == points.begin() || after == points.end()) {
        const TrackPoint& end = after == points.begin() ? points.front() : points.back();
        if (std::abs(end.UtcMs - utcMs) > FarthestTrackMs)
            return std::nullopt;
        return end.Where;
    }
    const TrackPoint& before = *(after - 1);
    if (std::min(utcMs - before.UtcMs, after->UtcMs - utcMs) > FarthestTrackMs)
        return std::nullopt;
    const double f = double(utcMs - before.UtcMs) / double(after->UtcMs - before.UtcMs);
    return Between(before.Where, after->Where, f);
}

std::vector<std::optional<LatLon>> PlaceDrops(const std::vector<LotDrop>& drops,
                                              const std::vector<PositionsFile>& positions,
                                              const Track& track, UtcOffset offset)
{
    std::vector<FieldPlaces> field;
    field.reserve(positions.size());
    for (const PositionsFile& file : positions)
        field.push_back(FieldPlacesOf(file));
    // A track is merged in time order; one that is not is put in order, never searched wrong.
    Track sorted;
    const bool inOrder = std::is_sorted(track.Points.begin(), track.Points.end(), Earlier);
    if (!inOrder)
        sorted = MergeTracks({track});
    const Track& timed = inOrder ? track : sorted;

    std::vector<std::optional<LatLon>> places(drops.size());
    for (size_t i = 0; i < drops.size(); ++i) {
        const LotDrop& drop = drops[i];
        if (drop.File >= 0 && size_t(drop.File) < field.size() && !field[drop.File].isEmpty()) {
            const auto found = field[drop.File].constFind(KeyOf(drop.No, drop.When));
            if (found != field[drop.File].cend()) {
                places[i] = *found;
                continue;
            }
        }
        if (const std::optional<qint64> utc = UtcMsOf(drop.When, offset))
            places[i] = TrackPlaceAt(timed, *utc);
    }
    return places;
}

std::vector<std::optional<LatLon>> PlaceDrops(const std::vector<LotDrop>& drops,
                                              const std::vector<QString>& dayFiles,
                                              const Track& track, UtcOffset offset)
{
    return PlaceDrops(drops, ReadPositionsFiles(dayFiles), track, offset);
}
