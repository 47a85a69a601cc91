#include "DayStatistics.h"

#include "record/ResultComputation.h"

#include <algorithm>
#include <cmath>

double Quantity::ValueOf(const ResultEntry& e) const
{
    switch (What) {
    case Kind::K:
        return e.K;
    case Kind::E:
        return e.E;
    case Kind::Answer:
        break;
    }
    return e.Answer[Answer];
}

const QString& Quantity::Format() const
{
    if (What == Kind::K)
        return KFormat;
    if (What == Kind::E)
        return EFormat;
    return Answer == 1 ? LoadFormat : DisplacementFormat;
}

ColumnStatistics ComputeStatistics(const std::vector<double>& values, bool kOrE)
{
    ColumnStatistics s;
    double sum = 0.0;
    for (double v : values) {
        if (!IsDefinedValue(kOrE, v))
            continue;
        s.Min = s.Count == 0 ? v : std::min(s.Min, v);
        s.Max = s.Count == 0 ? v : std::max(s.Max, v);
        sum += v;
        ++s.Count;
    }
    if (s.Count == 0)
        return s;
    s.Mean = sum / s.Count;
    if (s.Count < 2)
        return s;
    double squares = 0.0;
    for (double v : values) {
        if (IsDefinedValue(kOrE, v))
            squares += (v - s.Mean) * (v - s.Mean);
    }
    s.StdDev = std::sqrt(squares / (s.Count - 1));
    s.Variation = s.Mean != 0.0 ? s.StdDev / s.Mean * 100.0 : 0.0;
    return s;
}

bool MixesFormulas(const DayFile& day, const std::vector<int>& rows)
{
    bool bu = false;
    bool bo = false;
    for (int r : rows) {
        bu = bu || day.Rows.at(r).CalcType == QLatin1String("BU");
        bo = bo || day.Rows.at(r).CalcType == QLatin1String("BO");
    }
    return bu && bo;
}

std::vector<Quantity> DayQuantities(const DayFile& day, bool mixesFormulas)
{
    using K = Quantity::Kind;
    std::vector<Quantity> q{{K::Answer, 1}, {K::Answer, 2}, {K::K, 0}};
    if (mixesFormulas) {
        q.emplace_back(K::E, 0, QStringLiteral("BU"));
        q.emplace_back(K::E, 0, QStringLiteral("BO"));
    } else {
        q.emplace_back(K::E, 0);
    }
    for (int a = 3; a <= 6; ++a) {
        if (day.HasAnswer[a])
            q.emplace_back(K::Answer, a);
    }
    return q;
}

std::vector<ColumnStatistics> DayStatistics(const DayFile& day,
                                            const std::vector<Quantity>& quantities,
                                            const std::vector<int>& rows)
{
    std::vector<ColumnStatistics> result;
    std::vector<double> values;
    for (const Quantity& q : quantities) {
        values.clear();
        for (int r : rows) {
            if (q.Covers(day.Rows.at(r)))
                values.push_back(q.ValueOf(day.Rows.at(r).Entry));
        }
        result.push_back(ComputeStatistics(values, q.IsKOrE()));
    }
    return result;
}

std::vector<bool> MarkOutliers(const DayFile& day, const std::vector<Quantity>& quantities,
                               const std::vector<ColumnStatistics>& statistics)
{
    std::vector<bool> marked(day.Rows.size(), false);
    for (size_t r = 0; r < day.Rows.size(); ++r) {
        for (size_t i = 0; i < quantities.size(); ++i) {
            const Quantity& q = quantities[i];
            const ColumnStatistics& s = statistics[i];
            const double v = q.ValueOf(day.Rows[r].Entry);
            if (q.IsKOrE() && q.Covers(day.Rows[r]) && s.HasSpread() && IsDefinedValue(true, v) &&
                std::abs(v - s.Mean) > 2.0 * s.StdDev)
                marked[r] = true;
        }
    }
    return marked;
}
