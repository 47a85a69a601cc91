#pragma once

#include "LotVerdict.h"

#include "shell/InputFile.h"

#include <QByteArray>
#include <QDateTime>
#include <optional>

// What the report's header says about the lot.
struct LotHeader {
    QString Site;
    QString Section; // section or lot
    QString Layer;
    QString Operator; // who tested
    QString Remarks;
    QString Material;
    QString Weather;
    QString Temperature; // °C, as typed
    // The method, which no day file holds: the test's standard, the logger's serial number
    // and the date it was last calibrated, as typed.
    QString Standard;
    QString LoggerSerial;
    QString Calibration;
    bool operator==(const LotHeader&) const = default;
};

// A day file as the lot last saw it.
struct LotDayFile {
    QString Path;
    qint64 Size = 0;
    QByteArray Sha256; // hex
    // A day file's drops in its order, each as "No digest" (DropDigest), so that a change can
    // be said drop by drop; empty for other files and in lots of versions before 3.
    QStringList Drops;
    bool operator==(const LotDayFile&) const = default;
};

// What changed between two days' drops (LotDayFile::Drops), by number: "9 drops then, 8
// now; gone: 00002". Empty when either list is unknown.
Bilingual DropChanges(const QStringList& then, const QStringList& now);

// How a station is written: "No.12+5.00" in stakes of an interval (20 m on Japanese roads),
// or "0+245.000" in kilometres and metres.
enum class StationForm { Stakes, Kilometres };

// The road's centreline the points are named along: a LandXML file's alignment.
struct LotAlignment {
    LotDayFile File; // as last seen, checked as a day file is
    QString Name;    // the alignment chosen of the file's
    StationForm Form = StationForm::Stakes;
    double Interval = 20.0; // m between stakes
    // A point further than this from the centreline gets no station, m.
    double OffsetLimit = 50.0;
    bool operator==(const LotAlignment&) const = default;
};
// What the window and a lot file accept.
inline constexpr double LargestStationInterval = 1000.0;
inline constexpr double LargestOffsetLimit = 10000.0;

// Where the lot's drops are placed from: the positions files beside its day files and more.
struct LotPlaceSettings {
    std::vector<LotDayFile> Tracks; // GPS track files the engineer added, as last seen
    std::optional<int> UtcOffset;   // of the drops' clock, minutes east of UTC; none: the
                                    // computer's own zone
    int Epsg = 0;                   // the site's reference system; 0: none
    // The positions files beside the day files, as last seen; one that was not there then
    // is not named.
    std::vector<LotDayFile> Positions;
    std::optional<LotAlignment> Alignment; // none: the points have no station
    bool operator==(const LotPlaceSettings&) const = default;
};
// What the window and a lot file accept: the zones of the earth.
inline constexpr int LargestUtcOffsetMinutes = 14 * 60;

// The engineer's work on a lot: everything needed to form and judge its points again from
// its day files, which it never writes to.
// Who made an edit by hand and when, and why where the edit holds no reason of its own (a
// split, a join): the record's account of each edit, kept for as long as the lot is.
struct EditNote {
    QString Kind; // "split", "join", "exclusion", "inclusion", "location", "point left out",
                  // "point taken back"
    DropRef Drop;
    QString By;
    QDateTime At; // UTC
    QString Reason;
    bool operator==(const EditNote&) const = default;
};

struct LotDocument {
    LotHeader Header;
    LotJudgement Judgement;
    PointRules Rules;
    LotEdits Edits;
    std::vector<LotDayFile> Files;
    LotPlaceSettings Places;
    std::vector<EditNote> Notes; // in the order the edits were made
    bool operator==(const LotDocument&) const = default;
};

// The day file at `path` as it is now; Size -1 when it cannot be read.
LotDayFile DescribeDayFile(const QString& path);
// The same of any file the lot names, read within its own `limit`.
LotDayFile DescribeFile(const QString& path, const InputLimit& limit);
// The same of a file's bytes already read.
LotDayFile DescribeDayBytes(const QString& path, const QByteArray& bytes);

enum class DayFileState { Same, Changed, Missing, Unreadable };
// `read` is the file as read now and `now` its description (DescribeDayBytes of its bytes).
DayFileState CompareDayFile(const LotDayFile& saved, const InputRead& read, const LotDayFile& now);
DayFileState CheckDayFile(const LotDayFile& saved);
// What became of a day file since the lot was saved, as one line; empty when it is as it was.
Bilingual DayFileChange(const LotDayFile& saved, const InputRead& read, const LotDayFile& now);
// The same of a file the drops are placed from (a track or a positions file).
Bilingual PlacesFileChange(const LotDayFile& saved, const InputRead& read, const LotDayFile& now);
// One line per day file that has changed or gone since the lot was saved; empty when all
// are as they were.
Bilingual DayFileChanges(const LotDocument& lot);

QByteArray LotToJson(const LotDocument& lot);
// False with the reason in `problem` when `json` is no lot file or is damaged.
bool LotFromJson(const QByteArray& json, LotDocument* lot, Bilingual* problem);

// Reads a lot file; a damaged one is left as it is and its problem named.
bool ReadLotFile(const QString& path, LotDocument* lot, Bilingual* problem);
// Writes the lot whole or not at all, never over one of its day files. A file at `path`
// that is not a lot file (a damaged one included) is never replaced: the engineer may still
// want what is in it.
bool WriteLotFile(const QString& path, const LotDocument& lot, Bilingual* problem);
