#pragma once

#include "LotVerdict.h"

// The points as the office's scripts read them: a heading line and one line per point,
// comma-separated, the first drop in ISO 8601, means with one decimal (D0 three), and
// "pass", "fail" or nothing (a point left out by hand is not judged). A lot's points add
// their location as a tenth column, quoted when it holds a comma or a quote. Lines end in LF.
enum class CsvColumns { Points, PointsAndLocation };
QString PointsCsv(const std::vector<LotPoint>& points, const Requirement& need,
                  CsvColumns columns = CsvColumns::Points);
QString PointsCsvHeading(CsvColumns columns = CsvColumns::Points);
// The lines alone, numbered from `firstNumber`: a script's points come a day at a time.
QString PointsCsvLines(const std::vector<LotPoint>& points, const Requirement& need,
                       int firstNumber, CsvColumns columns = CsvColumns::Points);
