#pragma once

#include "geo/DropPlaces.h"
#include "geo/PointPlaces.h"
#include "geo/SiteCrs.h"
#include "geo/TrackTimes.h"

#include "lot/LotFile.h"
#include "lot/PointsCsv.h"

#include "alignment/Alignment.h"

#include <QJsonArray>
#include <QStringList>
#include <memory>

class LotSession;

// What a script asks of the points' places: tracks to place drops by time, the drops' clock,
// the site's reference system and a GeoJSON file of the points.
struct PlacesRequest {
    QStringList Tracks;
    UtcOffset Offset;
    int Epsg = 0;
    QString GeoJson;
    // A LandXML file's centreline to name the points' stations along, the alignment by name
    // where it holds several, and the stakes' interval (20 m unless given).
    QString Alignment;
    QString AlignmentName;
    std::optional<double> StationInterval;
};

// Whether `option` is one of the places' options, each taking a value.
bool IsPlacesOption(const QString& option);
// Takes the value of one of them; false with a one-line reason.
bool ReadPlacesOption(const QString& option, const QString& value, PlacesRequest* request,
                      Bilingual* problem);

// The places of a script's day files, a day at a time, read as a lot reads them (LotPlaces.h):
// the tracks read and merged and the reference system opened before any day, so that a
// refusal comes before anything is written.
class CommandPlaces
{
public:
    // False with one line naming the track file and its line, or the code.
    bool Open(const PlacesRequest& request, const QStringList& dayFiles, Bilingual* problem);
    // Whether the points file ends in the places' columns: HasPlaceSource, as in a lot's
    // tables. Without, it stays as scripts have always read it.
    bool Wanted() const { return m_wanted; }
    bool HasGrid() const { return m_crs != nullptr; }
    // The places of one day's points; `notes` gains its positions file's damaged lines and
    // those that place no drop.
    std::vector<PointPlace> PlaceDay(const QString& dayFile, const std::vector<LotDrop>& drops,
                                     const std::vector<LotPoint>& points, QStringList* notes,
                                     UiLanguage uiLanguage) const;
    // The columns of these places, with their stations where a centreline is given.
    CoordinateColumns Columns(const std::vector<PointPlace>& places) const;
    // Their stations; empty without a centreline.
    std::vector<PointStation> Stations(const std::vector<PointPlace>& places) const;
    // What was left out of the tracks, one line each.
    const std::vector<Bilingual>& TrackNotes() const { return m_trackNotes; }
    // Why the tracks place no drop of days whose drops' wall times span `dropsWall`, as a
    // lot says it (TrackTimesNote); empty when they meet or there is no track.
    Bilingual TimesNote(const std::optional<TimeSpan>& dropsWall) const;

private:
    Track m_track;
    UtcOffset m_offset;
    std::unique_ptr<SiteCrs> m_crs;
    bool m_wanted = false;
    std::vector<Bilingual> m_trackNotes;
    std::optional<LotAlignment> m_alignment;
    std::optional<Alignment> m_road;

    bool OpenAlignment(const PlacesRequest& request, LotPlaceSettings* settings,
                       Bilingual* problem);
};

// The request's places applied to a lot opened for a script: its tracks added, its clock and
// system replaced. False with the one-line reason.
bool ApplyPlaces(const PlacesRequest& request, LotSession* lot, std::vector<Bilingual>* notes,
                 Bilingual* problem);

// One line of the command: "vx2968-review: " and the text in the language.
QString CommandLine(UiLanguage uiLanguage, const Bilingual& text);
