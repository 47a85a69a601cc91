#pragma once

#include "shell/Bilingual.h"

#include <QString>
#include <optional>
#include <vector>

// A place in the site's plane coordinates, in metres: northing first, as surveyors and
// LandXML write it.
struct PlanePoint {
    double North = 0.0;
    double East = 0.0;
};

enum class ElementKind { Line, Arc, Spiral };

// One piece of a centreline. Its curvature changes linearly with the length along it (a
// clothoid), is constant (an arc) or zero (a line); positive curvature turns left. The
// heading is the direction of travel, in radians counter-clockwise from east.
struct AlignmentElement {
    ElementKind Kind = ElementKind::Line;
    PlanePoint Start;
    double Heading = 0.0;
    double Length = 0.0;
    double CurvatureStart = 0.0;
    double CurvatureEnd = 0.0;
    double Along = 0.0; // length along the chain to its start

    // The places at evenly spaced lengths of a clothoid, from which any other is one short
    // integration away; empty for lines and arcs.
    std::vector<PlanePoint> Nodes;
    PlanePoint Middle; // every point of the element lies within Length / 2 of it

    double HeadingAt(double s) const;
    PlanePoint At(double s) const;
};

// A clothoid turning more than this is no road's and is refused.
constexpr double LargestSpiralTurn = 6.283185307179586;

AlignmentElement LineElement(PlanePoint start, PlanePoint end);
AlignmentElement ArcElement(PlanePoint start, double heading, double length, double curvature);
AlignmentElement SpiralElement(PlanePoint start, double heading, double length,
                               double curvatureStart, double curvatureEnd);

// Where the stationing jumps: from `Internal` (staStart plus the length along the chain)
// on, stations count on from `Ahead`.
struct StationEquation {
    double Internal = 0.0;
    double Back = 0.0;
    double Ahead = 0.0;
};

enum class StationMiss { None, BeforeStart, AfterEnd, TooFar };

// A point named along the centreline: the foot of its perpendicular on the chain.
struct StationOffset {
    StationMiss Miss = StationMiss::None;
    double Station = 0.0;  // with the station equations applied
    double Internal = 0.0; // staStart plus the length along the chain to the foot
    double Offset = 0.0;   // right of the direction of increasing station positive
    double Distance = 0.0; // to the nearest point of the chain, also when it gives no station
    // Another foot, more than 0.1 m away along the chain (another part of a winding road,
    // not the same joint found from both its elements), lies as near to within 1 mm: the
    // nearer of the two is taken all the same, and the operator should look.
    bool Ambiguous = false;

    bool HasStation() const { return Miss == StationMiss::None; }
    // Why there is no station; empty when there is one.
    Bilingual Reason(double limit) const;
};

constexpr double DefaultOffsetLimit = 50.0;

struct Alignment {
    QString Name;
    double StaStart = 0.0;
    std::vector<AlignmentElement> Elements; // joined end to start, Along filled in
    std::vector<StationEquation> Equations; // by Internal, ascending

    double Length() const;
    // The station of an internal station (staStart plus a length along the chain).
    double StationOf(double internal) const;
    StationOffset Locate(PlanePoint point, double limit = DefaultOffsetLimit) const;
};

// Sets each element's length along the chain from the lengths before it.
void ChainElements(std::vector<AlignmentElement>* elements);
