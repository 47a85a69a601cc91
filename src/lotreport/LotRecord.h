#pragma once

#include "lotsession/LotSession.h"

#include <QDate>
#include <QStringList>
#include <optional>

// The lot as a quality record, the same in the report and the workbook: who tested what
// where, under which rules, from which day files as they were read, and every change made
// by hand to what the gaps formed. Dates follow the day files' own order in each language.

// The program that made a record and its version, "VX-2968 2.2.0".
QString ProgramText();
// The day's part of a moment as the day files write it.
QString DateText(const QDate& date, UiLanguage uiLanguage);

// The header as label/value pairs: site, section or lot, layer, material, tester, weather,
// temperature, the test dates, the date of issue and the program. Remarks come apart, as
// they may run over several lines.
std::vector<QStringList> RecordHeader(const LotSession& lot, const QDate& issued,
                                      UiLanguage uiLanguage);
// The rules the points were formed and judged by, as label/value pairs.
std::vector<QStringList> RecordRules(const LotSession& lot, UiLanguage uiLanguage);

// The lot's name and the date of issue, at the foot of every sheet.
QString LotFooterNote(const LotSession& lot, const QDate& issued, UiLanguage uiLanguage);

// "DRAFT" in both scripts where the report is Japanese.
QString DraftMark(UiLanguage uiLanguage);
// Why the record is a draft and has no verdict; empty when it is final.
QString DraftText(const LotSession& lot, UiLanguage uiLanguage);
// The lot's state in one line: its verdict when the record would be final, else DRAFT and why,
// so that the window never shows a verdict the record withholds.
QString LotStateLine(const LotSession& lot, UiLanguage uiLanguage);

// What each day file was when the points were formed from it.
struct RecordDay {
    QString Name;
    QString Hash;  // the SHA-256 of the file as read, in hex; the report prints its first 12
    QString State; // changed, missing or unreadable since the lot was saved; empty when not
    std::optional<int> Diameter; // mm
    std::optional<double> Poisson;
    QString Formulas; // "BU", "BO", "BU, BO"
    int Drops = 0;
};
std::vector<RecordDay> RecordDays(const LotSession& lot, UiLanguage uiLanguage);
QStringList DayHeadings(UiLanguage uiLanguage);
// A day's row of the report: its hash to 12 digits.
QStringList DayCells(const RecordDay& day);

// Each file the places come from, GPS tracks, the positions files beside the days and the
// centreline's LandXML file, as the places were read from it.
struct RecordPlaceFile {
    QString Name;
    QString Kind;  // "GPS track", "positions file" or the centreline's
    QString Hash;  // SHA-256 in hex; the report prints its first 12
    QString State; // changed, missing or unreadable since the lot was saved; empty when not
};
std::vector<RecordPlaceFile> RecordPlaceFiles(const LotSession& lot, UiLanguage uiLanguage);
QStringList PlaceFileHeadings(UiLanguage uiLanguage);
QStringList PlaceFileCells(const RecordPlaceFile& file);
// The clock the drops are placed by, the reference system and, where the lot has one, the
// centreline with how its stations are written and how far off a point may lie, as
// label/value pairs.
std::vector<QStringList> RecordPlaceSettings(const LotSession& lot, UiLanguage uiLanguage);
// Each placed point: its number, latitude and longitude, northing and easting where the lot
// names a reference system, its station and offset (or why it has none) where it names a
// centreline, the spread of its drops and whether the plate moved.
std::vector<QStringList> RecordPointPlaces(const LotSession& lot, UiLanguage uiLanguage);
// The line under the points' places that explains the mark of a station another part of the
// road is as near to; empty when no point's station has it.
QString StationFootnote(const LotSession& lot, UiLanguage uiLanguage);

enum class EditKind { Exclusion, Inclusion, Split, Join, PointLeftOut, Location };

// One change by hand, with its drop as the engineer saw it.
struct RecordEdit {
    EditKind Kind = EditKind::Split;
    int Point = -1; // from 0; -1 when its drop is lost
    QString File;   // the day file's name
    QString No;     // empty for a drop known by its line alone
    int Line = 0;
    QDateTime When;
    std::optional<double> K, E; // of excluded and included drops
    QString Reason;
    bool Lost = false; // its drop is no longer in the file: it applies to nothing
    QString By;        // who made it and when (UTC), from the lot's notes; empty for an edit
    QDateTime At;      // made before edits were noted
};
// Exclusions and inclusions, splits, joins and points left out in the order of the drops;
// marks whose drop is lost too, as nothing else shows them.
std::vector<RecordEdit> RecordEdits(const LotSession& lot, UiLanguage uiLanguage);
QString EditKindText(const RecordEdit& edit, UiLanguage uiLanguage);
QStringList EditHeadings(UiLanguage uiLanguage);
QStringList EditCells(const RecordEdit& edit, UiLanguage uiLanguage);

// "Tested by (signature)" and "Checked by (signature)", each signed with a date.
QStringList SignLabels(UiLanguage uiLanguage);
QString SignDateLabel(UiLanguage uiLanguage);
