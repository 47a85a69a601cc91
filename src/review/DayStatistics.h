#pragma once

#include "DayFile.h"

#include <vector>

// The values a day's statistics are taken of: P0, D0, K, E and each further displacement.
// `Answer` is the index into ResultEntry::Answer (1 P0, 2 D0, 3..6 D1..D4); K and E use
// 0 with their own flag.
struct Quantity {
    enum class Kind { Answer, K, E };
    Kind What = Kind::Answer;
    int Answer = 0;

    double ValueOf(const ResultEntry& e) const;
    bool IsKOrE() const { return What != Kind::Answer; }
    const QString& Format() const;
};

struct ColumnStatistics {
    int Count = 0; // defined values only
    double Mean = 0.0;
    double StdDev = 0.0;    // sample standard deviation (n - 1); needs two values
    double Variation = 0.0; // coefficient of variation in %, StdDev / Mean
    double Min = 0.0;
    double Max = 0.0;
    bool HasSpread() const { return Count >= 2; }
};

// Undefined values (shown "------" or " Calc Error") are left out.
ColumnStatistics ComputeStatistics(const std::vector<double>& values, bool kOrE);

// P0, D0, K, E, then the day's further displacements.
std::vector<Quantity> DayQuantities(const DayFile& day);

// Statistics of `quantities` over `rows` (indices into day.Rows; all rows when empty).
std::vector<ColumnStatistics> DayStatistics(const DayFile& day,
                                            const std::vector<Quantity>& quantities,
                                            const std::vector<int>& rows = {});

// The rows whose K or E lies outside the day's mean ± 2 standard deviations: the
// operator may have had a bad drop there.
std::vector<bool> MarkOutliers(const DayFile& day);
