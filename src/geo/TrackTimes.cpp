#include "TrackTimes.h"

#include "UtcOffsetText.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>

namespace
{

constexpr qint64 MsPerMinute = 60'000;
constexpr qint64 QuarterMs = 15 * MsPerMinute;
constexpr qint64 FarthestOffsetMs = 14 * 60 * MsPerMinute;

qint64 FloorQuarter(qint64 ms)
{
    return ms >= 0 ? ms / QuarterMs * QuarterMs : -((-ms + QuarterMs - 1) / QuarterMs) * QuarterMs;
}

qint64 CeilQuarter(qint64 ms)
{
    return -FloorQuarter(-ms);
}

qint64 NearestQuarter(qint64 ms)
{
    return FloorQuarter(ms + QuarterMs / 2);
}

// "9 h" or "5 h 30 min", to the nearest quarter hour.
Bilingual Hours(qint64 ms)
{
    const qint64 minutes = NearestQuarter(ms) / MsPerMinute;
    const QString h = QString::number(minutes / 60), m = QString::number(minutes % 60);
    if (minutes % 60 == 0)
        return Words("%1 時間", "%1 h").Arg(h);
    return Bilingual{QString::fromUtf8("%1 時間 %2 分").arg(h, m),
                     QStringLiteral("%1 h %2 min").arg(h, m)};
}

} // namespace

std::optional<TimeSpan> TrackSpan(const Track& track)
{
    if (track.Points.empty())
        return std::nullopt;
    const auto [first, last] = std::minmax_element(
        track.Points.begin(), track.Points.end(),
        [](const TrackPoint& a, const TrackPoint& b) { return a.UtcMs < b.UtcMs; });
    return TimeSpan{first->UtcMs, last->UtcMs};
}

std::optional<TimeSpan> DropWallSpan(const std::vector<LotDrop>& drops)
{
    std::optional<TimeSpan> span;
    for (const LotDrop& d : drops) {
        if (!d.When.isValid())
            continue;
        const qint64 wall = WallMs(d.When.date(), d.When.time().msecsSinceStartOfDay());
        Widen(&span, TimeSpan{wall, wall});
    }
    return span;
}

void Widen(std::optional<TimeSpan>* span, const std::optional<TimeSpan>& other)
{
    if (!other)
        return;
    if (!*span) {
        *span = other;
        return;
    }
    (*span)->First = std::min((*span)->First, other->First);
    (*span)->Last = std::max((*span)->Last, other->Last);
}

int OffsetInForce(UtcOffset offset, qint64 atWallMs)
{
    if (offset)
        return *offset;
    const QDateTime wall = QDateTime::fromMSecsSinceEpoch(atWallMs, Qt::UTC);
    return QDateTime(wall.date(), wall.time(), Qt::LocalTime).offsetFromUtc() / 60;
}

Bilingual TrackTimesNote(const TimeSpan& track, const TimeSpan& dropsWall, int offsetMinutes)
{
    // Read `o` east of UTC, the drops lie from wall - o: they meet the track for o in [lo, hi].
    const qint64 lo = dropsWall.First - track.Last - FarthestTrackMs;
    const qint64 hi = dropsWall.Last - track.First + FarthestTrackMs;
    const qint64 now = qint64(offsetMinutes) * MsPerMinute;
    if (lo <= now && now <= hi)
        return {};
    // The offset nearest the one in force under which they meet, if any; without one, how
    // far apart their middles lie.
    const qint64 first = std::max(CeilQuarter(lo), -FarthestOffsetMs);
    const qint64 last = std::min(FloorQuarter(hi), FarthestOffsetMs);
    const qint64 suggested = now < first ? first : last;
    const qint64 middle = (dropsWall.First + dropsWall.Last) / 2 - (track.First + track.Last) / 2;
    const qint64 apart = (first <= last ? suggested : middle) - now; // > 0: the track is before
    const Bilingual where =
        apart > 0 ? Words("トラックは打撃より %1 前です", "the track is %1 before the drops")
                  : Words("トラックは打撃より %1 後です", "the track is %1 after the drops");
    const Bilingual gap = Hours(std::abs(apart));
    const Bilingual note{where.Ja.arg(gap.Ja), where.En.arg(gap.En)};
    if (first > last)
        return Bilingual{
            note.Ja + QString::fromUtf8("。±14:00 以内のどの UTC との差でも時刻が重なりません"),
            note.En + QStringLiteral(", and no UTC offset within ±14:00 makes their times meet")};
    const QString text = UtcOffsetText(int(suggested / MsPerMinute));
    return Bilingual{note.Ja + QString::fromUtf8("。UTC との差を %1 にしますか?").arg(text),
                     note.En + QStringLiteral(": set the UTC offset to %1?").arg(text)};
}
