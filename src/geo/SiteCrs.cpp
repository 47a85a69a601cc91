#include "SiteCrs.h"

#include "shell/InputFile.h"

#include <QDir>
#include <QFile>
#include <cmath>
#include <limits>
#include <proj.h>

namespace
{

QString CodeText(int epsg)
{
    return QStringLiteral("EPSG:%1").arg(epsg);
}

// PROJ opens the first proj.db on its search path without asking what it is, and a FIFO
// there would hold it for ever. So that file is looked at first and handed to PROJ by name;
// without it PROJ knows no code at all, which is said rather than "unknown".
// Where PROJ looks: the user's own folder, then those PROJ_DATA (formerly PROJ_LIB) names or
// else its installed ones. proj_info() lists them too, but keeps the first variable it saw.
QStringList SearchFolders(PJ_CONTEXT* context)
{
    const QStringList own{
        QString::fromLocal8Bit(proj_context_get_user_writable_directory(context, false))};
    QByteArray named = qgetenv("PROJ_DATA");
    if (named.isEmpty())
        named = qgetenv("PROJ_LIB");
    const QString rest = named.isEmpty() ? QString::fromLocal8Bit(proj_info().searchpath)
                                         : QString::fromLocal8Bit(named);
    return own + rest.split(QLatin1Char(':'), Qt::SkipEmptyParts);
}

bool OpenDatabase(PJ_CONTEXT* context, const QString& code, Bilingual* problem)
{
    for (const QString& folder : SearchFolders(context)) {
        const QString path = QDir(folder).filePath(QStringLiteral("proj.db"));
        const InputRead look = CheckInputFile(
            path, {std::numeric_limits<qint64>::max(), Words("PROJ のデータベース", "a database")});
        if (look.Fault == InputFault::Missing)
            continue;
        if (look.Ok() && proj_context_set_database_path(
                             context, QFile::encodeName(path).constData(), nullptr, nullptr) != 0)
            return true;
        if (look.Ok()) {
            *problem = Words("%1 を使えません: PROJ のデータベース %2 を開けません",
                             "%1 cannot be used: PROJ's database %2 cannot be opened")
                           .Arg(code)
                           .Arg(path);
            return false;
        }
        *problem = Bilingual{QString::fromUtf8("%1 を使えません: PROJ のデータベース %2: %3")
                                 .arg(code, path, look.Reason.Ja),
                             QStringLiteral("%1 cannot be used: PROJ's database %2 %3")
                                 .arg(code, path, look.Reason.En)};
        return false;
    }
    *problem = Words("%1 を使えません: PROJ のデータベース (proj.db) が見つかりません",
                     "%1 cannot be used: PROJ's database (proj.db) is not found")
                   .Arg(code);
    return false;
}

using Owned = std::unique_ptr<PJ, decltype(&proj_destroy)>;

// Both axes in metres, one pointing north and one east, in either order: a system in feet,
// or one counting westwards or southwards, would put other numbers under a heading in metres.
bool NorthAndEastInMetres(PJ_CONTEXT* context, const PJ* system)
{
    const Owned axes(proj_crs_get_coordinate_system(context, system), &proj_destroy);
    if (!axes || proj_cs_get_axis_count(context, axes.get()) < 2)
        return false;
    bool north = false, east = false;
    for (int axis = 0; axis < 2; ++axis) {
        const char* direction = nullptr;
        const char* unit = nullptr;
        double factor = 0.0;
        if (!proj_cs_get_axis_info(context, axes.get(), axis, nullptr, nullptr, &direction, &factor,
                                   &unit, nullptr, nullptr) ||
            factor != 1.0 || !unit || qstrcmp(unit, "metre") != 0)
            return false;
        north = north || qstrcmp(direction, "north") == 0;
        east = east || qstrcmp(direction, "east") == 0;
    }
    return north && east;
}

} // namespace

void SiteCrs::FreeContext::operator()(pj_ctx* context) const
{
    proj_context_destroy(context);
}

void SiteCrs::FreeTransform::operator()(PJconsts* transform) const
{
    proj_destroy(transform);
}

std::unique_ptr<SiteCrs> SiteCrs::Open(int epsg, Bilingual* problem)
{
    std::unique_ptr<SiteCrs> crs(new SiteCrs);
    crs->m_context.reset(proj_context_create());
    PJ_CONTEXT* context = crs->m_context.get();
    // Our own message says what went wrong; PROJ's would go to standard error.
    proj_log_level(context, PJ_LOG_NONE);
    const QString code = CodeText(epsg);
    if (!OpenDatabase(context, code, problem))
        return nullptr;
    const QByteArray number = QByteArray::number(epsg);
    const std::unique_ptr<PJ, FreeTransform> system(proj_create_from_database(
        context, "EPSG", number.constData(), PJ_CATEGORY_CRS, 0, nullptr));
    if (!system) {
        *problem = Words("%1 という座標参照系はありません", "%1 is not a known reference system")
                       .Arg(code);
        return nullptr;
    }
    const QString name = QString::fromUtf8(proj_get_name(system.get()));
    if (proj_get_type(system.get()) != PJ_TYPE_PROJECTED_CRS) {
        *problem = Words("%1 (%2) は投影座標系ではないため、メートルの座標になりません",
                         "%1 (%2) is not a projected system: it gives no coordinates in metres")
                       .Arg(code)
                       .Arg(name);
        return nullptr;
    }
    if (!NorthAndEastInMetres(context, system.get())) {
        *problem = Words("%1 (%2) の座標軸はメートルで北と東を向いていません",
                         "%1 (%2) does not give metres north and east")
                       .Arg(code)
                       .Arg(name);
        return nullptr;
    }
    const std::unique_ptr<PJ, FreeTransform> wgs84(
        proj_create_from_database(context, "EPSG", "4326", PJ_CATEGORY_CRS, 0, nullptr));
    const std::unique_ptr<PJ, FreeTransform> raw(
        wgs84 ? proj_create_crs_to_crs_from_pj(context, wgs84.get(), system.get(), nullptr, nullptr)
              : nullptr);
    // Longitude and latitude in, easting and northing out, whatever order each system lists.
    crs->m_transform.reset(raw ? proj_normalize_for_visualization(context, raw.get()) : nullptr);
    if (!crs->m_transform) {
        *problem =
            Words("%1 (%2) へ WGS 84 から変換できません", "%1 (%2) cannot be reached from WGS 84")
                .Arg(code)
                .Arg(name);
        return nullptr;
    }
    crs->m_epsg = epsg;
    crs->m_name = code + QLatin1Char(' ') + name;
    return crs;
}

bool SiteCrs::ToGrid(const LatLon& where, double* northing, double* easting) const
{
    proj_errno_reset(m_transform.get());
    const PJ_COORD out =
        proj_trans(m_transform.get(), PJ_FWD, proj_coord(where.Longitude, where.Latitude, 0, 0));
    if (proj_errno(m_transform.get()) != 0 || !std::isfinite(out.xy.x) || !std::isfinite(out.xy.y))
        return false;
    *easting = out.xy.x;
    *northing = out.xy.y;
    return true;
}

CoordinateColumns CoordinateColumnsOf(const std::vector<PointPlace>& places, const SiteCrs* crs)
{
    CoordinateColumns out;
    out.Grid = crs != nullptr;
    for (const PointPlace& p : places) {
        PointCoordinates c;
        c.HasPlace = p.HasPlace;
        c.Latitude = p.Where.Latitude;
        c.Longitude = p.Where.Longitude;
        if (p.HasPlace && crs)
            c.HasGrid = crs->ToGrid(p.Where, &c.Northing, &c.Easting);
        out.Points.push_back(c);
    }
    return out;
}
