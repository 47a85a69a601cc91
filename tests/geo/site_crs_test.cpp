#include "geo/SiteCrs.h"
#include "geo/SitePlan.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace
{

const LatLon Station{35.681236, 139.767125};
// 100 m north-east of it: echo "35.681236 139.767125 45 100" | geod +ellps=WGS84 -f %.9f
const LatLon NorthEast100{35.6818733, 139.767906123};

// The figures are PROJ's own command's, each in its system's axis order:
//   echo "35.681236 139.767125" | cs2cs -d 4 EPSG:4326 EPSG:6677   (northing first)
//   echo "35.681236 139.767125" | cs2cs -d 4 EPSG:4326 EPSG:32654  (easting first)
TEST(SiteCrs, NorthingAndEastingByMeaningWhateverTheAxisOrder)
{
    const struct {
        int Epsg;
        const char* Name;
        double Northing, Easting;
    } rows[] = {
        {6677, "EPSG:6677 JGD2011 / Japan Plane Rectangular CS IX", -35363.2377, -5992.9196},
        {32654, "EPSG:32654 WGS 84 / UTM zone 54N", 3949293.9781, 388435.6871},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Epsg);
        Bilingual problem;
        const std::unique_ptr<SiteCrs> crs = SiteCrs::Open(row.Epsg, &problem);
        ASSERT_TRUE(crs) << problem.En.toStdString();
        EXPECT_EQ(crs->Name().toStdString(), row.Name);
        const PointPlace placed{true, Station, 0.0, 1};
        const CoordinateColumns columns = CoordinateColumnsOf({placed, PointPlace{}}, crs.get());
        ASSERT_EQ(columns.Points.size(), 2u);
        EXPECT_TRUE(columns.Grid && columns.Points[0].HasGrid && !columns.Points[1].HasGrid);
        EXPECT_NEAR(columns.Points[0].Northing, row.Northing, 0.001);
        EXPECT_NEAR(columns.Points[0].Easting, row.Easting, 0.001);
    }
}

TEST(SiteCrs, CodesThatGiveNoMetresAreRefusedByName)
{
    const QTemporaryDir empty, fifo;
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo.filePath("proj.db")).constData(), 0600), 0);
    const struct {
        int Epsg;
        QString ProjData; // where PROJ looks for its database; empty: where it is installed
        QString En;
        const char* Ja;
    } rows[] = {
        {999999, {}, "EPSG:999999 is not a known reference system", "EPSG:999999 という"},
        {4326, {}, "EPSG:4326 (WGS 84) is not a projected system", "EPSG:4326 (WGS 84) は投影"},
        {2227,
         {},
         "EPSG:2227 (NAD83 / California zone 3 (ftUS)) does not give metres north and "
         "east",
         "EPSG:2227 (NAD83 / California zone 3 (ftUS)) の座標軸は"},
        {2053,
         {},
         "EPSG:2053 (Hartebeesthoek94 / Lo29) does not give metres north and east",
         "EPSG:2053 (Hartebeesthoek94 / Lo29) の座標軸は"},
        {6677, empty.path(), "EPSG:6677 cannot be used: PROJ's database (proj.db) is not found",
         "EPSG:6677 を使えません: PROJ のデータベース"},
        // Never opened: PROJ would wait on it for ever.
        {6677, fifo.path(),
         "EPSG:6677 cannot be used: PROJ's database " + fifo.filePath("proj.db") + " is a FIFO",
         "EPSG:6677 を使えません: PROJ のデータベース"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Epsg);
        if (!row.ProjData.isEmpty())
            qputenv("PROJ_DATA", row.ProjData.toLocal8Bit());
        Bilingual problem;
        EXPECT_FALSE(SiteCrs::Open(row.Epsg, &problem));
        qunsetenv("PROJ_DATA");
        EXPECT_TRUE(problem.En.startsWith(row.En)) << problem.En.toStdString();
        EXPECT_TRUE(problem.Ja.startsWith(QString::fromUtf8(row.Ja))) << problem.Ja.toStdString();
    }
}

// In EPSG:6677: echo "35.6818733 139.767906123" | cs2cs -d 4 EPSG:4326 EPSG:6677
// Numbered as the tables number them, judged as they are, drawn in the system or, without
// one, from the first placed point (here the second point, the first has no place).
TEST(SitePlan, PointsInTheSystemOrFromTheFirstPlacedPoint)
{
    const PointMark left{{}, "No.3", true, "tested again"};
    std::vector<LotPoint> points(3);
    points[1].Values.HasK = points[2].Values.HasK = true;
    points[1].Values.K = 120.0;
    points[2].Values.K = 90.0;
    points[2].Mark = &left;
    const std::vector<PointPlace> places{{}, {true, Station, 0.0, 3}, {true, NorthEast100, 6.0, 2}};
    Bilingual problem;
    const std::unique_ptr<SiteCrs> crs = SiteCrs::Open(6677, &problem);
    const struct {
        const char* Case;
        const SiteCrs* Crs;
        const char* System;
        double East1, North1, East2, North2;
    } rows[] = {
        {"local", nullptr, "m east and north of point 2", 0.0, 0.0, 70.711, 70.711},
        {"EPSG:6677", crs.get(), "EPSG:6677 JGD2011 / Japan Plane Rectangular CS IX", -5992.920,
         -35363.238, -5922.168, -35292.582},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Case);
        const SitePlanData plan = BuildSitePlanData(points, {100.0, {}}, places, row.Crs);
        EXPECT_EQ(plan.System.En.toStdString(), row.System);
        ASSERT_EQ(plan.Points.size(), 3u);
        EXPECT_FALSE(plan.Points[0].HasPlace);
        const PlanPoint& a = plan.Points[1];
        const PlanPoint& b = plan.Points[2];
        EXPECT_EQ(std::vector({a.Number, b.Number}), std::vector({2, 3}));
        EXPECT_EQ(std::vector({a.Result, b.Result}), std::vector({Verdict::Pass, Verdict::None}));
        EXPECT_EQ(b.Location, "No.3");
        EXPECT_TRUE(a.HasPlace && b.HasPlace && !a.Moved && b.Moved);
        EXPECT_NEAR(a.East, row.East1, 0.002);
        EXPECT_NEAR(a.North, row.North1, 0.002);
        EXPECT_NEAR(b.East, row.East2, 0.01);
        EXPECT_NEAR(b.North, row.North2, 0.01);
    }
}

} // namespace
