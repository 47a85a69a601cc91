#include "ReviewFixtures.h"
#include "lot/LotFile.h"
#include "lot/PointsCsv.h"
#include "lotsession/LotDrops.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

const QDateTime Morning(QDate(2024, 5, 6), QTime(8, 0));

// Drops at `seconds` after 08:00 in file 0, K = E = 100 + index unless given.
std::vector<LotDrop> Drops(const std::vector<int>& seconds, std::vector<double> ks = {})
{
    std::vector<LotDrop> out;
    for (size_t i = 0; i < seconds.size(); ++i) {
        const double k = i < ks.size() ? ks[i] : 100.0 + i;
        out.push_back({0, int(i) + 3, QString(), Morning.addSecs(seconds[i]), 30000, 1.0, k, k,
                       CalcType::Burmister});
    }
    return out;
}

std::vector<int> Sizes(const std::vector<LotPoint>& points)
{
    std::vector<int> s;
    s.reserve(points.size());
    for (const LotPoint& p : points)
        s.push_back(p.Values.Drops);
    return s;
}

TEST(LotPoints, FormedAtFilesGapsSplitsAndJoins)
{
    const std::vector<int> times{0, 20, 80, 141, 150, 160};
    const struct {
        const char* Case;
        LotEdits Edits;
        int SecondFileFrom; // drops from this index lie in file 1
        std::vector<int> Sizes;
    } rows[] = {
        {"60 s exactly joins, 61 s splits", {}, 99, {3, 3}},
        {"a new file starts a point", {}, 5, {3, 2, 1}},
        {"split at a drop", {{{0, 4}}, {}, {}}, 99, {1, 2, 3}},
        {"joined with the one before", {{}, {{0, 6}}, {}}, 99, {6}},
        {"never joined across files", {{}, {{1, 8}}, {}}, 5, {3, 2, 1}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Case);
        std::vector<LotDrop> drops = Drops(times);
        for (size_t i = row.SecondFileFrom; i < drops.size(); ++i)
            drops[i].File = 1;
        EXPECT_EQ(Sizes(FormPoints(drops, PointRules{}, row.Edits)), row.Sizes);
    }
}

TEST(LotPoints, MeansLeaveOutSeatingExcludedAndUndefinedValues)
{
    const DropChoice plate{{0, 5}, false, ExclusionReason::PlateMoved, {}};
    const DropChoice back{{0, 3}, true, ExclusionReason::Other, {}};
    const DropChoice last{{0, 6}, false, ExclusionReason::WeightNotCaught, {}};
    const struct {
        const char* Case;
        std::vector<double> Ks;
        int Seating;
        std::vector<DropChoice> Choices;
        int Used;
        std::optional<double> K;
        int LeastUsed = 1;
        const char* Note = "";
    } rows[] = {
        {"all used", {100, 110, 120, 130}, 0, {}, 4, 115},
        {"two seating drops", {100, 110, 120, 130}, 2, {}, 2, 125},
        {"undefined K left out", {100, -1, 120, 130}, 0, {}, 3, 350.0 / 3},
        {"excluded by hand", {100, 110, 120, 130}, 0, {plate}, 3, 340.0 / 3},
        {"seating drop taken back", {100, 110, 120, 130}, 2, {back}, 3, 350.0 / 3},
        {"no used drop", {-1, 110, 120, 130}, 3, {last}, 0, std::nullopt, 1, "no drop used"},
        {"as many used as the rules ask", {100, 110, 120, 130}, 2, {}, 2, 125, 2},
        {"fewer used than the rules ask",
         {100, 110, 120, 130},
         2,
         {},
         2,
         std::nullopt,
         3,
         "only 2 used drop(s), where the rules ask for 3"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Case);
        const auto points = FormPoints(Drops({0, 10, 20, 30}, row.Ks),
                                       {60, row.Seating, row.LeastUsed}, {{}, {}, row.Choices});
        ASSERT_EQ(points.size(), 1u);
        const PointValues& v = points[0].Values;
        EXPECT_EQ(v.Used, row.Used);
        EXPECT_EQ(v.HasK ? std::optional(v.K) : std::nullopt, row.K);
        EXPECT_EQ(JudgePoint(v, {100.0, {}}).Result, row.K ? Verdict::Pass : Verdict::None);
        EXPECT_EQ(PointNoteOf(points[0]).En, row.Note);
    }
}

TEST(LotPoints, MixedCalcTypesGiveNoEMeanButKStays)
{
    std::vector<LotDrop> drops = Drops({0, 10, 20});
    drops[1].Calc = CalcType::Boussinesq;
    const PointValues v = FormPoints(drops, {}, {})[0].Values;
    EXPECT_TRUE(v.MixedCalcTypes && !v.HasE && v.HasK);
    EXPECT_EQ(JudgePoint(v, {100.0, 50.0}).Result, Verdict::None) << "E cannot be judged";
    const PointVerdict k = JudgePoint(v, {102.0, {}});
    EXPECT_EQ(k.Result, Verdict::Fail);
    EXPECT_DOUBLE_EQ(*k.DiffK, -1.0);
}

TEST(LotSummary, VerdictsByRule)
{
    const struct {
        const char* Case;
        std::vector<double> PointKs;
        LotRule Rule;
        Verdict Result;
        int Passed;
        std::optional<double> Characteristic;
        const char* Grounds = ""; // how the verdict's reason ends
    } rows[] = {
        {"every point holds",
         {110, 120, 130},
         LotRule::EveryPoint,
         Verdict::Pass,
         3,
         107.2,
         ": lowest K-NWR 110.0 ≥ 100.0"},
        {"one point fails",
         {90, 120, 130},
         LotRule::EveryPoint,
         Verdict::Fail,
         2,
         std::nullopt,
         ": lowest K-NWR 90.0 < 100.0"},
        {"just under, said so",
         {99.96, 120},
         LotRule::EveryPoint,
         Verdict::Fail,
         1,
         std::nullopt,
         ": lowest K-NWR 99.96 < 100.00"},
        {"quantile fails",
         {95, 120, 130},
         LotRule::Characteristic,
         Verdict::Fail,
         2,
         91.92,
         ": characteristic K-NWR 91.9 < 100.0"},
        {"one under, quantile holds",
         {98, 120, 125, 130, 127},
         LotRule::Characteristic,
         Verdict::Pass,
         4,
         103.58},
        {"all equal: SD 0", {120, 120, 120}, LotRule::Characteristic, Verdict::Pass, 3, 120},
        // "At least" the requirement: a value equal to it passes.
        {"a point exactly at it", {100, 120}, LotRule::EveryPoint, Verdict::Pass, 2, std::nullopt},
        {"characteristic exactly at it",
         {100, 100},
         LotRule::Characteristic,
         Verdict::Pass,
         2,
         100},
        {"one point only", {120}, LotRule::Characteristic, Verdict::None, 1, std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Case);
        std::vector<int> times;
        for (size_t i = 0; i < row.PointKs.size(); ++i)
            times.push_back(int(i) * 600);
        const auto points = FormPoints(Drops(times, row.PointKs), {}, {});
        const LotSummary s = SummariseLot(points, {{100.0, {}}, 1.28, row.Rule});
        EXPECT_EQ(s.Result, row.Result) << s.Why.En.toStdString();
        EXPECT_EQ(s.Passed, row.Passed);
        EXPECT_TRUE(s.Why.En.endsWith(QString::fromUtf8(row.Grounds))) << s.Why.En.toStdString();
        if (row.Characteristic) {
            EXPECT_NEAR(*s.K.Characteristic, *row.Characteristic, 0.01);
        }
    }
}

// An edit finds its drop by name wherever its line went; of a drop written twice, the copy
// nearest where it was, the first of two as near; an edit of the first version, by its line in
// a day unchanged since.
TEST(LotPoints, EditsFindTheirDropsAsTheDayIsNow)
{
    std::vector<LotDrop> drops = Drops({0, 20, 40, 20, 60, 20}); // lines 3 to 8
    for (const int copy : {3, 5})
        drops[copy] = drops[1], drops[copy].Line = copy + 3; // No 2 on lines 4, 6 and 8
    for (size_t i = 0; i < drops.size(); ++i)
        drops[i].No = QString::number(i + 1);
    drops[3].No = drops[5].No = "2";
    drops.push_back(drops[0]);
    drops.back().File = 1; // file 1, line 3: No 1 again
    const auto at = [&](size_t drop, int line, int file = -1) {
        DropRef ref = RefOf(drops[drop]);
        ref.Line = line;
        ref.File = file < 0 ? ref.File : file;
        return ref;
    };
    DropRef changed = at(2, 5), firstVersion{0, 5}, firstVersionChanged{1, 3};
    changed.K = 999.0;
    const struct {
        const char* Case;
        DropRef Ref;
        int Line; // 0: lost
    } rows[] = {
        {"moved", at(2, 9), 5},
        {"written three times: the nearest", at(1, 9), 8},
        {"two as near: the first", at(1, 7), 6},
        {"in its own file only", at(0, 3, 1), 3},
        {"a file without it", at(0, 3, 2), 0},
        {"its values changed", changed, 0},
        {"the first version, its day unchanged", firstVersion, 5},
        {"the first version, its day changed", firstVersionChanged, 0},
    };
    LotEdits edits;
    for (const auto& row : rows)
        edits.Splits.push_back(row.Ref);
    PlaceEdits(drops, {true, false}, &edits);
    for (size_t r = 0; r < std::size(rows); ++r) {
        SCOPED_TRACE(rows[r].Case);
        const DropRef& placed = edits.Splits[r];
        EXPECT_EQ(placed.Lost, rows[r].Line == 0);
        if (rows[r].Line != 0) {
            EXPECT_EQ(placed.Line, rows[r].Line);
            EXPECT_TRUE(placed.Identified());
        }
    }
}

// The same drops written in each language read into the same points and CSV.
TEST(LotPoints, DayFilesOfBothLanguagesGiveTheSamePoints)
{
    QString csv[2];
    for (UiLanguage language : {UiLanguage::Japanese, UiLanguage::English}) {
        const DayFile day =
            ParseDayText("20240506.csv", FixtureDayBytes(9, Morning.date(), language, false),
                         UiLanguage::English);
        ASSERT_EQ(day.Rows.size(), 9u);
        std::vector<LotDrop> drops;
        AppendLotDrops(day, 0, &drops);
        LotEdits edits{{{0, 6}}, {}, {}};
        csv[language] = PointsCsv(FormPoints(drops, {}, edits), {400.0, {}});
    }
    EXPECT_EQ(csv[0], csv[1]);
    EXPECT_EQ(csv[1].section('\n', 1, 2).toStdString(),
              "1,2024-05-06T08:00:00,3,3,30037.0,1.010,420.7,111.0,pass\n"
              "2,2024-05-06T08:01:00,6,6,30203.5,1.032,414.3,109.2,pass");
}

// Places add their columns at the end only when given, so that scripts reading the file as
// it was never see a change.
TEST(PointsCsv, CoordinateColumnsOnlyWhenPlacesAreGiven)
{
    const PointCoordinates station{true, 35.681236, 139.767125, true, -35363.2377, -5992.9196};
    const CoordinateColumns latLon{{station, {}}, false}, grid{{station, {}}, true};
    const struct {
        const char* Case;
        const CoordinateColumns* Places;
        const char* Csv;
    } rows[] = {
        {"none", nullptr,
         "Point,First drop,Drops,Used,P0(N),D0(mm),K-NWR(MN/m3),E-NWR(MN/m2),Result\n"
         "1,2024-05-06T08:00:00,2,2,30000.0,1.000,100.5,100.5,pass\n"
         "2,2024-05-06T08:01:40,1,1,30000.0,1.000,102.0,102.0,pass\n"},
        {"latitude and longitude", &latLon,
         "Point,First drop,Drops,Used,P0(N),D0(mm),K-NWR(MN/m3),E-NWR(MN/m2),Result,Latitude,"
         "Longitude\n"
         "1,2024-05-06T08:00:00,2,2,30000.0,1.000,100.5,100.5,pass,35.6812360,139.7671250\n"
         "2,2024-05-06T08:01:40,1,1,30000.0,1.000,102.0,102.0,pass,,\n"},
        {"with a reference system", &grid,
         "Point,First drop,Drops,Used,P0(N),D0(mm),K-NWR(MN/m3),E-NWR(MN/m2),Result,Latitude,"
         "Longitude,Northing(m),Easting(m)\n"
         "1,2024-05-06T08:00:00,2,2,30000.0,1.000,100.5,100.5,pass,35.6812360,139.7671250,"
         "-35363.238,-5992.920\n"
         "2,2024-05-06T08:01:40,1,1,30000.0,1.000,102.0,102.0,pass,,,,\n"},
    };
    const std::vector<LotPoint> points = FormPoints(Drops({0, 10, 100}), {}, {});
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Case);
        EXPECT_EQ(PointsCsv(points, {100.0, {}}, CsvColumns::Points, row.Places).toStdString(),
                  row.Csv);
    }
}

TEST(LotFile, RoundTripsAndNoticesChangedDayFiles)
{
    QTemporaryDir dir;
    const QString day = dir.filePath("20240506.csv"), lotPath = dir.filePath("lot.json");
    ASSERT_TRUE(WriteBytes(day, FixtureDayBytes(3, Morning.date(), UiLanguage::Japanese, false)));
    // Every field away from its default, so that one the writer drops cannot come back equal.
    const auto drop = [](int line) {
        return DropRef{0,       line,        QString::number(line), Morning.addSecs(line * 20),
                       30000.5, 1.25 + line, 400.5 + line,          110.5 + line};
    };
    LotDocument lot;
    lot.Header = {"Site",       QString::fromUtf8("第2工区"),
                  "Base",       "Op",
                  "r",          "Gravel",
                  "Rain",       "12",
                  "JIS A 1215", "QL-0042",
                  "2024/04/01"};
    lot.Judgement = {{80.0, 40.0}, 1.5, LotRule::Characteristic};
    lot.Rules = {45, 3, 2};
    lot.Edits = {{drop(4)},
                 {drop(5)},
                 {{drop(3), true, ExclusionReason::PlateMoved, "mud"}},
                 {{drop(3), "No.12+5.0 L 2.0 m", true, "tested again"}}};
    lot.Files = {DescribeDayFile(day)};
    lot.Notes = {{"join", drop(5), "A. Engineer", QDateTime(Morning.date(), QTime(9, 5), Qt::UTC),
                  "one plate"}};
    EXPECT_FALSE(LotToJson(lot).contains("epsg")) << "a lot without places is written as before";
    ASSERT_TRUE(WriteBytes(dir.filePath("track.gpx"), "<gpx/>"));
    lot.Places = {{DescribeDayFile(dir.filePath("track.gpx"))}, -210, 6677};
    Bilingual problem;
    ASSERT_TRUE(WriteLotFile(lotPath, lot, &problem));
    LotDocument back;
    ASSERT_TRUE(ReadLotFile(lotPath, &back, &problem)) << problem.En.toStdString();
    EXPECT_TRUE(back == lot) << LotToJson(back).toStdString();
    EXPECT_TRUE(DayFileChanges(back).En.isEmpty());

    // Same size, other bytes: a value edited in a spreadsheet.
    ASSERT_TRUE(WriteBytes(
        day, FixtureDayBytes(3, Morning.date().addDays(1), UiLanguage::Japanese, false)));
    EXPECT_EQ(CheckDayFile(back.Files[0]), DayFileState::Changed);
    QFile::remove(day);
    EXPECT_TRUE(DayFileChanges(back).En.contains("20240506.csv is missing"));
    QDir().mkdir(day); // named for what it is, not as missing
    EXPECT_TRUE(DayFileChanges(back).En.contains("20240506.csv is a folder, not a file."));
}

// A changed day told drop by drop: each number's drops paired in their order.
TEST(LotFile, DropChangesSayWhichDropsWentCameOrChanged)
{
    const struct {
        QStringList Then, Now;
        const char* Said;
    } rows[] = {
        {{"1 a", "2 b", "3 c"}, {"1 a", "3 c"}, "3 drops then, 2 now; gone: 2"},
        {{"1 a", "2 b"}, {"1 a", "2 x", "4 d"}, "2 drops then, 3 now; added: 4; altered: 2"},
        {{"5 a", "5 b"}, {"5 a"}, "2 drops then, 1 now; gone: 5"},
        {{}, {"1 a"}, ""}, // a lot saved before drops were remembered
    };
    for (const auto& row : rows)
        EXPECT_EQ(DropChanges(row.Then, row.Now).En, row.Said);
}

TEST(LotFile, DamagedFileIsNamedAndNeverOverwritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("lot.json");
    const struct {
        QByteArray Bytes;
        const char* Reason;
    } rows[] = {
        {R"({"format": "VX-2968 lot", "version": 1, "files": [], "gap": 6)", "not readable JSON"},
        {R"({"format": "something else"})", "not a lot file"},
        {R"({"format": "VX-2968 lot", "version": 1, "files": [], "gap": 60, "seating": 0,
             "k": 1.28, "rule": "every point", "splits": [{"file": 2, "line": 5}]})",
         "\"splits\" is not valid"},
        // Values the window would show clamped while the lot is judged with them.
        {R"({"format": "VX-2968 lot", "version": 1, "files": [], "gap": 60, "seating": 0,
             "k": 1e308, "rule": "every point"})",
         "\"k\" is not valid"},
        {R"({"format": "VX-2968 lot", "version": 1, "files": [], "gap": 60, "seating": 0,
             "k": 1.28, "rule": "every point", "requirement": {"k": 1e308}})",
         "\"requirement k\" is not valid"},
        {R"({"format": "VX-2968 lot", "version": 1, "files": [], "gap": 1e10, "seating": 0,
             "k": 1.28, "rule": "every point"})",
         "\"gap\" is not valid"},
        {R"({"format": "VX-2968 lot", "version": 1, "gap": 60, "seating": 0, "k": 1.28,
             "rule": "every point", "files": [
             {"path": "/d/20240506.csv", "size": 1, "sha256": ")" +
             QByteArray(64, 'a') + R"("},
             {"path": "/d/./20240506.csv", "size": 1, "sha256": ")" +
             QByteArray(64, 'a') + R"("}]})",
         "names /d/./20240506.csv twice"},
        {R"({"format": "VX-2968 lot", "version": 1, "gap": 60, "seating": 0, "k": 1.28,
             "rule": "every point", "files": [{"path": "/d/20240506.csv", "size": 1e300,
             "sha256": ")" +
             QByteArray(64, 'a') + R"("}]})",
         "\"files\" is not valid"},
        {R"({"format": "VX-2968 lot", "version": 2, "gap": 60, "seating": 0, "k": 1.28,
             "rule": "every point", "files": [{"path": "/d/20240506.csv", "size": 1,
             "sha256": ")" +
             QByteArray(64, 'a') + R"("}], "splits": [{"file": 0, "line": 3,
             "no": "1", "time": "2024-05-06T08:00:40.5", "p0": 1, "d0": 1, "k": 1, "e": 1}]})",
         "\"splits\" is not valid"},
        {R"({"format": "VX-2968 lot", "version": 2, "files": [], "gap": 60, "seating": 0,
             "k": 1.28, "rule": "every point", "utc offset": 900})",
         "\"utc offset\" is not valid"},
        {R"({"format": "VX-2968 lot", "version": 2, "files": [], "gap": 60, "seating": 0,
             "k": 1.28, "rule": "every point", "utc offset": "+09:00"})",
         "\"utc offset\" is not valid"},
        {R"({"format": "VX-2968 lot", "version": 2, "files": [], "gap": 60, "seating": 0,
             "k": 1.28, "rule": "every point", "epsg": -6677})",
         "\"epsg\" is not valid"},
        {R"({"format": "VX-2968 lot", "version": 2, "files": [], "gap": 60, "seating": 0,
             "k": 1.28, "rule": "every point", "tracks": [{"path": "/d/t.gpx"}]})",
         "\"tracks\" is not valid"},
        {R"({"format": "VX-2968 lot", "version": 3, "files": [], "gap": 60, "seating": 0,
             "least used": 0, "k": 1.28, "rule": "every point"})",
         "\"least used\" is not valid"},
        // Only the versions the program writes: any other would be read as one of them.
        {R"({"format": "VX-2968 lot", "version": 3.5})", "\"version\" is not valid"},
        {R"({"format": "VX-2968 lot", "version": "99"})", "\"version\" is not valid"},
        {R"({"format": "VX-2968 lot"})", "\"version\" is not valid"},
        {R"({"format": "VX-2968 lot", "version": 1e10})", "saved by a newer version"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Reason);
        ASSERT_TRUE(WriteBytes(path, row.Bytes));
        LotDocument lot;
        Bilingual problem;
        EXPECT_FALSE(ReadLotFile(path, &lot, &problem));
        EXPECT_TRUE(problem.En.contains(row.Reason)) << problem.En.toStdString();
        EXPECT_FALSE(WriteLotFile(path, LotDocument{}, &problem));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), row.Bytes) << "left as it was";
    }
}

} // namespace
