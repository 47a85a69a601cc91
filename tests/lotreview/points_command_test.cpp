#include "LotFixtures.h"
#include "TempHome.h"

#include "record/PositionLine.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>
#include <unistd.h>

namespace
{

struct Outcome {
    int Status = -1;
    QStringList Errors;
    QByteArray Output;
};

// The review program as a script starts it, with no display.
Outcome Points(const QStringList& args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.insert("QT_QPA_PLATFORM", "xcb"); // a window would fail: none may be made
    p.setProcessEnvironment(env);
    p.start(qEnvironmentVariable("VX_BIN_DIR", VX_BIN_DIR) + "/vx2968-review", args);
    p.waitForFinished(30000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardError()).split('\n', Qt::SkipEmptyParts),
            p.readAllStandardOutput()};
}

QString Read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

TEST(PointsCommand, WritesPointsOfDayFilesInEachLanguage)
{
    TempHome home;
    const QString ja = home.Path() + "/20240506.csv", en = home.Path() + "/20240507.csv";
    WriteBytes(ja, FixtureDayBytes(3, QDate(2024, 5, 6), UiLanguage::Japanese, false));
    // A line cut short by a full stick, and a second point two minutes on.
    WriteBytes(en, FixtureDayBytes(2, QDate(2024, 5, 7), UiLanguage::English, false) +
                       "00003,05/07/2024 08:00:4\r\n"
                       "00004,05/07/2024 08:03:00,31000,1.100,-1,-1,,,,,,BO\r\n");
    const QString out = home.Path() + "/points.csv";
    const Outcome run = Points({"--points", out, "--seating", "1", "--require-k", "415", ja, en});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Errors.join("|").toStdString(),
              ("vx2968-review: " + en +
               " line 5 skipped: 2 fields instead of 12: the line was cut short|"
               "vx2968-review: point 3 has no verdict: all its 1 drop(s) are seating drops")
                  .toStdString());
    EXPECT_EQ(Read(out),
              "Point,First drop,Drops,Used,P0(N),D0(mm),K-NWR(MN/m3),E-NWR(MN/m2),Result\n"
              "1,2024-05-06T08:00:00,3,2,30055.5,1.015,419.0,110.5,pass\n"
              "2,2024-05-07T08:00:00,2,1,30037.0,1.010,421.0,111.0,pass\n"
              "3,2024-05-07T08:03:00,1,0,,,,,\n");
}

TEST(PointsCommand, RefusesBadArgumentsAndUnreadableFilesWritingNothing)
{
    TempHome home;
    const QString day = home.Path() + "/20240506.csv", out = home.Path() + "/points.csv";
    // With a damaged line, which must not be reported when another file is refused.
    WriteBytes(day, FixtureDayBytes(3, QDate(2024, 5, 6), UiLanguage::English, false) +
                        "00004,05/06/2024 08:0\r\n");
    QFile::link(day, home.Path() + "/latest.csv");
    const QString bad = home.Path() + "/bad.gpx";
    WriteBytes(bad, "<gpx version=\"1.1\">\n<trk></gpx>\n");
    const QString road = home.Path() + "/road.xml";
    WriteBytes(road, RoadXml());
    const struct {
        QStringList Args;
        QString Error;
    } rows[] = {
        {{"--points", out, day, home.Path() + "/gone.csv"},
         home.Path() + "/gone.csv does not exist."},
        {{"--points", out, day, home.Path() + "/./20240506.csv"},
         home.Path() + "/./20240506.csv is the same file as " + day + "; a day is counted once"},
        {{"--points", out, day, home.Path() + "/latest.csv"},
         home.Path() + "/latest.csv is the same file as " + day + "; a day is counted once"},
        {{"--points", out, "--gap", "1.5", day},
         "--gap: \"1.5\" is not a whole number of 0 or more"},
        {{"--points", out, "--gap", "2147483648", day},
         "--gap: \"2147483648\" is more than the largest allowed, 86400"},
        {{"--points", out, home.Path(), day}, home.Path() + " is a folder, not a file."},
        {{"--points", out, "--least-used", "0", day}, "--least-used is at least 1"},
        {{"--points", out, "--require-e", "-3", day},
         "--require-e: \"-3\" is not a number of 0 or more"},
        {{"--points", out, "--colour", "red", day}, "unknown option --colour"},
        {{"--points", out}, "no day file given"},
        {{day, "--points"}, "--points needs a value"},
        {{"--gap", "30", day}, "--points OUT.csv is missing"},
        {{"--points", out, "--track", bad, day},
         "track file " + bad +
             " is not well-formed XML at line 2 (Opening and ending tag mismatch.)."},
        {{"--points", out, "--track", home.Path() + "/none.gpx", day},
         "track file " + home.Path() + "/none.gpx does not exist."},
        {{"--points", out, "--crs", "EPSG:999999", day},
         "EPSG:999999 is not a known reference system"},
        {{"--points", out, "--crs", "Tokyo", day},
         "--crs: \"Tokyo\" names no reference system (e.g. EPSG:6677)"},
        {{"--points", out, "--alignment", bad, day},
         "alignment file " + bad + " is no LandXML: its top element is not <LandXML>."},
        {{"--points", out, "--alignment-name", "R1", day},
         "--alignment-name and --station-interval need --alignment"},
        {{"--points", out, "--alignment", road, "--station-interval", "0", day},
         "--station-interval: \"0\" is no interval above 0 and up to 1000 m"},
        {{"--points", out, "--alignment", road, "--alignment-name", "R2", day},
         "alignment file " + road + " holds no alignment named R2 (it holds Route 12)."},
        {{"--points", out, "--alignment", road, "--crs", "EPSG:6675", day},
         road + " is in EPSG:6677, the lot in EPSG:6675."},
        {{"--points", out, "--utc-offset", "9", day},
         "--utc-offset: the offset from UTC \"9\" cannot be read: write a sign, hours, a colon "
         "and minutes, as in \"+09:00\" or \"-03:30\"."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Error.toStdString());
        const Outcome run = Points(row.Args);
        EXPECT_EQ(run.Status, 2);
        EXPECT_EQ(run.Errors, QStringList{"vx2968-review: " + row.Error});
        EXPECT_FALSE(QFile::exists(out));
    }
}

// The output's name forgotten after a glob: the first day, or its positions, would become
// the output; a positions file beside a day is never made by an output either.
TEST(PointsCommand, NeverWritesOverADayFile)
{
    TempHome home;
    const QString a = home.Path() + "/20240506.csv", b = home.Path() + "/20240507.csv";
    const QByteArray day = FixtureDayBytes(3, QDate(2024, 5, 6), UiLanguage::English, false);
    WriteBytes(a, day);
    WriteBytes(b, FixtureDayBytes(3, QDate(2024, 5, 7), UiLanguage::English, false));
    WriteBytes(PositionsFilePath(a), "field positions");
    WriteBytes(PositionsFilePath(b), "field positions");
    QFile::link(a, home.Path() + "/latest");
    ASSERT_EQ(::link(QFile::encodeName(PositionsFilePath(b)).constData(),
                     QFile::encodeName(home.Path() + "/copy.csv").constData()),
              0);
    for (const QString& out : {a, home.Path() + "/latest", PositionsFilePath(a),
                               home.Path() + "/20240508.pos", home.Path() + "/copy.csv"}) {
        SCOPED_TRACE(out.toStdString());
        const Outcome run = Points({"--points", out, b});
        EXPECT_EQ(run.Status, 2);
        EXPECT_EQ(run.Errors.size(), 1);
        EXPECT_EQ(Read(a), QString::fromLatin1(day));
        EXPECT_EQ(Read(PositionsFilePath(a)), "field positions");
        EXPECT_EQ(Read(PositionsFilePath(b)), "field positions");
    }
    EXPECT_FALSE(QFile::exists(home.Path() + "/20240508.pos"));
}

// The points and the map are written both or neither: a refused or clashing map leaves the
// old points file as it was and nothing on standard output.
TEST(PointsCommand, WritesBothOutputsOrNeither)
{
    TempHome home;
    const QString day = home.Path() + "/20240506.csv", keep = home.Path() + "/keep.csv";
    WriteBytes(day, FixtureDayBytes(3, QDate(2024, 5, 6), UiLanguage::English, false));
    const QString alias = home.Path() + "/keep.geojson";
    QFile::link(keep, alias);
    const QString twice = "another output of the command goes there too.";
    const struct {
        QString Points, Map, Error;
    } rows[] = {
        {keep, home.Path() + "/20240507.csv",
         home.Path() + "/20240507.csv cannot be written: its name is that of a day's results "
                       "file (yyyymmdd.csv), which only the measurement program writes."},
        {"-", home.Path(), home.Path() + " cannot be written: it is a folder."},
        {keep, keep, keep + " cannot be written: " + twice},
        {keep, alias, alias + " cannot be written: " + twice},
        {"-", "-", "- cannot be written: " + twice},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Error.toStdString());
        WriteBytes(keep, "old");
        const Outcome run = Points({"--points", row.Points, "--geojson", row.Map, day});
        EXPECT_EQ(run.Status, 2);
        EXPECT_EQ(run.Errors, QStringList{"vx2968-review: " + row.Error});
        EXPECT_EQ(Read(keep), "old");
        EXPECT_EQ(run.Output, "");
    }
}

// Values no program of ours wrote, and points the requirement cannot judge, are named
// rather than left out in silence; lone CRs end lines; "-" is standard output.
TEST(PointsCommand, NamesValuesAndPointsItCannotCount)
{
    TempHome home;
    const QString day = home.Path() + "/20240508.csv";
    QByteArray text = "Dia=300,Poi=0.350\rNo,Date Time,Load P0(N),Disp. D0(mm),K-NWR(MN/m3),"
                      "E-NWR(MN/m2),,,,,,E-CalcType\r";
    const char* const drops[] = {
        "00001,05/08/2024 08:00:00,30000,1.000,424,110,,,,,,BU", // point 1: used
        "00002,05/08/2024 08:00:20,30000,1.000,424abc,110,,,,,,BU",
        "00003,05/08/2024 08:00:30,30000,1.000,1e309,110,,,,,,BU",
        "00004,05/08/2024 08:00:40,30000,1.000,-5,110,,,,,,BU",
        "00005,05/08/2024 08:00:45,30000,1.000,\"424\",110,,,,,,BU",
        "00006,05/08/2024 08:00:50,30000,1.000,430,112,,,,,,BU",
        "00007,05/08/2024 08:00:55,30000,1.000,440,115,,,,,,BO",
        "00008,05/08/2024 09:00:00,30000,1.000,440,115,,,,,,BU", // point 2: seating only
    };
    for (const char* line : drops)
        text += QByteArray(line) + "\r";
    WriteBytes(day, text);
    const Outcome run = Points({"--points", "-", "--seating", "1", "--require-e", "100", day});
    EXPECT_EQ(run.Status, 0);
    const QString skipped = "vx2968-review: " + day +
                            " line %1 skipped: K-NWR \"%2\" is not a "
                            "number as the program writes it";
    const QString noVerdict = "vx2968-review: point %1 has no verdict: %2";
    EXPECT_EQ(run.Errors.join("|").toStdString(),
              QStringList({skipped.arg(4).arg("424abc"), skipped.arg(5).arg("1e309"),
                           skipped.arg(6).arg("-5"), skipped.arg(7).arg("\"424\""),
                           noVerdict.arg(1).arg("Burmister and Boussinesq drops mixed: no E mean"),
                           noVerdict.arg(2).arg("all its 1 drop(s) are seating drops")})
                  .join("|")
                  .toStdString());
    EXPECT_EQ(run.Output,
              "Point,First drop,Drops,Used,P0(N),D0(mm),K-NWR(MN/m3),E-NWR(MN/m2),Result\n"
              "1,2024-05-08T08:00:00,3,2,30000.0,1.000,435.0,,\n"
              "2,2024-05-08T09:00:00,1,0,,,,,\n");
}

// A saved lot judged by a script: with its own rules and edits, its points with their
// location, one line of verdict; none while a day is missing, and never over the lot file.
TEST(PointsCommand, JudgesASavedLot)
{
    TempHome home;
    const QDir dir(home.Path());
    WriteDay(dir.filePath("20240506.csv"), DayLines());
    const QString lot = SaveLot(dir), out = dir.filePath("points.csv");
    Outcome run = Points({"--lot", lot, "--points", out});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Output.toStdString(),
              "verdict: pass (2 of 2 points with a value passed: lowest K-NWR 412.0 ≥ 400.0 (1 "
              "point(s) left out with a reason))\n");
    EXPECT_EQ(Read(out).toStdString(),
              "Point,First drop,Drops,Used,P0(N),D0(mm),K-NWR(MN/m3),E-NWR(MN/m2),Result,Location\n"
              "1,2024-05-06T08:00:00,4,3,30049.3,1.013,419.7,110.7,pass,No.12+5.0 L 2.0 m\n"
              "2,2024-05-06T08:01:20,4,4,30203.5,1.038,412.0,108.5,pass,\n"
              "3,2024-05-06T08:12:00,1,0,30296.0,1.010,,,,\n");

    // The same lot with a note among its days, its bytes as recorded.
    const QString note = dir.filePath("note.txt"), noted = dir.filePath("noted.json");
    LotDocument doc;
    Bilingual problem;
    ASSERT_TRUE(WriteBytes(note, "not a day\n") && ReadLotFile(lot, &doc, &problem));
    doc.Files.push_back(DescribeDayFile(note));
    ASSERT_TRUE(WriteLotFile(noted, doc, &problem));
    const struct {
        QStringList Args;
        int Status;
        QString Said; // on standard output, or the one line on standard error
    } rows[] = {
        {{"-h"}, 0, "  vx2968-review --lot LOTFILE [--points OUT.csv]"},
        {{"--lot", noted}, 0, note + " has no \"Dia=...,Poi=...\" in line 1; it is not a results"},
        {{"--lot", lot, "--points", lot},
         2,
         "lot.json cannot be written: it is one of the files read."},
        {{"--lot", lot, "--gap", "5"}, 2, "--gap cannot be given with --lot"},
        {{"--lot", dir.filePath("gone.json")}, 2, "gone.json cannot be read: it does not exist"},
        {{"--lot", lot}, 0, "verdict: none (" + home.Path() + "/20240506.csv is missing"},
    };
    QFile::remove(dir.filePath("20240506.csv"));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Said.toStdString());
        run = Points(row.Args);
        EXPECT_EQ(run.Status, row.Status);
        const QString said = row.Status == 0 ? QString::fromUtf8(run.Output) : run.Errors.join("|");
        EXPECT_TRUE(said.contains(row.Said)) << said.toStdString();
        EXPECT_EQ(run.Errors.size(), row.Status == 0 ? 0 : 1);
    }
}

} // namespace

// A drop's place comes from the positions file beside its day, else from the tracks by time:
// 08:00 at +09:00 is 23:00 UTC the day before. Northing and easting as PROJ's own cs2cs
// gives them: echo "35 139.8333333" | cs2cs -f "%.3f" EPSG:4326 EPSG:6677
TEST(PointsCommand, PlacesPointsFromPositionsFilesAndTracks)
{
    TempHome home;
    const QString a = home.Path() + "/20240506.csv", b = home.Path() + "/20240507.csv";
    WriteBytes(a, FixtureDayBytes(3, QDate(2024, 5, 6), UiLanguage::Japanese, false));
    WriteBytes(b, FixtureDayBytes(2, QDate(2024, 5, 7), UiLanguage::Japanese, false));
    WriteBytes(home.Path() + "/20240506.pos",
               (PositionsHeading() + "\n00001,2024/05/06 08:00:00,35.0000000,139.8333333,,2D,,0.5\n"
                                     "damaged\n"
                                     "00001,2024/05/06 08:00:00,36.0000000,139.8333333,,2D,,0.5\n"
                                     "00001,2024/05/06 09:00:00,36.0000000,139.8333333,,2D,,0.5\n")
                   .toUtf8());
    const QString track = home.Path() + "/track.gpx";
    WriteBytes(track,
               "<gpx version=\"1.1\"><trk><trkseg>"
               "<trkpt lat=\"35.0\" lon=\"139.8333333\"><time>2024-05-05T23:00:10Z</time></trkpt>"
               "<trkpt lat=\"35.0\" lon=\"139.8333333\"><time>2024-05-05T23:00:50Z</time></trkpt>"
               "<trkpt lat=\"99.0\" lon=\"139.8\"><time>2024-05-05T23:01:00Z</time></trkpt>"
               "</trkseg></trk></gpx>");
    const QString out = home.Path() + "/points.csv", map = home.Path() + "/points.geojson";
    const Outcome run = Points({"--points", out, "--track", track, "--utc-offset", "+09:00",
                                "--crs", "EPSG:6677", "--geojson", map, a, b});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Errors.join("|").toStdString(),
              "vx2968-review: track file " + track.toStdString() +
                  ": 1 track point out of range left out|"
                  "vx2968-review: positions file 20240506.pos: line 3 damaged; line 4 is a second "
                  "line of a drop, not used; line 5 names no drop of the day file");
    const QStringList lines = Read(out).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].endsWith(",Result,Latitude,Longitude,Northing(m),Easting(m)"));
    EXPECT_TRUE(lines[1].endsWith(",111.0,,35.0000000,139.8333333,-110938.674,-0.003"))
        << lines[1].toStdString();
    EXPECT_TRUE(lines[2].endsWith(",,,,,")) << lines[2].toStdString();
    const QJsonArray features =
        QJsonDocument::fromJson(Read(map).toUtf8()).object()["features"].toArray();
    ASSERT_EQ(features.size(), 2);
    EXPECT_EQ(features[0]["geometry"]["coordinates"], QJsonArray({139.8333333, 35.0}));
    EXPECT_EQ(features[1]["properties"]["point"], 2);
    EXPECT_TRUE(features[1]["geometry"].isNull());

    // Along the road's centreline, in its file's own system, in stakes of 100 m.
    const QString road = home.Path() + "/road.xml";
    WriteBytes(road, RoadXml());
    const Outcome named = Points(
        {"--points", out, "--alignment", road, "--station-interval", "100", "--geojson", map, a});
    EXPECT_EQ(named.Status, 0) << named.Errors.join("|").toStdString();
    EXPECT_TRUE(Read(out).contains(",Easting(m),Station(m),Offset(m)\n"));
    EXPECT_TRUE(Read(out).contains(",-110938.674,-0.003,61.326,-10.003\n"))
        << Read(out).toStdString();
    const QJsonObject station =
        QJsonDocument::fromJson(Read(map).toUtf8())["features"][0]["properties"].toObject();
    EXPECT_EQ(station["station"], "No.0+61.33");
    EXPECT_EQ(station["station_m"], 61.326);
    EXPECT_EQ(station["offset_m"], -10.003);

    // Read as UTC, the first day's drops and the track do not meet: the command says why.
    const Outcome utc = Points({"--points", out, "--track", track, "--utc-offset", "+00:00", a});
    EXPECT_TRUE(utc.Errors.contains(
        "vx2968-review: the track is 9 h before the drops: set the UTC offset to +09:00?"))
        << utc.Errors.join("|").toStdString();
}
