// Placing drops by time, on the machine it runs on. A track of 100,000 fixes a second apart
// (more than a day of one receiver) is written as GPX into a temporary folder and read back,
// then matched to a lot of 20,000 drops a few seconds apart, once with the lot's offset from
// UTC and once in the computer's own zone, the best of five runs each. Every drop must be
// placed, on the straight line between the fixes around it. VX_BENCH_SHORT=1: 10,000 fixes
// and 2,000 drops, the aims printed but not judged (for CI). A day of fixes a second reads in
// under two seconds; the matching itself, in a fraction of the time the window takes to redraw.
#include "BenchRun.h"
#include "geo/DropPlaces.h"
#include "geo/GpxTrack.h"
#include "geo/PositionsFile.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>

namespace
{

const QDateTime Start(QDate(2026, 12, 8), QTime(7, 0), Qt::UTC);
constexpr int Japan = 9 * 60;

// A fix every second, walking north-east by about a metre a second.
QByteArray TrackGpx(int fixes)
{
    QByteArray gpx = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\" "
                     "xmlns=\"http://www.topografix.com/GPX/1/1\"><trk><trkseg>\n";
    for (int i = 0; i < fixes; ++i)
        gpx +=
            QStringLiteral("<trkpt lat=\"%1\" lon=\"%2\"><ele>40.0</ele><time>%3</time></trkpt>\n")
                .arg(35.0 + i * 1e-5, 0, 'f', 7)
                .arg(139.0 + i * 1e-5, 0, 'f', 7)
                .arg(Start.addSecs(i).toString(Qt::ISODate))
                .toUtf8();
    return gpx + "</trkseg></trk></gpx>\n";
}

// Drops 4.5 s apart over the track, as the field's clock wrote them in Japan.
std::vector<LotDrop> Drops(int count)
{
    std::vector<LotDrop> drops(count);
    const QDateTime wall = Start.toOffsetFromUtc(Japan * 60);
    for (int i = 0; i < count; ++i) {
        drops[i].No = QString::number(i + 1);
        drops[i].When = QDateTime(wall.date(), wall.time()).addMSecs(i * 4500LL);
    }
    return drops;
}

// Every drop placed where a walk of 1e-5 degrees a second puts it.
bool PlacedOnTheWalk(const std::vector<std::optional<LatLon>>& places)
{
    for (size_t i = 0; i < places.size(); ++i) {
        const double expected = 35.0 + i * 4.5e-5;
        if (!places[i] || std::abs(places[i]->Latitude - expected) > 1e-9)
            return false;
    }
    return true;
}

} // namespace

int main()
{
    PrintLineByLine();
    const bool brief = ShortRun();
    const int fixes = brief ? 10'000 : 100'000;
    const int dropCount = brief ? 2'000 : 20'000;

    QTemporaryDir dir;
    const QString path = dir.filePath("receiver.gpx");
    const QByteArray gpx = TrackGpx(fixes);
    const bool written = WriteBenchFile(path, gpx);
    TrackFile file;
    const double readMs = BestMs(3, [&] { file = ReadTrackFile(path); });
    std::printf("read a GPX track of %d fixes (%.1f MB): %zu read\n", fixes,
                gpx.size() / (1024.0 * 1024.0), file.Read.Points.size());
    bool met = Aim(readMs, 2000, "  the time");

    const std::vector<LotDrop> drops = Drops(dropCount);
    const Track track = MergeTracks({file.Read});
    std::vector<std::optional<LatLon>> withOffset, withZone;
    const double offsetMs = BestMs(
        5, [&] { withOffset = PlaceDrops(drops, std::vector<PositionsFile>{}, track, Japan); });
    std::printf("place %d drops on the track by time, the lot's offset +09:00\n", dropCount);
    met = Aim(offsetMs, 50, "  the time") && met;
    qputenv("TZ", "JST-9");
    const double zoneMs = BestMs(5, [&] {
        withZone = PlaceDrops(drops, std::vector<PositionsFile>{}, track, std::nullopt);
    });
    std::printf("place %d drops on the track by time, the computer's zone\n", dropCount);
    met = Aim(zoneMs, 50, "  the time") && met;

    const bool done = written && !file.Refused() && int(file.Read.Points.size()) == fixes &&
                      PlacedOnTheWalk(withOffset) && PlacedOnTheWalk(withZone);
    return BenchVerdict("geo", "every fix read, every drop placed where the track puts it", done,
                        met);
}
