#include "CommandPlaces.h"

#include "lotsession/LotPlaces.h"
#include "lotsession/LotSession.h"

#include "geo/GpxTrack.h"
#include "geo/PositionsFile.h"
#include "geo/UtcOffsetText.h"

#include <QFileInfo>

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
    std::vector<Track> tracks;
    for (const QString& path : request.Tracks) {
        TrackFile file = ReadTrackFile(path);
        if (file.Refused()) {
            *problem = file.Problem;
            return false;
        }
        if (const Bilingual note = LeftOutNote(file); !note.En.isEmpty())
            m_trackNotes.push_back(note);
        tracks.push_back(std::move(file.Read));
    }
    if (request.Epsg != 0 && !(m_crs = SiteCrs::Open(request.Epsg, problem)))
        return false;
    m_track = MergeTracks(tracks);
    m_offset = request.Offset;
    m_wanted = !request.Tracks.isEmpty() || m_crs ||
               std::any_of(dayFiles.begin(), dayFiles.end(), [](const QString& day) {
                   return QFileInfo::exists(PositionsFilePath(day));
               });
    return true;
}

std::vector<PointPlace> CommandPlaces::PlaceDay(const QString& dayFile,
                                                const std::vector<LotDrop>& drops,
                                                const std::vector<LotPoint>& points,
                                                QStringList* notes, UiLanguage uiLanguage) const
{
    PositionsFile positions = ReadPositionsFile(PositionsFilePath(dayFile));
    MatchPositions(&positions, drops);
    if (const Bilingual note = PositionsFileNote(positions); !note.En.isEmpty())
        *notes << CommandLine(uiLanguage, note);
    return PlacePoints(points, PlaceDrops(drops, {positions}, m_track, m_offset));
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
