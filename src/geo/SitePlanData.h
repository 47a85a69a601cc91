#pragma once

#include "lot/LotVerdict.h"

#include "shell/Bilingual.h"

#include <QString>
#include <vector>

// A point as the site plan shows it.
struct PlanPoint {
    int Number = 0; // as the lot's tables number it, from 1
    QString Location;
    Verdict Result = Verdict::None; // None: not judged (left out, or no value)
    bool HasPlace = false;
    double East = 0.0;  // m, in the plan's system
    double North = 0.0; // m
    bool Moved = false; // its drops spread over more than 5 m
};

// A place on the plan, in metres east and north in the plan's system.
struct PlanPlace {
    double East = 0.0;
    double North = 0.0;
};

// A stake of the road's centreline: where it stands, the direction of increasing station
// there (a unit vector east and north) and its station as the lot writes it ("No.12").
struct PlanStake {
    PlanPlace At;
    double DirectionEast = 1.0;
    double DirectionNorth = 0.0;
    QString Label;
};

// What a site plan draws: the points in metres east and north, and the system they are in.
struct SitePlanData {
    std::vector<PlanPoint> Points;
    // The road's centreline where the lot has one, as a line through these places (in order
    // of increasing station, close enough together that the line follows its curves), and
    // its stakes; both empty without. The plan is fitted to the points, not to the road:
    // the centreline is drawn where it crosses the plan.
    std::vector<PlanPlace> Centreline;
    std::vector<PlanStake> Stakes;
    // "EPSG:6677 JGD2011 / Japan Plane Rectangular CS IX", or the local system east and
    // north of the lot's first placed point.
    Bilingual System;
};
