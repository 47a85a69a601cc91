#pragma once

#include "days/DayFile.h"

#include <vector>

// The values a day's statistics are taken of: P0, D0, K, E and each further displacement.
// `Answer` is the index into ResultEntry::Answer (1 P0, 2 D0, 3..6 D1..D4); K and E use
// 0 with their own flag.
struct Quantity {
    enum class Kind { Answer, K, E };
    Quantity() = default;
    Quantity(Kind what, int answer, QString calcType = {})
        : What(what), Answer(answer), CalcType(std::move(calcType))
    {
    }

    Kind What = Kind::Answer;
    int Answer = 0;
    // "BU" or "BO" for E where the rows mix the two formulas: their moduli are not the same
    // measure, so each is taken apart. Empty for every row.
    QString CalcType;

    double ValueOf(const ResultEntry& e) const;
    bool Covers(const ReviewRow& row) const
    {
        return CalcType.isEmpty() || row.CalcType == CalcType;
    }
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

// True when `rows` (indices into day.Rows) hold both Burmister and Boussinesq results.
bool MixesFormulas(const DayFile& day, const std::vector<int>& rows);

// P0, D0, K, E (of each formula apart where the rows taken mix them), then the day's further
// displacements.
std::vector<Quantity> DayQuantities(const DayFile& day, bool mixesFormulas);

// Statistics of `quantities` over `rows` (indices into day.Rows).
std::vector<ColumnStatistics> DayStatistics(const DayFile& day,
                                            const std::vector<Quantity>& quantities,
                                            const std::vector<int>& rows);

// The rows whose K or E lies outside the day's mean ± 2 standard deviations (E against
// its own formula's), above or below: the operator may have had a bad drop there. Taken
// from the whole day's `quantities` and their `statistics`, whatever rows are chosen.
std::vector<bool> MarkOutliers(const DayFile& day, const std::vector<Quantity>& quantities,
                               const std::vector<ColumnStatistics>& statistics);
