#pragma once

#include "lot/LotPoints.h"
#include "record/PositionLine.h"

#include <optional>
#include <vector>

// Drops of one point further apart than this: the plate was moved between them.
inline constexpr double MostPointSpreadMetres = 5.0;

// Where a test point lies, from the places of its drops.
struct PointPlace {
    bool HasPlace = false;     // at least one of its drops has a place
    LatLon Where;              // the mean of its drops' places
    double SpreadMetres = 0.0; // the largest distance between two of its placed drops
    int PlacedDrops = 0;
    bool Moved() const { return SpreadMetres > MostPointSpreadMetres; }
};

// Metres east and north of `origin` on the plane touching the WGS 84 ellipsoid there: within
// millimetres over the few kilometres of a site.
struct EastNorth {
    double East = 0.0;
    double North = 0.0;
};
EastNorth LocalEastNorth(const LatLon& origin, const LatLon& where);

// Each point's place (same order as `points`); `dropPlaces` holds one entry per lot drop, in
// the lot's drop order, as LotPoint::Drops index them.
std::vector<PointPlace> PlacePoints(const std::vector<LotPoint>& points,
                                    const std::vector<std::optional<LatLon>>& dropPlaces);
