#include "LotPlaces.h"

#include "geo/SitePlan.h"

#include "shell/FileReasons.h"

#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <algorithm>

LotPlaces::LotPlaces() = default;
LotPlaces::~LotPlaces() = default;
LotPlaces::LotPlaces(LotPlaces&&) noexcept = default;
LotPlaces& LotPlaces::operator=(LotPlaces&&) noexcept = default;

PlacesFileRead CheckPlacesFile(const LotDayFile& saved, const InputRead& read)
{
    const LotDayFile now = DescribeDayBytes(saved.Path, read.Bytes);
    PlacesFileRead out{read.Ok() ? now : LotDayFile{saved.Path, -1, {}, {}}, saved, {}, {}};
    if (saved.Sha256.isEmpty()) {
        out.Record = now; // not recorded yet: the lot takes it as it is
        return out;
    }
    out.State = CompareDayFile(saved, read, now);
    out.Change = PlacesFileChange(saved, read, now);
    return out;
}

TracksRead ReadTracks(const std::vector<LotDayFile>& named)
{
    TracksRead out;
    std::vector<Track> tracks;
    for (const LotDayFile& file : named) {
        const InputRead read = ReadInputFile(file.Path, TrackFileLimit());
        out.Files.push_back(CheckPlacesFile(file, read));
        TrackFile track = TrackOfInput(file.Path, read);
        if (track.Refused()) {
            out.Notes.push_back(track.Problem);
            if (!out.Refused)
                out.Refused = track.Problem;
            continue;
        }
        if (const Bilingual note = LeftOutNote(track); !note.En.isEmpty())
            out.Notes.push_back(note);
        tracks.push_back(std::move(track.Read));
    }
    out.Merged = MergeTracks(tracks);
    return out;
}

DayPositionsRead ReadDayPositions(const QString& dayFile, std::span<const LotDrop> drops)
{
    const QString path = PositionsFilePath(dayFile);
    DayPositionsRead out;
    out.Input = ReadInputFile(path, PositionsFileLimit());
    out.File = PositionsOfInput(path, out.Input);
    MatchPositions(&out.File, drops);
    out.Note = PositionsFileNote(out.File);
    return out;
}

bool HasPlaceSource(const LotPlaceSettings& settings, const std::vector<QString>& dayFiles)
{
    return !settings.Tracks.empty() || settings.Epsg != 0 || settings.Alignment ||
           std::any_of(dayFiles.begin(), dayFiles.end(), [](const QString& day) {
               return QFileInfo::exists(PositionsFilePath(day));
           });
}

void LotPlaces::Read(const std::vector<QString>& dayFiles, const LotPlaceSettings& settings,
                     const std::vector<LotDrop>& drops)
{
    m_notes.clear();
    m_positions.clear();
    m_positionsFiles.clear();
    QHash<QString, const LotDayFile*> recorded;
    for (const LotDayFile& f : settings.Positions)
        recorded.insert(f.Path, &f);
    size_t first = 0;
    for (size_t day = 0; day < dayFiles.size(); ++day) {
        while (first < drops.size() && drops[first].File < int(day))
            ++first;
        size_t end = first;
        while (end < drops.size() && drops[end].File == int(day))
            ++end;
        DayPositionsRead read =
            ReadDayPositions(dayFiles[day], std::span(drops).subspan(first, end - first));
        const QString path = PositionsFilePath(dayFiles[day]);
        const LotDayFile* saved = recorded.value(path);
        if (saved || read.Input.Ok())
            m_positionsFiles.push_back(
                CheckPlacesFile(saved ? *saved : LotDayFile{path, 0, {}, {}}, read.Input));
        if (!read.Note.En.isEmpty())
            m_notes.push_back(read.Note);
        m_positions.push_back(std::move(read.File));
    }
    TracksRead tracks = ReadTracks(settings.Tracks);
    m_trackFiles = std::move(tracks.Files);
    m_notes.insert(m_notes.end(), tracks.Notes.begin(), tracks.Notes.end());
    m_track = std::move(tracks.Merged);
    m_hasSource = HasPlaceSource(settings, dayFiles);
    m_crs.reset();
    if (settings.Epsg != 0) {
        Bilingual problem;
        m_crs = SiteCrs::Open(settings.Epsg, &problem);
        if (!m_crs)
            m_notes.push_back(problem);
    }
    ReadAlignment(settings);
}

void LotPlaces::ReadAlignment(const LotPlaceSettings& settings)
{
    m_alignment = settings.Alignment;
    m_alignmentFiles.clear();
    m_road.reset();
    m_stations.clear();
    m_roadEpsg = 0;
    if (!m_alignment)
        return;
    AlignmentRead read = ReadLotAlignment(*m_alignment, m_crs ? settings.Epsg : 0);
    m_alignmentFiles.push_back(std::move(read.File));
    m_roadEpsg = read.FileEpsg;
    // A system that cannot be opened is named already: the centreline adds nothing to it.
    if (!read.Problem.En.isEmpty() && (m_crs || settings.Epsg == 0))
        m_notes.push_back(read.Problem);
    m_road = std::move(read.Road);
}

void LotPlaces::Place(const std::vector<LotDrop>& drops, const std::vector<LotPoint>& points,
                      UtcOffset offset)
{
    m_drops = PlaceDrops(drops, m_positions, m_track, offset);
    m_points = PlacePoints(points, m_drops);
    m_stations.clear();
    if (m_road && m_crs)
        m_stations = StationPoints(*m_road, *m_alignment, m_points, *m_crs);
    else if (m_alignment)
        m_stations.resize(m_points.size());
    m_timesNote = {};
    const std::optional<TimeSpan> track = TrackSpan(m_track);
    const std::optional<TimeSpan> wall = DropWallSpan(drops);
    if (track && wall)
        m_timesNote = TrackTimesNote(*track, *wall, OffsetInForce(offset, wall->First));
}

std::optional<CoordinateColumns> LotPlaces::Columns() const
{
    if (!HasSource())
        return std::nullopt;
    CoordinateColumns columns = CoordinateColumnsOf(m_points, m_crs.get());
    columns.Stations = m_alignment.has_value();
    for (size_t i = 0; i < m_stations.size() && i < columns.Points.size(); ++i)
        columns.Points[i].Along = m_stations[i];
    return columns;
}

SitePlanData LotPlaces::Plan(const std::vector<LotPoint>& points, const Requirement& need) const
{
    SitePlanData plan = BuildSitePlanData(points, need, m_points, m_crs.get());
    if (m_road && m_crs)
        AddCentreline(*m_road, *m_alignment, &plan);
    return plan;
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
