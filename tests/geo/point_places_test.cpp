#include "geo/PointPlaces.h"

#include <gtest/gtest.h>

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

} // namespace
