#pragma once

#include "geo/SitePlanData.h"

#include <QLineF>
#include <QRectF>
#include <QStringList>
#include <functional>
#include <vector>

// How big marks and texts come out where the plan is drawn: pixels on a screen, millimetres
// on paper.
struct PlanStyle {
    double Marker = 4.0;      // half the size of a point's marker
    double LineHeight = 14.0; // of a text line
    std::function<double(const QString&)> TextWidth;
};

// A moved plate's ring around its marker, in marker sizes.
inline constexpr double MovedRingFactor = 1.8;

struct PlanMark {
    int Number = 0;
    Verdict Result = Verdict::None;
    bool Moved = false;
    QPointF At;
    bool Labelled = false; // false where the number found no free room near its marker
    QRectF Label;          // the number's line box
    QLineF Leader;         // from the marker to a number set farther off; null beside it
};

// A stake of the road within the frame: a tick across the road, its label beside the tick's
// end on the road's right (looking towards increasing station).
struct PlanStakeMark {
    QLineF Tick;
    QString Label;
    bool Labelled = false; // false where the label would cover a point or another stake's label
    QRectF LabelBox;
};

// A legend's entry: its sign drawn as a point of that kind would be, and its text.
struct PlanLegendEntry {
    Verdict Result = Verdict::None;
    bool Moved = false;      // the ring of a moved plate, with no marker inside
    bool Centreline = false; // a short stretch of the centreline, no marker
    QPointF At;
    QString Text;
    QStringList Lines; // the text wrapped to the room it has
    QPointF TextAt;    // top-left of its first line's box
};

// Everything a site plan draws, placed in the rectangle it was laid out for.
struct SitePlanLayout {
    bool Empty = true;        // no point has a place: only `NoPlaceText` is said, at `SystemAt`
    QString NoPlaceText;      // "No positions"
    QRectF Frame;             // the plan's border
    double UnitsPerMetre = 1; // one scale for east and north, north up
    std::vector<PlanMark> Marks;
    std::vector<QLineF> Centreline; // its pieces within the frame, drawn beneath the points
    std::vector<PlanStakeMark> Stakes;
    double BarMetres = 0;
    QLineF Bar; // the scale bar, `BarText` above it
    QString BarText;
    QPointF NorthTip, NorthBase; // the arrow, "N" above its tip
    QString SystemText;
    QPointF SystemAt;
    std::vector<PlanLegendEntry> Legend;
    QStringList Unplaced; // lines beside the plan: "No position: 3, 7, 12"
    QPointF UnplacedAt;
};

// True when at least one point has a place to draw.
bool HasPlacedPoint(const SitePlanData& data);

// The longest of 1, 2 or 5 × 10ⁿ metres not over `metres`.
double RoundBarMetres(double metres);

// Lays the plan into `rect`: the placed points' extent (at least 10 m each way) fitted into
// the frame at one scale, centred, with room for markers and numbers; the road's centreline
// and its stakes where they cross the frame; the legend, scale bar and north arrow beside it;
// the system below; the points without a place listed.
SitePlanLayout LaySitePlan(const SitePlanData& data, const QRectF& rect, const PlanStyle& style,
                           UiLanguage language);
