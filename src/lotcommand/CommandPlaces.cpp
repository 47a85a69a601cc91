#include "CommandPlaces.h"

#include "lotsession/LotPlaces.h"
#include "lotsession/LotSession.h"
#include "lotsession/LotStations.h"

#include "shell/FileReasons.h"

#include "geo/UtcOffsetText.h"

#include <QFileInfo>

bool IsPlacesOption(const QString& option)
{
    for (const char* known : {"--track", "--utc-offset", "--crs", "--geojson", "--alignment",
                              "--alignment-name", "--station-interval"})
        if (option == QLatin1String(known))
            return true;
    return false;
}

bool ReadPlacesOption(const QString& option, const QString& value, PlacesRequest* request,
                      Bilingual* problem)
{
    if (option == QLatin1String("--track")) {
        request->Tracks << value;
        return true;
    }
    if (option == QLatin1String("--geojson")) {
        request->GeoJson = value;
        return true;
    }
    if (option == QLatin1String("--alignment")) {
        request->Alignment = value;
        return true;
    }
    if (option == QLatin1String("--alignment-name")) {
        request->AlignmentName = value;
        return true;
    }
    if (option == QLatin1String("--station-interval")) {
        bool ok = false;
        const double metres = value.toDouble(&ok);
        if (ok && metres > 0.0 && metres <= LargestStationInterval) {
            request->StationInterval = metres;
            return true;
        }
        *problem = Words("%1: \"%2\" は 0 より大きく %3 m 以下の間隔ではありません",
                         "%1: \"%2\" is no interval above 0 and up to %3 m")
                       .Arg(option)
                       .Arg(Clipped(value))
                       .Arg(QString::number(LargestStationInterval));
        return false;
    }
    int minutes = 0;
    const bool read = option == QLatin1String("--crs")
                          ? ReadEpsgCode(value, &request->Epsg, problem)
                          : ReadUtcOffset(value, &minutes, problem);
    if (!read) {
        problem->Ja = option + QStringLiteral(": ") + problem->Ja;
        problem->En = option + QStringLiteral(": ") + problem->En;
        return false;
    }
    if (option == QLatin1String("--utc-offset"))
        request->Offset = minutes;
    return true;
}

bool CommandPlaces::Open(const PlacesRequest& request, const QStringList& dayFiles,
                         Bilingual* problem)
{
    LotPlaceSettings settings;
    for (const QString& path : request.Tracks)
        settings.Tracks.push_back(LotDayFile{path, 0, {}, {}});
    settings.Epsg = request.Epsg;
    TracksRead tracks = ReadTracks(settings.Tracks);
    if (tracks.Refused) {
        *problem = *tracks.Refused;
        return false;
    }
    if (request.Epsg != 0 && !(m_crs = SiteCrs::Open(request.Epsg, problem)))
        return false;
    if (!OpenAlignment(request, &settings, problem))
        return false;
    m_trackNotes = std::move(tracks.Notes);
    m_track = std::move(tracks.Merged);
    m_offset = request.Offset;
    m_wanted = HasPlaceSource(settings, {dayFiles.begin(), dayFiles.end()});
    return true;
}

bool CommandPlaces::OpenAlignment(const PlacesRequest& request, LotPlaceSettings* settings,
                                  Bilingual* problem)
{
    if (request.Alignment.isEmpty()) {
        if (request.AlignmentName.isEmpty() && !request.StationInterval)
            return true;
        *problem = Words("--alignment-name と --station-interval には --alignment が必要です",
                         "--alignment-name and --station-interval need --alignment");
        return false;
    }
    LotAlignment named;
    named.File.Path = QFileInfo(request.Alignment).absoluteFilePath();
    named.Name = request.AlignmentName;
    named.Interval = request.StationInterval.value_or(named.Interval);
    AlignmentRead read = ReadLotAlignment(named, settings->Epsg);
    // Without --crs the file's own system is the site's.
    if (!read.Road && settings->Epsg == 0 && read.FileEpsg != 0) {
        if (!(m_crs = SiteCrs::Open(read.FileEpsg, problem)))
            return false;
        settings->Epsg = read.FileEpsg;
        read = ReadLotAlignment(named, settings->Epsg);
    }
    if (!read.Road) {
        *problem = read.Problem;
        return false;
    }
    m_road = std::move(read.Road);
    m_alignment = named;
    settings->Alignment = named;
    return true;
}

std::vector<PointPlace> CommandPlaces::PlaceDay(const QString& dayFile,
                                                const std::vector<LotDrop>& drops,
                                                const std::vector<LotPoint>& points,
                                                QStringList* notes, UiLanguage uiLanguage) const
{
    const DayPositionsRead positions = ReadDayPositions(dayFile, drops);
    if (!positions.Note.En.isEmpty())
        *notes << CommandLine(uiLanguage, positions.Note);
    return PlacePoints(points, PlaceDrops(drops, {positions.File}, m_track, m_offset));
}

Bilingual CommandPlaces::TimesNote(const std::optional<TimeSpan>& dropsWall) const
{
    const std::optional<TimeSpan> track = TrackSpan(m_track);
    if (!track || !dropsWall)
        return {};
    return TrackTimesNote(*track, *dropsWall, OffsetInForce(m_offset, dropsWall->First));
}

CoordinateColumns CommandPlaces::Columns(const std::vector<PointPlace>& places) const
{
    CoordinateColumns columns = CoordinateColumnsOf(places, m_crs.get());
    columns.Stations = m_road.has_value();
    const std::vector<PointStation> stations = Stations(places);
    for (size_t i = 0; i < stations.size(); ++i)
        columns.Points[i].Along = stations[i];
    return columns;
}

std::vector<PointStation> CommandPlaces::Stations(const std::vector<PointPlace>& places) const
{
    if (!m_road || !m_crs)
        return {};
    return StationPoints(*m_road, *m_alignment, places, *m_crs);
}

bool ApplyPlaces(const PlacesRequest& request, LotSession* lot, std::vector<Bilingual>* notes,
                 Bilingual* problem)
{
    for (const QString& track : request.Tracks) {
        Bilingual notice;
        if (!lot->AddTrack(track, problem, &notice))
            return false;
        if (!notice.En.isEmpty())
            notes->push_back(notice);
    }
    if (request.Offset)
        lot->SetUtcOffset(request.Offset);
    if (request.Epsg != 0 && !lot->SetEpsg(request.Epsg, problem))
        return false;
    if (request.Alignment.isEmpty() && !request.AlignmentName.isEmpty()) {
        *problem = Words("--alignment-name には --alignment が必要です",
                         "--alignment-name needs --alignment");
        return false;
    }
    if (!request.Alignment.isEmpty() &&
        !lot->SetAlignment(request.Alignment, request.AlignmentName, problem))
        return false;
    const std::optional<LotAlignment>& road = lot->Document().Places.Alignment;
    if (request.StationInterval) {
        if (!road) {
            *problem = Words("--station-interval には中心線が必要です (--alignment)",
                             "--station-interval needs a centreline (--alignment)");
            return false;
        }
        lot->SetStations(StationForm::Stakes, *request.StationInterval, road->OffsetLimit);
    }
    return true;
}

QString CommandLine(UiLanguage uiLanguage, const Bilingual& text)
{
    return QStringLiteral("vx2968-review: ") + text.Pick(uiLanguage);
}
