#pragma once

#include "LotVerdict.h"

// The points as the office's scripts read them: a heading line and one line per point,
// comma-separated, the first drop in ISO 8601, means with one decimal (D0 three), and
// "pass", "fail" or nothing. Lines end in LF.
QString PointsCsv(const std::vector<LotPoint>& points, const Requirement& need);
QString PointsCsvHeading();
// The lines alone, numbered from `firstNumber`: a script's points come a day at a time.
QString PointsCsvLines(const std::vector<LotPoint>& points, const Requirement& need,
                       int firstNumber);

// A mean as the lot's tables write it: P0, K and E with one decimal, D0 with three.
QString MeanText(bool has, double value, int decimals);
