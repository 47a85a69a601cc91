#pragma once

#include "LotPlaces.h"

#include "days/DayFile.h"

#include "lot/LotFile.h"

#include <array>
#include <functional>

// The lot the engineer works on in the review window: its document, the drops read from
// its day files, and the points and verdicts formed from them, kept in step after every
// change. Day files are only ever read.
class LotSession
{
public:
    explicit LotSession(UiLanguage uiLanguage);

    // A new lot of the day files (unsaved, no lot file yet).
    void New(const QStringList& dayFiles);
    // Adds a day file; false (with the reason) when it is in the lot already or unreadable.
    bool AddDayFile(const QString& path, Bilingual* problem);
    // Opens a lot file. `notice` says which day files (tracks, positions files) changed or
    // went, and which edits name drops no longer there; the points are formed from what the
    // files hold now.
    bool Open(const QString& path, Bilingual* problem, Bilingual* notice);
    // Reads the day files, positions files, tracks and centreline again, as Open does, against what
    // the lot has accepted of them: one changed, replaced or gone since keeps the lot from
    // a verdict and is named by Problems(). True when any of them is not as last read.
    bool Reread();
    // Saves to `path` (the lot's own file when empty); a damaged file there is kept.
    bool Save(const QString& path, Bilingual* problem);

    const LotDocument& Document() const { return m_lot; }
    void SetHeader(const LotHeader& header) { m_lot.Header = header; }
    void SetJudgement(const LotJudgement& judgement);
    void SetRules(const PointRules& rules);
    // Adds a GPS track to place the drops by time; false with the reason when it is in the
    // lot already or gives no place. `notice` says which of its points were left out.
    bool AddTrack(const QString& path, Bilingual* problem, Bilingual* notice);
    // The clock of the drops, minutes east of UTC; none: the computer's own zone.
    void SetUtcOffset(UtcOffset offset);
    // The site's reference system by EPSG code (0: none); false with the reason for a code
    // that gives no coordinates, which leaves the lot's as it was.
    bool SetEpsg(int code, Bilingual* problem);
    // Names the points along the centreline `name` of the LandXML file at `path` (the file's
    // only one when empty), keeping the station form and limit set before; false with the
    // reason for a file that holds none, or one in another reference system than the lot's.
    // A lot without a reference system takes the file's.
    bool SetAlignment(const QString& path, const QString& name, Bilingual* problem);
    void RemoveAlignment();
    // How stations are written and how far from the centreline a point may lie; nothing
    // without a centreline.
    void SetStations(StationForm form, double interval, double offsetLimit);
    // Where the lot's drops and points lie, placed again with every change of its points.
    const LotPlaces& Places() const { return m_places; }

    // Who makes the edits from now on, and their clock, for the notes of who edited what and
    // when (unless set: the computer's user and its clock).
    void SetEditor(const QString& by, std::function<QDateTime()> now);
    const QString& Editor() const { return m_editor; }
    // Changes at a drop (an index into Drops()) or a point (into Points()); a split or a join
    // may say why.
    void SplitAt(int drop, const QString& reason = {});
    bool JoinWithNext(int point, const QString& reason = {}); // false at a file's last point
    void Exclude(int drop, ExclusionReason reason, const QString& text);
    void Include(int drop);
    void SetLocation(int point, const QString& location);
    // Leaves a point out of the lot; a reason is required (false without one).
    bool ExcludePoint(int point, const QString& reason);
    void IncludePoint(int point);

    // What keeps the lot from a verdict while it holds, one line each: a day file missing,
    // unreadable or changed and not yet accepted, an edit whose drop is gone. The summary's
    // verdict is none while there is any.
    std::vector<Bilingual> Problems() const;
    // The day files that changed since the lot was saved, once their points are looked at,
    // are taken as they are now; so are the tracks, positions files and centreline that
    // changed, and those gone or unreadable are no longer named.
    bool HasChangedDays() const;
    void AcceptChangedDays();
    // Day files that are missing or unreadable, and their edits, are taken out of the lot.
    bool HasMissingDays() const;
    void RemoveMissingDays();
    // The edits whose drops are gone, one line each, and their removal.
    std::vector<Bilingual> LostEdits() const;
    void RemoveLostEdits();
    // Why a report of the lot can only be a draft (no verdict, or site, layer or tester not
    // filled in); empty when it is final.
    Bilingual DraftReason() const;
    // What became of each day file: the file as it is now, and its state against the lot.
    const std::vector<LotDayFile>& DayFilesNow() const { return m_now; }
    DayFileState StateOf(int file) const { return m_states[size_t(file)]; }

    // True when the lot holds work that its lot file does not (a new lot counts once edited).
    bool HasUnsavedChanges() const { return m_open && LotToJson(m_lot) != m_saved; }
    const QString& Path() const { return m_path; }
    // What the lot was made from, which none of its outputs may ever replace: its day
    // files with their positions files, its tracks, its centreline and its lot file.
    QStringList InputFiles() const;
    bool IsOpen() const { return m_open; }
    const std::vector<LotDrop>& Drops() const { return m_drops; }
    const std::vector<LotPoint>& Points() const { return m_points; }
    const LotSummary& Summary() const { return m_summary; }
    PointVerdict VerdictOf(int point) const;
    // The point holding drop `drop`, -1 for none.
    int PointOf(int drop) const;
    // The day files' names, in the lot's order, and their skipped lines.
    QString FileName(int file) const;
    const std::vector<DayFile>& Days() const { return m_days; }

private:
    // Reads every day file; says which ones, and which tracks, positions files and
    // centreline, have changed or gone since the lot was saved.
    Bilingual ReadDays();
    void ReadPlaces();
    // The tracks, positions files and centreline changed or gone since the lot recorded them.
    std::vector<Bilingual> PlacesChanges() const;
    bool HasChangedPlaces() const;
    // The positions files, tracks and centreline as last read.
    std::array<const std::vector<PlacesFileRead>*, 3> PlacesFiles() const
    {
        return {&m_places.PositionsFiles(), &m_places.TrackFiles(), &m_places.AlignmentFiles()};
    }
    // Each file as last read, in one list: day files, positions files, tracks, centreline.
    std::vector<LotDayFile> FilesRead() const;
    void Form();
    void Judge();
    void Forget(const DropRef& ref);
    DropRef RefAt(int drop) const;
    bool IsLost(const DropRef& ref) const;
    void Note(const char* kind, const DropRef& drop, const QString& reason = {});

    UiLanguage m_language;
    LotDocument m_lot; // its Files as last accepted: a change stays one until accepted
    QString m_path;
    bool m_open = false;
    std::vector<DayFile> m_days; // rows only; kept for the drops' file names and skips
    std::vector<LotDayFile> m_now;
    std::vector<DayFileState> m_states;
    std::vector<Bilingual> m_fileProblems;
    std::vector<LotDrop> m_drops;
    std::vector<LotPoint> m_points;
    LotSummary m_summary;
    LotPlaces m_places;
    QByteArray m_saved; // the document as last saved, opened or begun
    QString m_editor;
    std::function<QDateTime()> m_clock;
};
