#pragma once

#include "LotPoints.h"

#include <optional>

// What a point's K-NWR and E-NWR must reach; with both, both must hold.
struct Requirement {
    std::optional<double> K; // MN/m3
    std::optional<double> E; // MN/m2
    bool Any() const { return K || E; }
    bool operator==(const Requirement&) const = default;
};

enum class Verdict { None, Pass, Fail };
QString VerdictWord(Verdict verdict); // "pass", "fail" or empty: the words of the files
Bilingual VerdictText(Verdict verdict);

struct PointVerdict {
    Verdict Result = Verdict::None; // None: no requirement, or a required value missing
    std::optional<double> DiffK;    // mean − required
    std::optional<double> DiffE;
};
PointVerdict JudgePoint(const PointValues& values, const Requirement& need);

enum class LotRule { EveryPoint, Characteristic };
Bilingual RuleText(LotRule rule);

inline constexpr double DefaultQuantileFactor = 1.28; // 10 % quantile of a normal distribution
// What the window accepts, and so what a lot file or a script may ask for.
inline constexpr double LargestRequirement = 100000.0; // MN/m3 or MN/m2
inline constexpr double LargestQuantileFactor = 10.0;

// The points' values of K or E taken together.
struct ValueSummary {
    int Count = 0;
    double Mean = 0.0;
    double StdDev = 0.0; // n − 1; needs two points
    double Min = 0.0;
    double Max = 0.0;
    std::optional<double> Characteristic; // mean − k·SD; needs two points
};

struct LotSummary {
    int Points = 0;
    int Excluded = 0;  // left out by hand, with a reason
    int WithValue = 0; // points with every required value (any value without a requirement)
    int Passed = 0;
    double PassedShare = 0.0; // of the points with a value, 0..1
    ValueSummary K;
    ValueSummary E;
    Verdict Result = Verdict::None;
    Bilingual Why; // what the verdict rests on, or why there is none
};

struct LotJudgement {
    Requirement Need;
    double QuantileFactor = DefaultQuantileFactor;
    LotRule Rule = LotRule::EveryPoint;
    bool operator==(const LotJudgement&) const = default;
};

LotSummary SummariseLot(const std::vector<LotPoint>& points, const LotJudgement& judgement);
ValueSummary SummariseValues(const std::vector<double>& values, double quantileFactor);
