#include "LotFixtures.h"
#include "lotsession/LotSession.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <ctime>
#include <functional>
#include <gtest/gtest.h>

namespace
{

// A lot file as the first version wrote it: its edits name lines only.
void MakeFirstVersion(const QString& path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QJsonObject root = QJsonDocument::fromJson(f.readAll()).object();
    f.close();
    root["version"] = 1;
    for (const char* key : {"splits", "joins", "exclusions", "points"}) {
        QJsonArray refs = root[key].toArray();
        for (auto ref : refs) {
            QJsonObject o = ref.toObject();
            for (const char* part : {"no", "time", "p0", "d0", "k", "e"})
                o.remove(part);
            ref = o;
        }
        root[key] = refs;
    }
    ASSERT_TRUE(WriteBytes(path, QJsonDocument(root).toJson()));
}

TEST(LotSession, EditsFollowTheirDropAndNoVerdictStandsOverMissingOrMovedData)
{
    const QStringList day = DayLines();
    const struct {
        const char* Case;
        bool FirstVersion;
        QStringList Now;  // the day file as it is when the lot is opened; empty: removed
        const char* Why;  // of the lot opened
        int Excluded;     // the drop left out, as numbered in the file
        Verdict Accepted; // once the changed day is accepted and lost edits removed
    } rows[] = {
        {"unchanged", false, day, "2 of 2 points with a value passed", 3, Verdict::Pass},
        {"a line deleted before the excluded drop", false, QStringList(day).mid(0, 3) + day.mid(4),
         "20240506.csv has changed since the lot was saved (9 drops then, 8 now; gone: 00002)", 3,
         Verdict::Pass},
        {"the excluded drop deleted", false, QStringList(day).mid(0, 4) + day.mid(5),
         "The exclusion of drop No 00003 (05/06/2024 08:00:40) of 20240506.csv (its drop is no "
         "longer in the file",
         0, Verdict::Pass},
        {"the first version, its day unchanged", true, day, "2 of 2 points with a value passed", 3,
         Verdict::Pass},
        {"the first version, a line deleted", true, QStringList(day).mid(0, 3) + day.mid(4),
         "The exclusion of the drop on line 5 of 20240506.csv", 0, Verdict::None},
        {"the day file gone", false, {}, "20240506.csv is missing", 0, Verdict::None},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Case);
        QTemporaryDir dir;
        const QString dayPath = dir.filePath("20240506.csv");
        WriteDay(dayPath, day);
        const QString lotPath = SaveLot(QDir(dir.path()));
        if (row.FirstVersion)
            MakeFirstVersion(lotPath);
        if (row.Now.isEmpty())
            QFile::remove(dayPath);
        else
            WriteDay(dayPath, row.Now);

        LotSession lot(UiLanguage::English);
        Bilingual problem, notice;
        ASSERT_TRUE(lot.Open(lotPath, &problem, &notice)) << problem.En.toStdString();
        const LotSummary& s = lot.Summary();
        EXPECT_TRUE(s.Why.En.contains(row.Why)) << s.Why.En.toStdString();
        EXPECT_EQ(s.Result == Verdict::None, !QString(row.Why).contains("passed"));
        int excluded = 0;
        for (const LotPoint& p : lot.Points())
            for (const PointDrop& d : p.Drops)
                if (d.State == DropState::Excluded)
                    excluded = lot.Drops()[d.Index].No.toInt();
        EXPECT_EQ(excluded, row.Excluded) << "the plate-moved exclusion stays on its drop";
        if (row.Excluded) {
            EXPECT_EQ(lot.Points()[0].Location(), "No.12+5.0 L 2.0 m");
        }

        lot.AcceptChangedDays();
        if (!lot.LostEdits().empty() && row.Accepted != Verdict::None) {
            EXPECT_EQ(lot.Summary().Result, Verdict::None) << "a lost edit outlives the change";
            lot.RemoveLostEdits();
        }
        EXPECT_EQ(lot.Summary().Result, row.Accepted) << lot.Summary().Why.En.toStdString();
    }
}

// A day file changed while its lot is open withholds the verdict once read again, as it
// does when the lot is opened over it.
TEST(LotSession, ADayFileChangedWhileOpenWithholdsTheVerdictOnceReadAgain)
{
    QTemporaryDir dir;
    const QString dayPath = dir.filePath("20240506.csv");
    WriteDay(dayPath, DayLines());
    LotSession lot(UiLanguage::English);
    Bilingual problem, notice;
    ASSERT_TRUE(lot.Open(SaveLot(QDir(dir.path())), &problem, &notice));
    EXPECT_FALSE(lot.Reread()) << "nothing changed";
    ASSERT_EQ(lot.Summary().Result, Verdict::Pass);
    WriteDay(dayPath, DayLines().mid(0, 3) + DayLines().mid(4));
    EXPECT_TRUE(lot.Reread());
    ASSERT_EQ(lot.Problems().size(), 1u);
    EXPECT_TRUE(lot.Problems()[0].En.contains("20240506.csv has changed"));
    EXPECT_EQ(lot.Summary().Result, Verdict::None);
}

// A record without its site, layer or tester is a draft that says which is blank.
TEST(LotSession, ABlankSiteLayerOrTesterMakesADraft)
{
    QTemporaryDir dir;
    WriteDay(dir.filePath("20240506.csv"), DayLines());
    LotSession lot(UiLanguage::English);
    Bilingual problem, notice;
    ASSERT_TRUE(lot.Open(SaveLot(QDir(dir.path())), &problem, &notice));
    const struct {
        const char* Case;
        LotHeader Header;
        const char* Reason;
    } rows[] = {
        {"all three given", {"Ring road", "", "Subbase", "A. Tester"}, ""},
        {"no site", {" ", "Lot 4", "Subbase", "A. Tester"}, "site not filled in"},
        {"no layer", {"Ring road", "Lot 4", "", "A. Tester"}, "layer not filled in"},
        {"no tester", {"Ring road", "Lot 4", "Subbase", ""}, "tester not filled in"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Case);
        lot.SetHeader(row.Header);
        EXPECT_EQ(lot.DraftReason().En, row.Reason);
    }
}

// Drops around 02:00 on 2024-03-31, when Berlin's clocks jump to 03:00: two of them at a
// wall time that does not exist there.
QStringList SpringForwardDay()
{
    const LoggerSettings s = FixtureSettings(false);
    QStringList lines{FileHeaderLine1(s), FileHeaderLine2(s, UiLanguage::Japanese)};
    const QTime times[] = {{1, 59, 40}, {2, 0}, {2, 30}, {2, 59, 50}, {3, 0, 10}};
    for (int i = 0; i < 5; ++i) {
        ResultEntry e = FixtureResult(i, QDate(2024, 3, 31), UiLanguage::Japanese, s);
        e.DateTime = FormatDateTimeText(WallTime(QDate(2024, 3, 31), times[i]), 0);
        lines << ResultLine(e, s);
    }
    return lines;
}

void SetZone(const QByteArray& zone)
{
    if (zone.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", zone);
    tzset();
}

// The process's zone for one test, given back whichever way the test ends.
struct ZoneForTest {
    const QByteArray Old = qgetenv("TZ");
    ~ZoneForTest() { SetZone(Old); }
};

TEST(LotSession, TheOfficesZoneNeitherJudgesNorLosesALot)
{
    const ZoneForTest zone;
    QTemporaryDir dir;
    const QString day = dir.filePath("20240331.csv");
    WriteDay(day, SpringForwardDay());
    SetZone("UTC");
    LotSession utc(UiLanguage::English);
    utc.New({day});
    SetZone("Europe/Berlin");
    const struct {
        const char* Case;
        std::function<void(LotSession&)> Edit;
    } rows[] = {
        {"none", [](LotSession&) {}},
        {"split at 02:00:00", [](LotSession& l) { l.SplitAt(1); }},
        {"join with 02:59:50", [](LotSession& l) { l.JoinWithNext(1); }},
        {"exclude 02:30:00", [](LotSession& l) { l.Exclude(2, ExclusionReason::Other, "x"); }},
        {"place 02:30:00", [](LotSession& l) { l.SetLocation(1, "No.3"); }},
        {"leave out 02:30:00", [](LotSession& l) { l.ExcludePoint(1, "again"); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Case);
        LotSession lot(UiLanguage::English);
        lot.New({day});
        ASSERT_EQ(lot.Points().size(), 3U);
        if (QString(row.Case) == "none") {
            EXPECT_EQ(lot.Summary().Why.En, utc.Summary().Why.En);
            EXPECT_EQ(FormatDateTimeText(lot.Points().at(1).Values.FirstDrop, 1),
                      "03/31/2024 02:30:00");
        }
        row.Edit(lot);
        Bilingual problem, notice;
        ASSERT_TRUE(lot.Save(dir.filePath("lot.json"), &problem));
        LotSession again(UiLanguage::English);
        ASSERT_TRUE(again.Open(dir.filePath("lot.json"), &problem, &notice))
            << problem.En.toStdString();
        EXPECT_EQ(LotToJson(again.Document()), LotToJson(lot.Document()));
        EXPECT_TRUE(again.LostEdits().empty());
    }
}

// Every file the lot is made of is looked at whenever it is opened: a track or positions file
// changed or gone since, or a file that holds no day, keeps the lot from a verdict until the
// engineer has seen to it. A track may be larger than a day file.
TEST(LotSession, ChangedPlacesFilesAndFilesThatAreNoDayWithholdTheVerdict)
{
    QTemporaryDir dir;
    const QDir d(dir.path());
    WriteDay(d.filePath("20240506.csv"), DayLines());
    const QString lotPath = SaveLot(d), pos = d.filePath("20240506.pos");
    const QString track = d.filePath("track.gpx"), note = d.filePath("note.txt");
    const QString road = d.filePath("road.xml");
    ASSERT_TRUE(WriteBytes(pos, PositionsHeading().toUtf8() + "\n00001,2024/05/06 08:00:00,"
                                                              "35.0,139.8,,2D,,0.5\n"));
    ASSERT_TRUE(WriteBytes(track, "<gpx>" + QByteArray(20 << 20, ' ') +
                                      "<trk><trkseg><trkpt lat=\"35\" lon=\"139\"><time>"
                                      "2024-05-05T23:00:00Z</time></trkpt></trkseg></trk></gpx>"));
    LotSession lot(UiLanguage::English);
    Bilingual problem, notice;
    ASSERT_TRUE(lot.Open(lotPath, &problem, &notice));
    ASSERT_TRUE(WriteBytes(road, RoadXml()));
    ASSERT_TRUE(lot.AddTrack(track, &problem, &notice) && lot.SetEpsg(6677, &problem) &&
                lot.SetAlignment(road, {}, &problem) && lot.Save({}, &problem));
    const struct {
        QString File;
        QByteArray Now; // empty: removed
        const char* Why;
    } rows[] = {
        {pos, "00001,x", "20240506.pos has changed since the lot was saved: the drops were placed"},
        {track, "<gpx/>", "track.gpx has changed since the lot was saved"},
        {track, {}, "track.gpx is missing: the drops were placed without it."},
        {road, RoadXml(6677, -111000.0, 12.0),
         "road.xml has changed since the lot was saved: "
         "the stations"},
        {road, "<LandXML/>",
         "road.xml has changed since the lot was saved and gives no "
         "centreline now"},
        {road, {}, "road.xml is missing or cannot be read: the points have no station."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Why);
        ASSERT_TRUE(row.Now.isEmpty() ? QFile::remove(row.File) : WriteBytes(row.File, row.Now));
        ASSERT_TRUE(lot.Open(lotPath, &problem, &notice)) << problem.En.toStdString();
        EXPECT_TRUE(notice.En.contains(row.Why) && lot.Summary().Result == Verdict::None);
        EXPECT_TRUE(lot.Summary().Why.En.contains(row.Why)) << lot.Summary().Why.En.toStdString();
        EXPECT_TRUE(lot.HasChangedDays());
        lot.AcceptChangedDays();
        EXPECT_EQ(lot.Summary().Result, Verdict::Pass) << lot.Summary().Why.En.toStdString();
        ASSERT_TRUE(lot.Save({}, &problem));
    }
    EXPECT_FALSE(lot.Document().Places.Alignment) << "a centreline gone is named no more";
    EXPECT_TRUE(lot.Places().Stations().empty()) << "nor its stations";
    // A note whose bytes are the ones the lot recorded is still no day.
    ASSERT_TRUE(WriteBytes(note, "not a day\n"));
    LotDocument doc = lot.Document();
    doc.Files.push_back(DescribeDayFile(note));
    ASSERT_TRUE(WriteLotFile(lotPath, doc, &problem) && lot.Open(lotPath, &problem, &notice));
    EXPECT_TRUE(lot.Summary().Why.En.startsWith(
        note + " has no \"Dia=...,Poi=...\" in line 1; it is not a results file."))
        << lot.Summary().Why.En.toStdString();
    lot.RemoveMissingDays();
    EXPECT_EQ(lot.Summary().Result, Verdict::Pass);
}

// A missing day taken out takes its edits' notes with it; the other day's follow it, and the
// lot saved then opens again.
TEST(LotSession, ADayTakenOutLeavesTheOthersNotesOnTheirDay)
{
    QTemporaryDir dir;
    const QDir d(dir.path());
    const QString first = d.filePath("20240505.csv"), second = d.filePath("20240506.csv");
    WriteDay(first, DayLines());
    WriteDay(second, DayLines());
    LotSession lot(UiLanguage::English);
    lot.New({first, second});
    lot.SplitAt(0, "the first day's");
    lot.SplitAt(int(lot.Drops().size()) - 3, "a new plate");
    Bilingual problem, notice;
    const QString path = d.filePath("lot.json");
    ASSERT_TRUE(lot.Save(path, &problem));
    QFile::remove(first);
    ASSERT_TRUE(lot.Open(path, &problem, &notice));
    lot.RemoveMissingDays();
    ASSERT_TRUE(lot.Save(path, &problem));
    LotSession again(UiLanguage::English);
    ASSERT_TRUE(again.Open(path, &problem, &notice)) << problem.En.toStdString();
    ASSERT_EQ(again.Document().Notes.size(), 1u);
    EXPECT_EQ(again.Document().Notes[0].Drop.File, 0);
    EXPECT_EQ(again.Document().Notes[0].Reason, "a new plate");
}

TEST(LotSession, APositionsFileBesideADayGivesThePlacesColumnsWhateverItHolds)
{
    QTemporaryDir dir;
    const QDir d(dir.path());
    const QString day = d.filePath("20240506.csv");
    WriteDay(day, DayLines());
    const QString lotPath = SaveLot(d);
    for (const QByteArray& pos : {QByteArray(), PositionsHeading().toUtf8() + "\n"}) {
        SCOPED_TRACE(pos.isEmpty() ? "an empty file" : "its heading alone");
        ASSERT_TRUE(WriteBytes(d.filePath("20240506.pos"), pos));
        LotSession lot(UiLanguage::English);
        Bilingual problem, notice;
        ASSERT_TRUE(lot.Open(lotPath, &problem, &notice));
        EXPECT_TRUE(lot.Places().Columns().has_value()) << "the workbook, report and points file";
    }
}

// The fixture's first point lies at latitude 35°, longitude 139.8333333°: 61.326 m along
// RoadXml()'s centreline and 10.003 m left of it.
TEST(LotSession, PointsAreNamedAlongTheCentrelineOfTheLotsReferenceSystem)
{
    QTemporaryDir dir;
    const QDir d(dir.path());
    WriteDay(d.filePath("20240506.csv"), DayLines());
    const QString lotPath = SaveLot(d), road = d.filePath("road.xml");
    ASSERT_TRUE(WriteBytes(d.filePath("20240506.pos"),
                           PositionsHeading().toUtf8() +
                               "\n00001,2024/05/06 08:00:00,35.0000000,139.8333333,,2D,,0.5\n"));
    ASSERT_TRUE(WriteBytes(road, RoadXml(0)));
    LotSession lot(UiLanguage::English);
    Bilingual problem, notice;
    ASSERT_TRUE(lot.Open(lotPath, &problem, &notice));
    EXPECT_FALSE(lot.SetAlignment(road, {}, &problem))
        << "neither the lot nor the file has a system";
    EXPECT_EQ(problem.En,
              road + " names no reference system: give the site's to find the stations.");
    ASSERT_TRUE(WriteBytes(road, RoadXml()));
    ASSERT_TRUE(lot.SetAlignment(road, {}, &problem)) << problem.En.toStdString();
    EXPECT_EQ(lot.Document().Places.Epsg, 6677) << "taken from the file";
    lot.SetStations(StationForm::Stakes, 20.0, 9.0);
    EXPECT_TRUE(lot.Places().Stations()[0].Why.En.startsWith("lies more than 9 m from the centre"));
    lot.SetStations(StationForm::Stakes, 20.0, 50.0);
    ASSERT_TRUE(lot.Save({}, &problem));

    LotSession again(UiLanguage::English);
    ASSERT_TRUE(again.Open(lotPath, &problem, &notice)) << problem.En.toStdString();
    EXPECT_EQ(again.Document().Places, lot.Document().Places);
    const PointStation& first = again.Places().Stations().at(0);
    EXPECT_EQ(first.Text, "No.3+1.33");
    EXPECT_NEAR(first.Station, 61.326, 0.001);
    EXPECT_NEAR(first.Offset, -10.003, 0.001);
    EXPECT_FALSE(again.Places().Stations().at(1).HasStation) << "a point without a place";
    const std::optional<CoordinateColumns> columns = again.Places().Columns();
    ASSERT_TRUE(columns);
    EXPECT_EQ(CoordinateHeadings(*columns).mid(4), QStringList({"Station(m)", "Offset(m)"}));
    EXPECT_EQ(CoordinateCells(*columns, 0).mid(4), QStringList({"61.326", "-10.003"}));
    const SitePlanData plan = again.Places().Plan(again.Points(), {});
    ASSERT_EQ(plan.Stakes.size(), 11u) << "No.0 to No.10";
    EXPECT_EQ(plan.Stakes[3].Label, "No.3");
    EXPECT_NEAR(plan.Stakes[3].At.North, -110940.0, 1e-6);

    // A file in another system than the lot's names both; the lot keeps its centreline.
    ASSERT_TRUE(WriteBytes(d.filePath("other.xml"), RoadXml(6675)));
    EXPECT_FALSE(again.SetAlignment(d.filePath("other.xml"), {}, &problem));
    EXPECT_EQ(problem.En, d.filePath("other.xml") + " is in EPSG:6675, the lot in EPSG:6677.");
    EXPECT_FALSE(again.SetEpsg(6675, &problem)) << "nor the lot in another than its centreline's";
    EXPECT_EQ(problem.En, road + " is in EPSG:6677, the lot in EPSG:6675.");
    EXPECT_EQ(again.Document().Places, lot.Document().Places);
}

} // namespace
