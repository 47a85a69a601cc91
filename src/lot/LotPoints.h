#pragma once

#include "shell/Bilingual.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

// E after Burmister ("BU") or Boussinesq ("BO"): the two are never averaged together.
enum class CalcType { Burmister, Boussinesq };
// "BU" or "BO", as a day file's last column names the calculation type.
QString CalcTypeCode(CalcType type);
CalcType CalcTypeOfCode(QStringView code); // anything but "BO" is Burmister

// One drop of a lot, as its day file holds it. -1 (any negative) in K or E: undefined.
struct LotDrop {
    int File = 0; // index into the lot's day files
    int Line = 0; // line number in that file, from 1
    QString No;
    QDateTime When;
    double P0 = -1.0;
    double D0 = -1.0;
    double K = -1.0;
    double E = -1.0;
    CalcType Calc = CalcType::Burmister;
};

// A drop named the way it is found again when the lot is reopened: its day file, the line it
// was last seen on, and what the drop is (its number, moment and values), so that it is found
// wherever its line has moved. A lot file of the first version named the line alone: its
// drops have an empty No until placed in a file unchanged since.
struct DropRef {
    int File = 0;
    int Line = 0; // from 1
    QString No;
    QDateTime When;
    double P0 = -1.0, D0 = -1.0, K = -1.0, E = -1.0;
    // Not found in its file as the file is now: it applies to no drop until the engineer
    // removes it; it is kept in the lot file as it was.
    bool Lost = false;

    bool Identified() const { return !No.isEmpty(); }
    // Same file and line: the place it applies to now.
    bool SamePlace(const DropRef& o) const { return File == o.File && Line == o.Line; }
    bool operator==(const DropRef&) const = default;
    // By place.
    bool operator<(const DropRef& o) const
    {
        return File != o.File ? File < o.File : Line < o.Line;
    }
};
// The reference of a drop as it is now.
DropRef RefOf(const LotDrop& drop);
// Whether `ref` names `drop`: the same number, moment and values.
bool Names(const DropRef& ref, const LotDrop& drop);

enum class ExclusionReason { Seating, PlateMoved, WeightNotCaught, Other };
inline constexpr int ExclusionReasonCount = 4;
Bilingual ReasonText(ExclusionReason reason);

// A drop excluded (or, with Used, included against the seating count) by hand.
struct DropChoice {
    DropRef Drop;
    bool Used = false;
    ExclusionReason Reason = ExclusionReason::Other;
    QString Text; // the free text of Other

    Bilingual Shown() const;
    bool operator==(const DropChoice&) const = default;
};

// What the engineer says of a point: where it was tested, and whether it is left out of
// the lot (a test that gave no value cannot just disappear: it is left out with a reason).
// It belongs to the point that holds its drop.
struct PointMark {
    DropRef Drop;     // the point's first drop when the mark was made
    QString Location; // station and offset, e.g. "No.12+5.0 L 2.0 m"
    bool Excluded = false;
    QString Reason; // why it is left out
    bool operator==(const PointMark&) const = default;
};

// The engineer's changes to the points the gaps form.
struct LotEdits {
    std::vector<DropRef> Splits; // a new point starts at the drop
    std::vector<DropRef> Joins;  // the point starting at the drop joins the one before it
    std::vector<DropChoice> Choices;
    std::vector<PointMark> Marks;
    bool operator==(const LotEdits&) const = default;
};

struct PointRules {
    int GapSeconds = 60; // more than this between two drops starts a new point
    int Seating = 0;     // drops at the start of every point left out of its means
    int LeastUsed = 1;   // used drops a point needs for its values; fewer give it none
    bool operator==(const PointRules&) const = default;
};
// What the window accepts, and so what a lot file or a script may ask for.
inline constexpr int LongestGapSeconds = 24 * 3600;
inline constexpr int MostSeatingDrops = 99;
inline constexpr int MostLeastUsed = 99;

enum class DropState { Used, Seating, Excluded };

struct PointDrop {
    int Index = 0; // into the lot's drops
    DropState State = DropState::Used;
    const DropChoice* Choice = nullptr; // the hand's choice, if any (points into LotEdits)
};

struct PointValues {
    int Drops = 0;
    int Used = 0; // not left out, and with at least one value in a mean
    QDateTime FirstDrop;
    bool HasP0 = false, HasD0 = false, HasK = false, HasE = false;
    double P0 = 0.0, D0 = 0.0, K = 0.0, E = 0.0;
    // Burmister and Boussinesq drops among the used ones: no E mean then.
    bool MixedCalcTypes = false;
    // The rules' least used drops when the point fell short of them: no means then.
    int ShortOf = 0;
};

// The means P0, D0, K and E as every table of a lot writes them, on the screen, on paper and
// in the points file: one decimal, D0 three; empty where there is no mean.
QStringList MeanTexts(const PointValues& values);

struct LotPoint {
    std::vector<PointDrop> Drops;
    PointValues Values;
    const PointMark* Mark = nullptr; // points into LotEdits

    QString Location() const { return Mark ? Mark->Location : QString(); }
    bool Excluded() const { return Mark && Mark->Excluded; }
};

// Finds every edit's drop in the day files as they are now (`drops`, in file order): a
// reference follows its drop to wherever its line moved, and is Lost when its drop is gone.
// One of the first version, which names a line alone, is taken at its line in a file
// unchanged since the lot was saved (`unchanged`, by file) and is Lost in any other.
void PlaceEdits(const std::vector<LotDrop>& drops, const std::vector<bool>& unchanged,
                LotEdits* edits);
// Every reference of the edits, for whatever needs them all.
std::vector<DropRef*> RefsOf(LotEdits* edits);
std::vector<const DropRef*> RefsOf(const LotEdits& edits);

// The points of `drops` (in file order, each file's drops in line order): a new point at
// each file's first drop, wherever more than the gap passes, and at every split; joins
// remove a boundary within a file. Lost edits apply to no drop. A mark belongs to the point
// holding its drop (the first such mark, when two fall on one point).
std::vector<LotPoint> FormPoints(const std::vector<LotDrop>& drops, const PointRules& rules,
                                 const LotEdits& edits);

// Means over the used drops; a value undefined in a drop is left out of that mean.
PointValues PointValuesOf(const std::vector<LotDrop>& drops, const std::vector<PointDrop>& point);

// Why a point has no E although its drops have one.
Bilingual NoEMeanReason();
// Why a point has no value or no E mean (its drops mixing formulas, none used, every one a
// seating drop); empty when it has both.
Bilingual PointNoteOf(const LotPoint& point);
