#include "PointPlaces.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace
{

constexpr double SemiMajorAxis = 6378137.0; // WGS 84
constexpr double Flattening = 1.0 / 298.257223563;
constexpr double Eccentricity2 = Flattening * (2.0 - Flattening);

double Radians(double degrees)
{
    return degrees * std::numbers::pi / 180.0;
}

// A longitude difference the short way round, so that a site on the 180th meridian holds.
double LongitudeStep(double from, double to)
{
    return std::remainder(to - from, 360.0);
}

} // namespace

EastNorth LocalEastNorth(const LatLon& origin, const LatLon& where)
{
    const double phi = Radians(origin.Latitude);
    const double w = 1.0 - Eccentricity2 * std::sin(phi) * std::sin(phi);
    const double meridian = SemiMajorAxis * (1.0 - Eccentricity2) / (w * std::sqrt(w));
    const double primeVertical = SemiMajorAxis / std::sqrt(w);
    return {Radians(LongitudeStep(origin.Longitude, where.Longitude)) * primeVertical *
                std::cos(phi),
            Radians(where.Latitude - origin.Latitude) * meridian};
}

std::vector<PointPlace> PlacePoints(const std::vector<LotPoint>& points,
                                    const std::vector<std::optional<LatLon>>& dropPlaces)
{
    std::vector<PointPlace> out;
    out.reserve(points.size());
    for (const LotPoint& point : points) {
        std::vector<LatLon> placed;
        for (const PointDrop& d : point.Drops) {
            if (d.Index >= 0 && d.Index < int(dropPlaces.size()) && dropPlaces[d.Index])
                placed.push_back(*dropPlaces[d.Index]);
        }
        PointPlace place;
        place.PlacedDrops = int(placed.size());
        place.HasPlace = !placed.empty();
        if (placed.empty()) {
            out.push_back(place);
            continue;
        }
        // Steps from the first drop, so that the mean never straddles the 180th meridian.
        double lat = 0.0, lon = 0.0;
        for (const LatLon& p : placed) {
            lat += p.Latitude;
            lon += LongitudeStep(placed[0].Longitude, p.Longitude);
        }
        const double n = double(placed.size());
        place.Where = {lat / n, std::remainder(placed[0].Longitude + lon / n, 360.0)};
        for (size_t i = 0; i < placed.size(); ++i) {
            for (size_t j = i + 1; j < placed.size(); ++j) {
                const EastNorth d = LocalEastNorth(placed[i], placed[j]);
                place.SpreadMetres = std::max(place.SpreadMetres, std::hypot(d.East, d.North));
            }
        }
        out.push_back(place);
    }
    return out;
}
