#pragma once

#include "shell/Bilingual.h"

#include <QDateTime>
#include <QString>
#include <vector>

// E after Burmister ("BU") or Boussinesq ("BO"): the two are never averaged together.
enum class Formula { Burmister, Boussinesq };

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
    Formula Calc = Formula::Burmister;
};

// A drop named the way it is found again when the lot is reopened.
struct DropRef {
    int File = 0;
    int Line = 0;
    bool operator==(const DropRef&) const = default;
    bool operator<(const DropRef& o) const
    {
        return File != o.File ? File < o.File : Line < o.Line;
    }
};

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
};

// The engineer's changes to the points the gaps form.
struct LotEdits {
    std::vector<DropRef> Splits; // a new point starts at the drop
    std::vector<DropRef> Joins;  // the point starting at the drop joins the one before it
    std::vector<DropChoice> Choices;
};

struct PointRules {
    int GapSeconds = 60; // more than this between two drops starts a new point
    int Seating = 0;     // drops at the start of every point left out of its means
};
// What the window accepts, and so what a lot file or a script may ask for.
inline constexpr int LongestGapSeconds = 24 * 3600;
inline constexpr int MostSeatingDrops = 99;

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
    bool MixedFormula = false;
};

struct LotPoint {
    std::vector<PointDrop> Drops;
    PointValues Values;
};

// The points of `drops` (in file order, each file's drops in line order): a new point at
// each file's first drop, wherever more than the gap passes, and at every split; joins
// remove a boundary within a file. Edits that name no drop of `drops` are counted in
// `unmatched` and otherwise left alone, so that a changed file loses none of them.
std::vector<LotPoint> FormPoints(const std::vector<LotDrop>& drops, const PointRules& rules,
                                 const LotEdits& edits, int* unmatched = nullptr);

// Means over the used drops; a value undefined in a drop is left out of that mean.
PointValues PointValuesOf(const std::vector<LotDrop>& drops, const std::vector<PointDrop>& point);

// Why a point has no E although its drops have one.
Bilingual NoEMeanReason();
// Why a point has no value or no E mean (its drops mixing formulas, none used, every one a
// seating drop); empty when it has both.
Bilingual PointNoteOf(const LotPoint& point);
