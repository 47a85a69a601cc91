#pragma once

#include "PointPlaces.h"
#include "lot/LotVerdict.h"
#include "lot/PointsCsv.h"

#include <QByteArray>
#include <QJsonArray>

// The points as an RFC 7946 FeatureCollection: one Feature per point in their order, its
// geometry the point's place in WGS 84 [longitude, latitude] (null without one); its
// properties its number (from 1), location, first drop as the points file writes it, used
// drops, the means P0, D0, K and E, the verdict against `need` ("pass", "fail", or null,
// as for a point left out by hand) and, when placed, the spread of its drops in metres. With
// `stations` (a lot named along a centreline), each point's station_m and offset_m (right
// positive) and its station as the lot writes it, all null for a point without one.
QByteArray PointsGeoJson(const std::vector<LotPoint>& points, const Requirement& need,
                         const std::vector<PointPlace>& places,
                         const std::vector<PointStation>& stations = {});
// The same a few points at a time, numbered from `firstNumber`: a script's points come a day
// at a time. PointsCollection makes the file of them all.
QJsonArray PointFeatures(const std::vector<LotPoint>& points, const Requirement& need,
                         const std::vector<PointPlace>& places, int firstNumber,
                         const std::vector<PointStation>& stations = {});
QByteArray PointsCollection(const QJsonArray& features);
