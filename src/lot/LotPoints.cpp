#include "LotPoints.h"

#include <QHash>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <unordered_map>

QStringList MeanTexts(const PointValues& v)
{
    const auto mean = [](bool has, double value, int decimals) {
        return has ? QString::number(value, 'f', decimals) : QString();
    };
    return {mean(v.HasP0, v.P0, 1), mean(v.HasD0, v.D0, 3), mean(v.HasK, v.K, 1),
            mean(v.HasE, v.E, 1)};
}

namespace
{

template <typename T> bool Has(const std::vector<T>& sorted, const T& value)
{
    return std::binary_search(sorted.begin(), sorted.end(), value);
}

// The running sum of one value over a point's used drops.
struct Mean {
    double Sum = 0.0;
    int Count = 0;
    void Add(double v)
    {
        Sum += v;
        ++Count;
    }
    bool Get(double* out) const
    {
        if (Count > 0)
            *out = Sum / Count;
        return Count > 0;
    }
};

// What an identified edit and its drop share, whatever line the drop has moved to.
struct DropName {
    int File = 0;
    QString No;
    QDateTime When;
    bool operator==(const DropName&) const = default;
};

struct DropNameHash {
    size_t operator()(const DropName& name) const
    {
        return qHashMulti(0, name.File, name.No, name.When);
    }
};

// The lot's drops indexed once, so that each edit is found at once however many drops its
// day holds: by file and line (an edit of the first version) and by name (several drops when
// one was written twice).
struct DropIndex {
    QHash<std::pair<int, int>, int> AtLine;
    std::unordered_multimap<DropName, int, DropNameHash> Named;

    explicit DropIndex(const std::vector<LotDrop>& drops)
    {
        AtLine.reserve(qsizetype(drops.size()));
        Named.reserve(drops.size());
        for (size_t i = 0; i < drops.size(); ++i) {
            const LotDrop& d = drops[i];
            AtLine.insert({d.File, d.Line}, int(i)); // of one line twice, the last holds
            Named.emplace(DropName{d.File, d.No, d.When}, int(i));
        }
    }
};

} // namespace

QString CalcTypeCode(CalcType type)
{
    return type == CalcType::Burmister ? QStringLiteral("BU") : QStringLiteral("BO");
}

CalcType CalcTypeOfCode(QStringView code)
{
    return code == QLatin1String("BO") ? CalcType::Boussinesq : CalcType::Burmister;
}

Bilingual ReasonText(ExclusionReason reason)
{
    switch (reason) {
    case ExclusionReason::Seating:
        return Words("予備打撃", "seating");
    case ExclusionReason::PlateMoved:
        return Words("載荷板のずれ", "plate moved");
    case ExclusionReason::WeightNotCaught:
        return Words("重錘の捕捉ミス", "weight not caught");
    case ExclusionReason::Other:
        break;
    }
    return Words("その他", "other");
}

Bilingual DropChoice::Shown() const
{
    if (Used)
        return Words("手で採用", "included by hand");
    if (Reason == ExclusionReason::Other && !Text.trimmed().isEmpty())
        return Both(Text.trimmed());
    return ReasonText(Reason);
}

Bilingual NoEMeanReason()
{
    return Words("Burmister と Boussinesq の打撃が混在するため E の平均はありません",
                 "Burmister and Boussinesq drops mixed: no E mean");
}

Bilingual PointNoteOf(const LotPoint& point)
{
    const PointValues& v = point.Values;
    if (v.ShortOf > 0)
        return Words("採用した打撃が %1 回のみです (規則は %2 回以上)",
                     "only %1 used drop(s), where the rules ask for %2")
            .Arg(QString::number(v.Used))
            .Arg(QString::number(v.ShortOf));
    if (v.MixedCalcTypes)
        return NoEMeanReason();
    if (v.Used > 0 || v.Drops == 0)
        return {};
    const bool allSeating =
        std::all_of(point.Drops.begin(), point.Drops.end(),
                    [](const PointDrop& d) { return d.State == DropState::Seating; });
    if (allSeating)
        return Words("%1 回の打撃がすべて予備打撃です", "all its %1 drop(s) are seating drops")
            .Arg(QString::number(v.Drops));
    return Words("採用した打撃がありません", "no drop used");
}

PointValues PointValuesOf(const std::vector<LotDrop>& drops, const std::vector<PointDrop>& point)
{
    PointValues v;
    v.Drops = int(point.size());
    if (point.empty())
        return v;
    v.FirstDrop = drops[point.front().Index].When;
    Mean p0, d0, k, e;
    bool burmister = false, boussinesq = false;
    for (const PointDrop& pd : point) {
        if (pd.State != DropState::Used)
            continue;
        const LotDrop& d = drops[pd.Index];
        if (d.P0 > 0.0)
            p0.Add(d.P0);
        if (d.D0 > 0.0)
            d0.Add(d.D0);
        if (d.K >= 0.0)
            k.Add(d.K);
        if (d.E >= 0.0) {
            e.Add(d.E);
            (d.Calc == CalcType::Burmister ? burmister : boussinesq) = true;
        }
        v.Used += d.K >= 0.0 || d.E >= 0.0;
    }
    v.HasP0 = p0.Get(&v.P0);
    v.HasD0 = d0.Get(&v.D0);
    v.HasK = k.Get(&v.K);
    v.MixedCalcTypes = burmister && boussinesq;
    v.HasE = !v.MixedCalcTypes && e.Get(&v.E);
    return v;
}

DropRef RefOf(const LotDrop& d)
{
    DropRef r;
    r.File = d.File;
    r.Line = d.Line;
    r.No = d.No;
    r.When = d.When;
    r.P0 = d.P0;
    r.D0 = d.D0;
    r.K = d.K;
    r.E = d.E;
    return r;
}

bool Names(const DropRef& r, const LotDrop& d)
{
    return r.File == d.File && r.No == d.No && r.When == d.When && r.P0 == d.P0 && r.D0 == d.D0 &&
           r.K == d.K && r.E == d.E;
}

std::vector<DropRef*> RefsOf(LotEdits* edits)
{
    std::vector<DropRef*> refs;
    for (DropRef& r : edits->Splits)
        refs.push_back(&r);
    for (DropRef& r : edits->Joins)
        refs.push_back(&r);
    for (DropChoice& c : edits->Choices)
        refs.push_back(&c.Drop);
    for (PointMark& m : edits->Marks)
        refs.push_back(&m.Drop);
    return refs;
}

std::vector<const DropRef*> RefsOf(const LotEdits& edits)
{
    const std::vector<DropRef*> refs = RefsOf(const_cast<LotEdits*>(&edits));
    return {refs.begin(), refs.end()};
}

void PlaceEdits(const std::vector<LotDrop>& drops, const std::vector<bool>& unchanged,
                LotEdits* edits)
{
    const DropIndex index(drops);
    for (DropRef* ref : RefsOf(edits)) {
        ref->Lost = true;
        if (!ref->Identified()) {
            if (ref->File < int(unchanged.size()) && unchanged[size_t(ref->File)]) {
                if (const auto at = index.AtLine.constFind({ref->File, ref->Line});
                    at != index.AtLine.cend())
                    *ref = RefOf(drops[size_t(*at)]);
            }
            continue;
        }
        // The same drop written twice in a file: the one nearest where it was, the first of
        // two as near.
        int best = -1;
        std::pair<int, int> nearest;
        for (auto [at, end] = index.Named.equal_range({ref->File, ref->No, ref->When}); at != end;
             ++at) {
            const int i = at->second;
            const std::pair<int, int> distance{std::abs(drops[size_t(i)].Line - ref->Line), i};
            if (Names(*ref, drops[size_t(i)]) && (best < 0 || distance < nearest)) {
                best = i;
                nearest = distance;
            }
        }
        if (best >= 0) {
            ref->Line = drops[size_t(best)].Line;
            ref->Lost = false;
        }
    }
}

std::vector<LotPoint> FormPoints(const std::vector<LotDrop>& drops, const PointRules& rules,
                                 const LotEdits& edits)
{
    std::vector<DropRef> splits, joins;
    for (const DropRef& r : edits.Splits)
        if (!r.Lost)
            splits.push_back(r);
    for (const DropRef& r : edits.Joins)
        if (!r.Lost)
            joins.push_back(r);
    std::sort(splits.begin(), splits.end());
    std::sort(joins.begin(), joins.end());
    std::map<DropRef, const DropChoice*> choices;
    for (const DropChoice& c : edits.Choices)
        if (!c.Drop.Lost)
            choices[c.Drop] = &c; // the latest choice of a drop holds
    std::map<DropRef, const PointMark*> marks;
    for (const PointMark& m : edits.Marks)
        if (!m.Drop.Lost)
            marks.try_emplace(m.Drop, &m);

    std::vector<LotPoint> points;
    for (size_t i = 0; i < drops.size(); ++i) {
        const LotDrop& d = drops[i];
        DropRef ref;
        ref.File = d.File;
        ref.Line = d.Line;
        const bool split = Has(splits, ref), join = Has(joins, ref);
        bool starts = i == 0 || drops[i - 1].File != d.File;
        if (!starts) {
            const qint64 gap = std::llabs(drops[i - 1].When.secsTo(d.When));
            starts = (gap > rules.GapSeconds || split) && !join;
        }
        if (starts)
            points.emplace_back();
        LotPoint& p = points.back();
        PointDrop pd{int(i),
                     int(p.Drops.size()) < rules.Seating ? DropState::Seating : DropState::Used,
                     nullptr};
        if (const auto c = choices.find(ref); c != choices.end()) {
            pd.Choice = c->second;
            pd.State = pd.Choice->Used ? DropState::Used : DropState::Excluded;
        }
        if (const auto m = marks.find(ref); m != marks.end() && !p.Mark)
            p.Mark = m->second;
        p.Drops.push_back(pd);
    }
    for (LotPoint& p : points) {
        p.Values = PointValuesOf(drops, p.Drops);
        PointValues& v = p.Values;
        if (v.Used > 0 && v.Used < rules.LeastUsed) {
            v.HasP0 = v.HasD0 = v.HasK = v.HasE = false;
            v.ShortOf = rules.LeastUsed;
        }
    }
    return points;
}
