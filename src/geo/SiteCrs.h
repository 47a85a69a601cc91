#pragma once

#include "PointPlaces.h"
#include "lot/PointsCsv.h"
#include "shell/Bilingual.h"

#include <memory>

struct PJconsts;
struct pj_ctx;

// A site's projected reference system, named by its EPSG code, taking WGS 84 places to
// metres north and east. Each object holds its own PROJ context: one object is used by one
// thread at a time, any number of objects at once.
class SiteCrs
{
public:
    // None, with the reason naming the code, for a code PROJ does not know, one that is not
    // a projected system (EPSG:4326 has no metres), or when PROJ's database is missing.
    static std::unique_ptr<SiteCrs> Open(int epsg, Bilingual* problem);

    int Epsg() const { return m_epsg; }
    // "EPSG:6677 JGD2011 / Japan Plane Rectangular CS IX"
    const QString& Name() const { return m_name; }
    // False for a place the system cannot take (far outside its zone).
    bool ToGrid(const LatLon& where, double* northing, double* easting) const;

private:
    SiteCrs() = default;
    struct FreeContext {
        void operator()(pj_ctx* context) const;
    };
    struct FreeTransform {
        void operator()(PJconsts* transform) const;
    };
    // The context outlives the transform made in it: members are destroyed in reverse.
    std::unique_ptr<pj_ctx, FreeContext> m_context;
    std::unique_ptr<PJconsts, FreeTransform> m_transform;
    int m_epsg = 0;
    QString m_name;
};

// The columns the points file and the workbook give the points' places: latitude and
// longitude, and northing and easting in `crs` when there is one.
CoordinateColumns CoordinateColumnsOf(const std::vector<PointPlace>& places, const SiteCrs* crs);
