#include "DayStatistics.h"

#include "results/ResultComputation.h"

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
    const auto look = [&](const ReviewRow& row) {
        bu = bu || row.CalcType == QLatin1String("BU");
        bo = bo || row.CalcType == QLatin1String("BO");
    };
    if (rows.empty())
        std::for_each(day.Rows.begin(), day.Rows.end(), look);
    for (int r : rows)
        look(day.Rows.at(r));
    return bu && bo;
}

std::vector<Quantity> KAndE(const DayFile& day, const std::vector<int>& rows)
{
    using K = Quantity::Kind;
    if (MixesFormulas(day, rows))
        return {{K::K, 0}, {K::E, 0, QStringLiteral("BU")}, {K::E, 0, QStringLiteral("BO")}};
    return {{K::K, 0}, {K::E, 0}};
}

std::vector<Quantity> DayQuantities(const DayFile& day, const std::vector<int>& rows)
{
    std::vector<Quantity> q{{Quantity::Kind::Answer, 1}, {Quantity::Kind::Answer, 2}};
    for (const Quantity& ke : KAndE(day, rows))
        q.push_back(ke);
    for (int a = 3; a <= 6; ++a) {
        if (day.HasAnswer[a])
            q.push_back({Quantity::Kind::Answer, a});
    }
    return q;
}

std::vector<ColumnStatistics> DayStatistics(const DayFile& day,
                                            const std::vector<Quantity>& quantities,
                                            const std::vector<int>& rows)
{
    std::vector<ColumnStatistics> result;
    for (const Quantity& q : quantities) {
        std::vector<double> values;
        const auto add = [&](const ReviewRow& row) {
            if (q.Covers(row))
                values.push_back(q.ValueOf(row.Entry));
        };
        if (rows.empty())
            std::for_each(day.Rows.begin(), day.Rows.end(), add);
        for (int r : rows)
            add(day.Rows.at(r));
        result.push_back(ComputeStatistics(values, q.IsKOrE()));
    }
    return result;
}

std::vector<bool> MarkOutliers(const DayFile& day)
{
    const std::vector<Quantity> ke = KAndE(day);
    const std::vector<ColumnStatistics> stats = DayStatistics(day, ke);
    std::vector<bool> marked(day.Rows.size(), false);
    for (size_t r = 0; r < day.Rows.size(); ++r) {
        for (size_t i = 0; i < ke.size(); ++i) {
            const double v = ke[i].ValueOf(day.Rows[r].Entry);
            if (ke[i].Covers(day.Rows[r]) && stats[i].HasSpread() && IsDefinedValue(true, v) &&
                std::abs(v - stats[i].Mean) > 2.0 * stats[i].StdDev)
                marked[r] = true;
        }
    }
    return marked;
}
