#pragma once

#include "PointPlaces.h"
#include "SitePlanData.h"

class SiteCrs;

// The site plan of a lot's points (numbered from 1 in their order): each with its location,
// verdict against `need` (none for one left out by hand) and place from `places` (same
// order). With `crs`, in its easting and northing; without, in metres east and north of the
// lot's first placed point.
SitePlanData BuildSitePlanData(const std::vector<LotPoint>& points, const Requirement& need,
                               const std::vector<PointPlace>& places, const SiteCrs* crs);
