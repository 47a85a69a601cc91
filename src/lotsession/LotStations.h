#pragma once

#include "PlacesFileRead.h"

#include "alignment/Alignment.h"

#include "geo/PointPlaces.h"
#include "geo/SitePlanData.h"

#include "lot/PointsCsv.h"

#include <optional>

class SiteCrs;

// The centreline a lot names, read from its LandXML file and held against the lot's
// reference system.
struct AlignmentRead {
    std::optional<Alignment> Road; // none when it cannot name the points' stations
    PlacesFileRead File;
    // Why there is no road: the file's problem, a reference system other than the lot's, or
    // none at all. One line naming the file.
    Bilingual Problem;
    // The EPSG code the file names, 0 for none.
    int FileEpsg = 0;
};
// `epsg` is the lot's reference system, 0 for none.
AlignmentRead ReadLotAlignment(const LotAlignment& named, int epsg);

// The one line of a centreline's file that names no reference system, for a lot without one.
Bilingual NoSystemForStations(const QString& path);
// The one line of a centreline's file in another reference system than the lot's.
Bilingual SystemsDiffer(const QString& path, int fileEpsg, int lotEpsg);

// A station as the lot writes it.
QString StationText(double station, const LotAlignment& settings);

// A point's location as the engineer would write it from its station: "No.3+1.33 L 10.00 m"
// (左 and 右 in Japanese); empty without a station.
Bilingual StationLocation(const PointStation& along);

// Each point's station, in the order of `places`; a point without a place, or one the
// reference system cannot take, has none and no reason either.
std::vector<PointStation> StationPoints(const Alignment& road, const LotAlignment& settings,
                                        const std::vector<PointPlace>& places, const SiteCrs& crs);

// The centreline and its stakes as the site plan draws them, in the lot's reference system.
void AddCentreline(const Alignment& road, const LotAlignment& settings, SitePlanData* plan);
