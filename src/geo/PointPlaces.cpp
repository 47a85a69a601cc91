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

// The drops of a point at one place: the first and the last of them in the point's order.
struct Place {
    LatLon Where;
    size_t First = 0, Last = 0;
    double East = 0.0, North = 0.0; // on the plane touching the point's first placed drop
};

// Twice the area of the triangle o, a, b: positive when it turns left at a.
double Turn(const Place& o, const Place& a, const Place& b)
{
    return (a.East - o.East) * (b.North - o.North) - (a.North - o.North) * (b.East - o.East);
}

// The places of `placed`, each place once, on the plane at the first drop.
std::vector<Place> PlacesOf(const std::vector<LatLon>& placed)
{
    std::vector<size_t> order(placed.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    const auto key = [&](size_t i) { return std::pair(placed[i].Latitude, placed[i].Longitude); };
    std::sort(order.begin(), order.end(),
              [&](size_t a, size_t b) { return key(a) != key(b) ? key(a) < key(b) : a < b; });
    std::vector<Place> places;
    for (const size_t i : order) {
        if (!places.empty() && key(places.back().First) == key(i)) {
            places.back().Last = i;
            continue;
        }
        const EastNorth at = LocalEastNorth(placed[0], placed[i]);
        places.push_back({placed[i], i, i, at.East, at.North});
    }
    return places;
}

// The corners of the places' convex hull, anticlockwise, none on a straight edge (Andrew's
// monotone chain).
std::vector<Place> HullOf(std::vector<Place> places)
{
    std::sort(places.begin(), places.end(), [](const Place& a, const Place& b) {
        return std::pair(a.East, a.North) < std::pair(b.East, b.North);
    });
    if (places.size() < 3)
        return places;
    std::vector<Place> hull(2 * places.size());
    size_t k = 0;
    for (const Place& p : places) { // the lower chain
        while (k >= 2 && Turn(hull[k - 2], hull[k - 1], p) <= 0.0)
            --k;
        hull[k++] = p;
    }
    for (size_t i = places.size() - 1, lower = k + 1; i-- > 0;) { // the upper one
        while (k >= lower && Turn(hull[k - 2], hull[k - 1], places[i]) <= 0.0)
            --k;
        hull[k++] = places[i];
    }
    hull.resize(k - 1);
    return hull;
}

// The distance between two of the point's drops at places a and b, as it has always been
// measured: on the plane touching the earlier drop of the two.
double DistanceBetween(const Place& a, const Place& b)
{
    double metres = 0.0;
    const auto from = [&](const Place& earlier, const Place& later) {
        const EastNorth d = LocalEastNorth(earlier.Where, later.Where);
        metres = std::max(metres, std::hypot(d.East, d.North));
    };
    if (a.First < b.Last)
        from(a, b);
    if (b.First < a.Last)
        from(b, a);
    return metres;
}

// The largest distance between two of `placed`: the two lie on corners of their hull facing
// each other across it, which turning a pair of parallel lines around the hull visits
// (rotating calipers), so a point of many drops costs n log n rather than every pair.
double LargestDistance(const std::vector<LatLon>& placed)
{
    const std::vector<Place> hull = HullOf(PlacesOf(placed));
    const size_t n = hull.size();
    if (n < 2)
        return 0.0;
    double largest = 0.0;
    for (size_t i = 0, j = 1; i < j; ++i) {
        for (;; j = (j + 1) % n) {
            largest = std::max(largest, DistanceBetween(hull[i], hull[j]));
            const Place& a = hull[i];
            const Place& b = hull[(i + 1) % n];
            const Place& c = hull[j];
            const Place& d = hull[(j + 1) % n];
            const double facing =
                (d.East - c.East) * (b.North - a.North) - (d.North - c.North) * (b.East - a.East);
            if (facing >= 0.0)
                break;
        }
    }
    return largest;
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
        place.SpreadMetres = LargestDistance(placed);
        out.push_back(place);
    }
    return out;
}
