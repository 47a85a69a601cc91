#include "geo/DropPlaces.h"
#include "geo/PositionsFile.h"
#include "geo/TrackTimes.h"
#include "shell/Formatting.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <ctime>
#include <gtest/gtest.h>

namespace
{

// 2026-12-08 04:05:00 UTC: 13:05:00 in Japan, where the lot was measured.
const qint64 T0 = QDateTime(QDate(2026, 12, 8), QTime(4, 5), Qt::UTC).toMSecsSinceEpoch();
const QDateTime JapanT0(QDate(2026, 12, 8), QTime(13, 5));

// Fixes at 0, 10 and 100 s after T0, and 40 s later across 180° east.
const Track Fixes{{{T0, {35.0, 139.0}},
                   {T0 + 10'000, {35.001, 139.002}},
                   {T0 + 100'000, {35.002, 139.002}},
                   {T0 + 140'000, {35.002, 179.999}},
                   {T0 + 150'000, {35.002, -179.999}}}};

LotDrop DropAt(const QDateTime& when, const QString& no = QStringLiteral("1"), int file = 0)
{
    LotDrop d;
    d.File = file;
    d.No = no;
    d.When = when;
    return d;
}

void ExpectPlace(const std::optional<LatLon>& got, const std::optional<LatLon>& want)
{
    ASSERT_EQ(got.has_value(), want.has_value());
    if (want) {
        EXPECT_NEAR(got->Latitude, want->Latitude, 1e-9);
        EXPECT_NEAR(got->Longitude, want->Longitude, 1e-9);
    }
}

TEST(DropPlaces, FromTheTrackByTime)
{
    qputenv("TZ", "JST-9"); // the computer's own zone, for a lot with no offset
    const std::optional<LatLon> none;
    const struct {
        const char* Case;
        int Ms; // the drop's wall time after 13:05:00
        UtcOffset Offset;
        std::optional<LatLon> Place;
    } rows[] = {
        {"on a fix", 10'000, 540, LatLon{35.001, 139.002}},
        {"between two fixes", 5'000, 540, LatLon{35.0005, 139.001}},
        {"30 s before the first", -30'000, 540, LatLon{35.0, 139.0}},
        {"31 s before the first", -31'000, 540, none},
        {"30 s from the nearest of two", 40'000, 540, LatLon{35.0013333333, 139.002}},
        {"31 s from the nearest of two", 41'000, 540, none},
        {"across 180 degrees", 145'000, 540, LatLon{35.002, 180.0}},
        {"30 s after the last", 180'000, 540, LatLon{35.002, -179.999}},
        {"31 s after the last", 181'000, 540, none},
        {"the computer's zone", 5'000, std::nullopt, LatLon{35.0005, 139.001}},
        {"an offset of +00:00 is no zone", 5'000, 0, none},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Case);
        const auto places = PlaceDrops({DropAt(JapanT0.addMSecs(row.Ms))},
                                       std::vector<PositionsFile>{}, Fixes, row.Offset);
        ExpectPlace(places.at(0), row.Place);
    }
}

TEST(DropPlaces, TheFieldsPositionsFileBeforeTheTrack)
{
    QTemporaryDir dir;
    const QString day = dir.filePath("20261208.csv"), stick = dir.filePath("20261209.csv");
    QFile pos(dir.filePath("20261208.pos"));
    ASSERT_TRUE(pos.open(QIODevice::WriteOnly));
    pos.write(PositionsHeading().toUtf8() +
              "\r\n"
              "1,2026/12/08 13:05:00,36.0,140.0,40.2,3D,4.5,0.8\r\n"
              "2,12/08/2026 13:05:05,36.5,140.5,,2D,,1.0\r\n"
              "3,2026/12/08 13:05,36.0,140.0,40.2,3D,4.5,0.8\r\n"
              "4,2026/12/08 13:05:10,36.0,140.0\n" +
              QByteArray("5\0\0,2026/12/08 13:05:10,36.0,140.0,,2D,,1.0\n", 44) +
              "6,2026/12/08 13:05:09,36.0,140.0,,2D,,1.0");
    pos.close();
    ASSERT_TRUE(QDir(dir.path()).mkdir("20261209.pos"));

    // Drop 3 at 13:05:00 (its line names 13:05 without seconds), 6 a second off its line.
    const std::vector<LotDrop> drops{DropAt(JapanT0), DropAt(JapanT0.addSecs(5), "2"),
                                     DropAt(JapanT0, "3"), DropAt(JapanT0.addSecs(10), "6"),
                                     DropAt(JapanT0.addSecs(10), "1", 1)};
    const auto places = PlaceDrops(drops, {day, stick}, Fixes, 540);
    ExpectPlace(places.at(0), LatLon{36.0, 140.0});
    ExpectPlace(places.at(1), LatLon{36.5, 140.5});
    ExpectPlace(places.at(2), LatLon{36.0, 140.0});
    ExpectPlace(places.at(3), LatLon{35.001, 139.002});
    ExpectPlace(places.at(4), LatLon{35.001, 139.002});

    QFile large(dir.filePath("x.pos")); // 16.2 MB, named as more than the 16 MB a file may be
    ASSERT_TRUE(large.open(QIODevice::WriteOnly) && large.resize(17'000'000));
    const std::vector<PositionsFile> read =
        ReadPositionsFiles({day, stick, dir.filePath("y.csv"), dir.filePath("x.csv")});
    EXPECT_EQ(PositionsFileNote(read.at(0)).En.toStdString(),
              "positions file 20261208.pos: lines 5, 6 damaged");
    EXPECT_EQ(PositionsFileNote(read.at(1)).En.toStdString(),
              "positions file 20261209.pos is a folder, not a file.");
    EXPECT_TRUE(PositionsFileNote(read.at(2)).En.isEmpty());
    EXPECT_EQ(PositionsFileNote(read.at(3)).En.toStdString(),
              "positions file x.pos is 16.2 MB, larger than the 16 MB a positions file can be; it "
              "was not read.");
    EXPECT_FALSE(PositionsFileNote(read.at(0)).Ja.isEmpty());
}

// Berlin's clocks jump from 02:00 to 03:00 on 2024-03-31: a drop written at 02:30 has no
// moment in that zone, only by a stated offset.
TEST(DropPlaces, AWallTimeTheZoneSkips)
{
    const QByteArray old = qgetenv("TZ");
    qputenv("TZ", "Europe/Berlin");
    tzset();
    const QDate day(2024, 3, 31);
    const qint64 midnightUtc = QDateTime(day, QTime(0, 0), Qt::UTC).toMSecsSinceEpoch();
    const struct {
        const char* Case;
        QTime Wall;
        UtcOffset Offset;
        std::optional<qint64> Utc;
    } rows[] = {
        {"before the jump", QTime(1, 59, 40), std::nullopt, midnightUtc + 3'580'000},
        {"skipped", QTime(2, 30), std::nullopt, std::nullopt},
        {"skipped, +01:00 stated", QTime(2, 30), 60, midnightUtc + 5'400'000},
        {"after the jump", QTime(3, 0, 10), std::nullopt, midnightUtc + 3'610'000},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Case);
        EXPECT_EQ(UtcMsOf(WallTime(day, row.Wall), row.Offset), row.Utc);
    }
    qputenv("TZ", old);
    tzset();
}

// Drops written 08:00:00 to 08:02:40 on 2024-05-06 and a three-minute track: when their times
// do not meet under the offset in force, the note says how far apart they are and which
// offset would make them meet.
TEST(DropPlaces, ATrackInAnotherClockSaysWhichOffsetMeetsIt)
{
    const qint64 dropsFirst = WallMs(QDate(2024, 5, 6), 8 * 3'600'000);
    const TimeSpan drops{dropsFirst, dropsFirst + 160'000};
    const struct {
        const char* Case;
        QDateTime TrackFirst; // UTC
        int Offset;
        const char* Note;
    } rows[] = {
        {"9 h before", QDateTime(QDate(2024, 5, 5), QTime(23, 0), Qt::UTC), 0,
         "the track is 9 h before the drops: set the UTC offset to +09:00?"},
        {"overlapping", QDateTime(QDate(2024, 5, 5), QTime(23, 0), Qt::UTC), 540, ""},
        {"a track from another day", QDateTime(QDate(2024, 5, 4), QTime(23, 0), Qt::UTC), 0,
         "the track is 33 h before the drops, and no UTC offset within ±14:00 makes their "
         "times meet"},
        {"a negative zone", QDateTime(QDate(2024, 5, 6), QTime(12, 0), Qt::UTC), 0,
         "the track is 4 h after the drops: set the UTC offset to -04:00?"},
        {"a half hour, under a wrong offset", QDateTime(QDate(2024, 5, 6), QTime(2, 30), Qt::UTC),
         540, "the track is 3 h 30 min after the drops: set the UTC offset to +05:30?"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Case);
        const qint64 first = row.TrackFirst.toMSecsSinceEpoch();
        const Bilingual note = TrackTimesNote(TimeSpan{first, first + 180'000}, drops, row.Offset);
        EXPECT_EQ(note.En.toStdString(), row.Note);
        EXPECT_EQ(note.Ja.isEmpty(), note.En.isEmpty());
    }
}

} // namespace
