#include "LotFixtures.h"
#include "geo/PointsGeoJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

// The saved lot of the fixtures (points of drops 0-3, 4-7 and 8, the last left out by hand),
// its first point's drops at Tokyo station but one 4 m east, its second unplaced, its third
// west of it on a longitude whose eighth decimal is a tie: written as in the points file.
TEST(PointsGeoJson, FeaturesReadBackInLongitudeLatitudeOrderWithNullWherePlaceOrValueIsMissing)
{
    QTemporaryDir dir;
    const QDir folder(dir.path());
    WriteDay(folder.filePath("20240506.csv"), DayLines());
    LotSession lot(UiLanguage::English);
    Bilingual problem, notice;
    ASSERT_TRUE(lot.Open(SaveLot(folder), &problem, &notice)) << problem.En.toStdString();
    const LatLon station{35.681236, 139.767125}, east4{35.681236, 139.767169187};
    std::vector<std::optional<LatLon>> drops(9);
    drops[0] = drops[2] = drops[3] = station;
    drops[1] = east4;
    drops[8] = LatLon{35.6818733, 139.75998065};
    const QByteArray json = PointsGeoJson(lot.Points(), lot.Document().Judgement.Need,
                                          PlacePoints(lot.Points(), drops));

    QJsonParseError error{};
    const QJsonObject root = QJsonDocument::fromJson(json, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError);
    EXPECT_EQ(root["type"].toString(), "FeatureCollection");
    const QJsonArray features = root["features"].toArray();
    ASSERT_EQ(features.size(), 3);
    const struct {
        const char* Case;
        QJsonValue Coordinates; // null: no geometry
        QJsonObject Properties;
    } rows[] = {
        {"placed and passed",
         QJsonArray{139.767136, 35.681236},
         {{"point", 1},
          {"location", "No.12+5.0 L 2.0 m"},
          {"first_drop", "2024-05-06T08:00:00"},
          {"used_drops", 3},
          {"P0", 30049.3},
          {"D0", 1.013},
          {"K", 419.7},
          {"E", 110.7},
          {"result", "pass"},
          {"spread_m", 4.0}}},
        {"no drop placed", QJsonValue(), {{"point", 2}, {"result", "pass"}}},
        {"left out by hand, without K or E",
         QJsonArray{139.7599806, 35.6818733},
         {{"point", 3},
          {"used_drops", 0},
          {"P0", 30296.0},
          {"K", QJsonValue()},
          {"E", QJsonValue()},
          {"result", QJsonValue()},
          {"spread_m", 0.0}}},
    };
    for (int i = 0; i < 3; ++i) {
        const auto& row = rows[i];
        SCOPED_TRACE(row.Case);
        const QJsonObject feature = features[i].toObject();
        EXPECT_EQ(feature["type"].toString(), "Feature");
        const QJsonValue geometry = feature["geometry"];
        if (row.Coordinates.isNull()) {
            EXPECT_TRUE(geometry.isNull());
        } else {
            EXPECT_EQ(geometry["type"].toString(), "Point");
            const QJsonArray at = geometry["coordinates"].toArray(),
                             want = row.Coordinates.toArray();
            ASSERT_EQ(at.size(), 2);
            EXPECT_EQ(at[0].toDouble(), want[0].toDouble()) << "longitude first";
            EXPECT_EQ(at[1].toDouble(), want[1].toDouble());
        }
        const QJsonObject properties = feature["properties"].toObject();
        EXPECT_EQ(properties.contains("spread_m"), !row.Coordinates.isNull());
        for (auto it = row.Properties.begin(); it != row.Properties.end(); ++it)
            EXPECT_EQ(properties[it.key()], it.value()) << it.key().toStdString();
    }
}

} // namespace
