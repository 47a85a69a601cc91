#include "LotPlaces.h"

#include "geo/SitePlan.h"

#include "shell/FileReasons.h"

#include <QRegularExpression>
#include <algorithm>

LotPlaces::LotPlaces() = default;
LotPlaces::~LotPlaces() = default;
LotPlaces::LotPlaces(LotPlaces&&) noexcept = default;
LotPlaces& LotPlaces::operator=(LotPlaces&&) noexcept = default;

void LotPlaces::Read(const std::vector<QString>& dayFiles, const LotPlaceSettings& settings)
{
    m_notes.clear();
    m_positions = ReadPositionsFiles(dayFiles);
    for (const PositionsFile& file : m_positions)
        if (const Bilingual note = PositionsFileNote(file); !note.En.isEmpty())
            m_notes.push_back(note);
    std::vector<Track> tracks;
    for (const LotDayFile& named : settings.Tracks) {
        TrackFile file = ReadTrackFile(named.Path);
        if (file.Refused()) {
            m_notes.push_back(file.Problem);
            continue;
        }
        if (const Bilingual note = LeftOutNote(file); !note.En.isEmpty())
            m_notes.push_back(note);
        tracks.push_back(std::move(file.Read));
    }
    m_hasTracks = !settings.Tracks.empty();
    m_track = MergeTracks(tracks);
    m_epsg = settings.Epsg;
    m_crs.reset();
    if (m_epsg != 0) {
        Bilingual problem;
        m_crs = SiteCrs::Open(m_epsg, &problem);
        if (!m_crs)
            m_notes.push_back(problem);
    }
}

void LotPlaces::Place(const std::vector<LotDrop>& drops, const std::vector<LotPoint>& points,
                      UtcOffset offset)
{
    m_drops = PlaceDrops(drops, m_positions, m_track, offset);
    m_points = PlacePoints(points, m_drops);
}

bool LotPlaces::HasSource() const
{
    return m_hasTracks || m_epsg != 0 ||
           std::any_of(m_positions.begin(), m_positions.end(), [](const PositionsFile& file) {
               return !file.Positions.empty() || !file.DamagedLines.empty() || file.Refused();
           });
}

std::optional<CoordinateColumns> LotPlaces::Columns() const
{
    if (!HasSource())
        return std::nullopt;
    return CoordinateColumnsOf(m_points, m_crs.get());
}

SitePlanData LotPlaces::Plan(const std::vector<LotPoint>& points, const Requirement& need) const
{
    return BuildSitePlanData(points, need, m_points, m_crs.get());
}

bool ReadEpsgCode(const QString& text, int* code, Bilingual* problem)
{
    static const QRegularExpression form(QStringLiteral("^(?:EPSG:)?([0-9]{1,9})$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = form.match(text.trimmed());
    const int read = m.hasMatch() ? m.captured(1).toInt() : 0;
    if (read <= 0) {
        *problem = Words("\"%1\" は座標参照系の指定ではありません (例: EPSG:6677)",
                         "\"%1\" names no reference system (e.g. EPSG:6677)")
                       .Arg(Clipped(text));
        return false;
    }
    *code = read;
    return true;
}
