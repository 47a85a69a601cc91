#include "SitePlan.h"

#include "SiteCrs.h"

#include "lot/PointsCsv.h"

#include <algorithm>

namespace
{

// Where every point is drawn: in the system, or from the first placed point.
bool PlacePlanPoint(const PointPlace& place, const SiteCrs* crs, const LatLon& origin,
                    PlanPoint* out)
{
    if (!place.HasPlace)
        return false;
    if (crs)
        return crs->ToGrid(place.Where, &out->North, &out->East);
    const EastNorth local = LocalEastNorth(origin, place.Where);
    out->East = local.East;
    out->North = local.North;
    return true;
}

} // namespace

SitePlanData BuildSitePlanData(const std::vector<LotPoint>& points, const Requirement& need,
                               const std::vector<PointPlace>& places, const SiteCrs* crs)
{
    SitePlanData plan;
    const auto first =
        std::find_if(places.begin(), places.end(), [](const PointPlace& p) { return p.HasPlace; });
    const LatLon origin = first == places.end() ? LatLon{} : first->Where;
    const int firstNumber = int(first - places.begin()) + 1;
    for (size_t i = 0; i < points.size(); ++i) {
        PlanPoint p;
        p.Number = int(i) + 1;
        p.Location = points[i].Location();
        p.Result = FileVerdict(points[i], need);
        if (i < places.size()) {
            p.HasPlace = PlacePlanPoint(places[i], crs, origin, &p);
            p.Moved = places[i].Moved();
        }
        plan.Points.push_back(p);
    }
    if (crs)
        plan.System = Both(crs->Name());
    else
        plan.System = Words("測点 %1 から東と北へのメートル", "m east and north of point %1")
                          .Arg(QString::number(firstNumber));
    return plan;
}
