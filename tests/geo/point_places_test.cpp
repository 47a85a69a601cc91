#include "geo/PointPlaces.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

// Places a known distance and bearing from Tokyo station, from PROJ's geodesic on WGS 84:
//   echo "35.681236 139.767125 0 6" | geod +ellps=WGS84 -f %.9f     (6 m north)
//   echo "35.681236 139.767125 90 4" | geod +ellps=WGS84 -f %.9f    (4 m east)
//   echo "35.681236 139.767125 45 100" | geod +ellps=WGS84 -f %.9f  (100 m north-east)
const LatLon Station{35.681236, 139.767125};
const LatLon North6{35.681290077, 139.767125};
const LatLon East4{35.681236, 139.767169187};
const LatLon NorthEast100{35.6818733, 139.767906123};

TEST(PointPlaces, MeanAndSpreadOfThePlacedDrops)
{
    using Places = std::vector<std::optional<LatLon>>;
    const struct {
        const char* Case;
        Places Drops; // of one point of three drops
        int Placed;
        LatLon Mean;
        double Spread;
        bool Moved;
    } rows[] = {
        {"a drop 4 m away: not moved",
         {Station, East4, Station},
         3,
         {35.681236, 139.767139729},
         4.0,
         false},
        {"a drop 6 m away: moved",
         {Station, North6, std::nullopt},
         2,
         {35.6812630385, 139.767125},
         6.0,
         true},
        {"100 m to the centimetre",
         {Station, std::nullopt, NorthEast100},
         2,
         {35.68155465, 139.7675155615},
         100.0,
         true},
        {"across the 180th meridian",
         {LatLon{0, 179.99999}, LatLon{0, -179.99999}},
         2,
         {0, 180},
         2.226,
         false},
        {"one placed drop", {std::nullopt, std::nullopt, East4}, 1, East4, 0.0, false},
        {"the lot's drops end before the point's", {Station}, 1, Station, 0.0, false},
        {"no drop placed", {std::nullopt, std::nullopt, std::nullopt}, 0, {}, 0.0, false},
    };
    const std::vector<LotPoint> points{LotPoint{{{0}, {1}, {2}}, {}, nullptr}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Case);
        const std::vector<PointPlace> places = PlacePoints(points, row.Drops);
        ASSERT_EQ(places.size(), 1u);
        const PointPlace& p = places[0];
        EXPECT_EQ(p.HasPlace, row.Placed > 0);
        EXPECT_EQ(p.PlacedDrops, row.Placed);
        EXPECT_NEAR(p.Where.Latitude, row.Mean.Latitude, 1e-9);
        EXPECT_NEAR(p.Where.Longitude, row.Mean.Longitude, 1e-9);
        EXPECT_NEAR(p.SpreadMetres, row.Spread, 0.01);
        EXPECT_EQ(p.Moved(), row.Moved);
    }
}

// The spread is found from the hull of the drops' places now, not from every pair of drops:
// it must still be the largest distance between any two, measured as before on the plane at
// the earlier drop of the two.
TEST(PointPlaces, SpreadIsTheLargestDistanceBetweenAnyTwoDrops)
{
    const auto metresNE = [](double north, double east) {
        return LatLon{Station.Latitude + north / 110940.0, Station.Longitude + east / 90370.0};
    };
    std::vector<LatLon> cloud;
    for (int i = 0; i < 400; ++i) // scattered over a few metres, the same order every run
        cloud.push_back(metresNE(std::fmod(i * 0.7548776662, 1.0) * 3.0,
                                 std::fmod(i * 0.5698402910, 1.0) * 4.0));
    const struct {
        const char* Case;
        std::vector<LatLon> Drops;
    } rows[] = {
        {"one drop", {Station}},
        {"one place, three drops", {Station, Station, Station}},
        {"in a line, out of order",
         {metresNE(1, 1), metresNE(3, 3), metresNE(0, 0), metresNE(2, 2), metresNE(3, 3)}},
        {"a square with its centre and a corner twice",
         {metresNE(0, 0), metresNE(2, 2), metresNE(0, 2), metresNE(1, 1), metresNE(2, 0),
          metresNE(0, 0)}},
        {"across the 180th meridian",
         {LatLon{0, 179.99999}, LatLon{0, -179.99998}, LatLon{0.00001, 180.0}}},
        {"a scattered point", cloud},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Case);
        double pairwise = 0.0;
        for (size_t i = 0; i < row.Drops.size(); ++i)
            for (size_t j = i + 1; j < row.Drops.size(); ++j) {
                const EastNorth d = LocalEastNorth(row.Drops[i], row.Drops[j]);
                pairwise = std::max(pairwise, std::hypot(d.East, d.North));
            }
        LotPoint point;
        std::vector<std::optional<LatLon>> places;
        for (const LatLon& drop : row.Drops) {
            point.Drops.push_back({int(places.size())});
            places.emplace_back(drop);
        }
        EXPECT_DOUBLE_EQ(PlacePoints({point}, places).at(0).SpreadMetres, pairwise);
    }
}

} // namespace
