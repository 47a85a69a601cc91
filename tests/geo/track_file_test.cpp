#include "geo/GpxTrack.h"
#include "geo/UtcOffsetText.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

// 2026-12-08 04:05:09 UTC, the moment the tracks' times are counted from.
const qint64 T0 = QDateTime(QDate(2026, 12, 8), QTime(4, 5, 9), Qt::UTC).toMSecsSinceEpoch();

QByteArray Gpx(const char* version, const QByteArray& body)
{
    return QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"") + version +
           "\" creator=\"receiver\" xmlns=\"http://www.topografix.com/GPX/" +
           (version[2] == '0' ? "1/0" : "1/1") + "\">\n" + body + "</gpx>\n";
}

QByteArray Point(const char* lat, const char* lon, const char* time, const char* tag = "trkpt")
{
    const QByteArray when = time ? QByteArray("<time>") + time + "</time>" : QByteArray();
    return QByteArray("<") + tag + " lat=\"" + lat + "\" lon=\"" + lon + "\"><ele>40</ele>" + when +
           "</" + tag + ">\n";
}

QByteArray Segment(const QByteArray& points)
{
    return "<trk><name>day</name><trkseg>\n" + points + "</trkseg></trk>\n";
}

TEST(TrackFile, ReadsTimedPointsAndSaysWhatItLeftOut)
{
    const struct {
        const char* Case;
        QByteArray Bytes;
        std::vector<qint64> Ms; // after T0, of the points kept
        int WithoutTime, OutOfRange;
        const char* Said; // the refusal, or what was left out
    } rows[] = {
        {"GPX 1.1: fractions, offsets, a route; no waypoint",
         Gpx("1.1", Point("35.1", "139.1", "2026-12-08T04:05:30Z", "wpt") +
                        Segment(Point("35.0", "139.0", "2026-12-08T04:05:09Z") +
                                Point("35.0", "139.0", "2026-12-08T13:05:10.25+09:00") +
                                Point("35.0", "139.0", "2026-12-08T01:35:11.1234-0230")) +
                        "<rte>" + Point("-35", "-139", "2026-12-08T04:05:12", "rtept") + "</rte>"),
         {0, 1250, 2123, 3000},
         0,
         0,
         ""},
        {"GPX 1.0", Gpx("1.0", Segment(Point("35", "139", "2026-12-08T04:05:09Z"))), {0}, 0, 0, ""},
        {"untimed and out of range points counted",
         Gpx("1.1",
             Segment(Point("35", "139", "2026-12-08T04:05:09Z") + Point("35", "139", nullptr) +
                     Point("35", "139", "yesterday") + Point("91", "139", "2026-12-08T04:05:10Z") +
                     Point("35", "east", "2026-12-08T04:05:11Z") +
                     Point("35", "-180.5", "2026-12-08T04:05:12Z"))),
         {0},
         2,
         3,
         "track file a.gpx: 2 track points without a time and 3 out of range left out"},
        {"no time at all",
         Gpx("1.1", Segment(Point("35", "139", nullptr))),
         {},
         1,
         0,
         "track file a.gpx holds no track point with a time."},
        {"not well-formed: the line named",
         Gpx("1.1", Segment(Point("35", "139", "2026-12-08T04:05:09Z") + "<trkpt lat=\"35\">\n")),
         {},
         0,
         0,
         "track file a.gpx is not well-formed XML at line 6"},
        {"not GPX",
         "<kml><trkpt lat=\"1\" lon=\"2\"><time>2026-12-08T04:05:09Z</time></trkpt></kml>",
         {},
         0,
         0,
         "track file a.gpx is no GPX file"},
        {"a document type, whose entities could expand without end",
         "<?xml version=\"1.0\"?>\n<!DOCTYPE gpx [<!ENTITY a \"aaaaaaaa\"><!ENTITY b "
         "\"&a;&a;&a;&a;&a;&a;&a;&a;\">]>\n<gpx>" +
             Segment(Point("35", "139", "2026-12-08T04:05:09Z&b;&b;&b;&b;")) + "</gpx>",
         {},
         0,
         0,
         "track file a.gpx is no GPX file: it declares a document type (<!DOCTYPE>), which GPX "
         "never does."},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath("a.gpx");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Case);
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(row.Bytes);
        out.close();
        const TrackFile read = ReadTrackFile(path);
        std::vector<qint64> ms;
        for (const TrackPoint& p : read.Read.Points)
            ms.push_back(p.UtcMs - T0);
        EXPECT_EQ(ms, row.Ms);
        EXPECT_EQ(read.WithoutTime, row.WithoutTime);
        EXPECT_EQ(read.OutOfRange, row.OutOfRange);
        const QString said = read.Refused() ? read.Problem.En : LeftOutNote(read).En;
        const QString named = QString::fromUtf8(row.Said).replace("a.gpx", path);
        EXPECT_TRUE(*row.Said ? said.startsWith(named) : said.isEmpty()) << said.toStdString();
        EXPECT_EQ(said.isEmpty(),
                  (read.Refused() ? read.Problem.Ja : LeftOutNote(read).Ja).isEmpty());
    }
    EXPECT_EQ(ReadTrackFile(dir.filePath("none.gpx")).Problem.En,
              "track file " + dir.filePath("none.gpx") + " does not exist.");
}

TEST(TrackFile, MergesReceiversAndDaysInTimeOrder)
{
    // Receiver A across midnight UTC, receiver B with a fix at the same moment as one of A's.
    const qint64 midnight = QDateTime(QDate(2026, 12, 9), QTime(0, 0), Qt::UTC).toMSecsSinceEpoch();
    const Track a{
        {{midnight - 2000, {1, 1}}, {midnight - 1000, {1, 2}}, {midnight + 1000, {1, 3}}}};
    const Track b{{{midnight - 1000, {2, 1}}, {midnight, {2, 2}}}};
    std::vector<LatLon> order;
    for (const TrackPoint& p : MergeTracks({a, b}).Points)
        order.push_back(p.Where);
    EXPECT_EQ(order, (std::vector<LatLon>{{1, 1}, {1, 2}, {2, 1}, {2, 2}, {1, 3}}));
}

TEST(UtcOffsetText, ReadsSignHoursColonMinutesWithinFourteenHours)
{
    const struct {
        const char* Text;
        bool Read;
        int Minutes;
    } rows[] = {
        {"+09:00", true, 540}, {"-03:30", true, -210}, {"+00:00", true, 0},
        {"+14:00", true, 840}, {"-14:00", true, -840}, {"+14:01", false, 0},
        {"09:00", false, 0},   {"+9:00", false, 0},    {"+0900", false, 0},
        {"+09:60", false, 0},  {"+09:00 ", false, 0},  {"", false, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Text);
        int minutes = 12345;
        Bilingual problem;
        EXPECT_EQ(ReadUtcOffset(QString::fromLatin1(row.Text), &minutes, &problem), row.Read);
        EXPECT_EQ(problem.En.isEmpty(), row.Read);
        if (row.Read) {
            EXPECT_EQ(UtcOffsetText(minutes), row.Text);
        }
    }
}

} // namespace
