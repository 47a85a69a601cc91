#include "LotPlaces.h"

#include "geo/SitePlan.h"

#include "shell/FileReasons.h"

#include <QHash>
#include <QRegularExpression>
#include <algorithm>

LotPlaces::LotPlaces() = default;
LotPlaces::~LotPlaces() = default;
LotPlaces::LotPlaces(LotPlaces&&) noexcept = default;
LotPlaces& LotPlaces::operator=(LotPlaces&&) noexcept = default;

namespace
{

PlacesFileRead CheckPlacesFile(const LotDayFile& saved, const InputRead& read)
{
    const LotDayFile now = DescribeDayBytes(saved.Path, read.Bytes);
    PlacesFileRead out{read.Ok() ? now : LotDayFile{saved.Path, -1, {}}, saved, {}, {}};
    if (saved.Sha256.isEmpty()) {
        out.Record = now; // not recorded yet: the lot takes it as it is
        return out;
    }
    out.State = CompareDayFile(saved, read, now);
    out.Change = PlacesFileChange(saved, read, now);
    return out;
}

} // namespace

void LotPlaces::Read(const std::vector<QString>& dayFiles, const LotPlaceSettings& settings,
                     const std::vector<LotDrop>& drops)
{
    m_notes.clear();
    m_positions.clear();
    m_trackFiles.clear();
    m_positionsFiles.clear();
    QHash<QString, const LotDayFile*> recorded;
    for (const LotDayFile& f : settings.Positions)
        recorded.insert(f.Path, &f);
    size_t first = 0;
    for (size_t day = 0; day < dayFiles.size(); ++day) {
        const QString path = PositionsFilePath(dayFiles[day]);
        const InputRead read = ReadInputFile(path, PositionsFileLimit());
        PositionsFile file = PositionsOfInput(path, read);
        while (first < drops.size() && drops[first].File < int(day))
            ++first;
        size_t end = first;
        while (end < drops.size() && drops[end].File == int(day))
            ++end;
        MatchPositions(&file, std::span(drops).subspan(first, end - first));
        const LotDayFile* saved = recorded.value(path);
        if (saved || read.Ok())
            m_positionsFiles.push_back(CheckPlacesFile(saved ? *saved : LotDayFile{path}, read));
        if (const Bilingual note = PositionsFileNote(file); !note.En.isEmpty())
            m_notes.push_back(note);
        m_positions.push_back(std::move(file));
    }
    std::vector<Track> tracks;
    for (const LotDayFile& named : settings.Tracks) {
        const InputRead read = ReadInputFile(named.Path, TrackFileLimit());
        m_trackFiles.push_back(CheckPlacesFile(named, read));
        TrackFile file = TrackOfInput(named.Path, read);
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
           std::any_of(m_positions.begin(), m_positions.end(),
                       [](const PositionsFile& file) { return file.Present; });
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
