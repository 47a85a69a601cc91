#include "CommandPlaces.h"

#include "lotsession/LotPlaces.h"
#include "lotsession/LotSession.h"

#include "geo/UtcOffsetText.h"

bool IsPlacesOption(const QString& option)
{
    return option == QLatin1String("--track") || option == QLatin1String("--utc-offset") ||
           option == QLatin1String("--crs") || option == QLatin1String("--geojson");
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
    m_trackNotes = std::move(tracks.Notes);
    m_track = std::move(tracks.Merged);
    m_offset = request.Offset;
    m_wanted = HasPlaceSource(settings, {dayFiles.begin(), dayFiles.end()});
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
    return CoordinateColumnsOf(places, m_crs.get());
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
    return request.Epsg == 0 || lot->SetEpsg(request.Epsg, problem);
}

QString CommandLine(UiLanguage uiLanguage, const Bilingual& text)
{
    return QStringLiteral("vx2968-review: ") + text.Pick(uiLanguage);
}
