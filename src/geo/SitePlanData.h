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

// What a site plan draws: the points in metres east and north, and the system they are in.
struct SitePlanData {
    std::vector<PlanPoint> Points;
    // "EPSG:6677 JGD2011 / Japan Plane Rectangular CS IX", or the local system east and
    // north of the lot's first placed point.
    Bilingual System;
};
