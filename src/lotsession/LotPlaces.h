#pragma once

#include "geo/DropPlaces.h"
#include "geo/GpxTrack.h"
#include "geo/PointPlaces.h"
#include "geo/PositionsFile.h"
#include "geo/SiteCrs.h"
#include "geo/SitePlanData.h"
#include "geo/TrackTimes.h"

#include "lot/LotFile.h"

#include "LotStations.h"
#include "PlacesFileRead.h"

#include <memory>

// The tracks a lot names, read one by one and merged; each against what the lot recorded.
struct TracksRead {
    Track Merged;
    std::vector<PlacesFileRead> Files;
    std::vector<Bilingual> Notes;     // a refused track's problem or what a read one left out
    std::optional<Bilingual> Refused; // the first refused track's problem
};
TracksRead ReadTracks(const std::vector<LotDayFile>& named);

// The positions file beside `dayFile`, its lines matched with the day's `drops`, the bytes
// as read, and a line on its damaged lines and those that place no drop (empty: none).
struct DayPositionsRead {
    PositionsFile File;
    InputRead Input;
    Bilingual Note;
};
DayPositionsRead ReadDayPositions(const QString& dayFile, std::span<const LotDrop> drops);

// Whether a lot has anything to place its drops from: a track, a reference system, a
// centreline or a positions file beside one of its days, whatever it holds. The lot's tables and
// the command line's points file end in the places' columns only then, so that the points file, the
// workbook and the GeoJSON agree; without, they keep the columns they always had.
bool HasPlaceSource(const LotPlaceSettings& settings, const std::vector<QString>& dayFiles);

// Where a lot's drops and points lie: the positions files beside its day files and the GPS
// tracks it names, read when its files change; its drops and points placed again whenever
// its points are formed; its site coordinates in the reference system it names.
class LotPlaces
{
public:
    LotPlaces();
    ~LotPlaces();
    LotPlaces(LotPlaces&&) noexcept;
    LotPlaces& operator=(LotPlaces&&) noexcept;

    // Reads the positions files beside `dayFiles` and the tracks `settings` names, and opens
    // its reference system. What cannot be read is said by Notes(); it places nothing. The
    // positions files' lines are matched with `drops`, those of the day files in their order.
    void Read(const std::vector<QString>& dayFiles, const LotPlaceSettings& settings,
              const std::vector<LotDrop>& drops);
    // How the stations are written and how far a point may lie, taken without reading the
    // centreline's file again; `settings` names the file last read.
    void SetStations(const LotAlignment& settings) { m_alignment = settings; }
    // Places the drops and then the points formed of them.
    void Place(const std::vector<LotDrop>& drops, const std::vector<LotPoint>& points,
               UtcOffset offset);

    // HasPlaceSource of the files and settings last read.
    bool HasSource() const { return m_hasSource; }
    const std::vector<std::optional<LatLon>>& DropPlaces() const { return m_drops; }
    const std::vector<PointPlace>& PointPlaces() const { return m_points; }
    const SiteCrs* Crs() const { return m_crs.get(); }
    // The columns the points file and the workbook end in; null while HasSource() is false.
    std::optional<CoordinateColumns> Columns() const;
    SitePlanData Plan(const std::vector<LotPoint>& points, const Requirement& need) const;
    // Damaged lines of positions files, tracks that gave nothing or left points out, an
    // unknown reference system: one line each.
    const std::vector<Bilingual>& Notes() const { return m_notes; }
    // Why the tracks place no drop, when their times and the drops' do not meet under the
    // lot's offset (TrackTimesNote); empty when they meet or there is no track.
    const Bilingual& TimesNote() const { return m_timesNote; }
    // Each track the settings name, and each positions file the settings name or that is
    // there now, against what the lot recorded.
    const std::vector<PlacesFileRead>& TrackFiles() const { return m_trackFiles; }
    const std::vector<PlacesFileRead>& PositionsFiles() const { return m_positionsFiles; }
    // The centreline's file, when the lot names one, against what the lot recorded.
    const std::vector<PlacesFileRead>& AlignmentFiles() const { return m_alignmentFiles; }
    // The road the points are named along; null without one, or when it cannot name them
    // (the reason is among Notes()).
    const Alignment* Road() const { return m_road ? &*m_road : nullptr; }
    // The reference system the centreline's file names, 0 for none.
    int RoadEpsg() const { return m_roadEpsg; }
    // Each point's station, in the order of PointPlaces(); none has one when the road cannot
    // be read, and the list is empty when the lot names none (or has no points).
    const std::vector<PointStation>& Stations() const { return m_stations; }

private:
    void ReadAlignment(const LotPlaceSettings& settings);

    std::vector<PositionsFile> m_positions;
    Track m_track;
    bool m_hasSource = false;
    std::unique_ptr<SiteCrs> m_crs;
    std::vector<Bilingual> m_notes;
    Bilingual m_timesNote;
    std::vector<PlacesFileRead> m_trackFiles, m_positionsFiles, m_alignmentFiles;
    std::optional<LotAlignment> m_alignment;
    std::optional<Alignment> m_road;
    int m_roadEpsg = 0;
    std::vector<PointStation> m_stations;
    std::vector<std::optional<LatLon>> m_drops;
    std::vector<PointPlace> m_points;
};

// Reads the reference system named "EPSG:6677" (or "6677"); false with the reason for a
// text that names none.
bool ReadEpsgCode(const QString& text, int* code, Bilingual* problem);
