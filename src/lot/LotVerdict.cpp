#include "LotVerdict.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

namespace
{

// "305.7 ≥ 300.0": a value against its requirement, to one decimal unless that would hide
// which side of it the value lies.
QString Comparison(double value, double required)
{
    const bool holds = value >= required;
    int decimals = 1;
    const auto shown = [&](double v) { return QString::number(v, 'f', decimals); };
    while (decimals < 6 && (shown(value).toDouble() >= shown(required).toDouble()) != holds)
        ++decimals;
    return shown(value) + (holds ? QStringLiteral(" ≥ ") : QStringLiteral(" < ")) + shown(required);
}

// The verdict's grounds as comparisons a reader checks at a glance: "lowest K-NWR 305.7 ≥
// 300.0", one for each required value.
void AppendComparisons(Bilingual* why, const Bilingual& which, double k, double e,
                       const Requirement& need)
{
    QStringList ja, en;
    if (need.K) {
        ja << which.Ja + QStringLiteral("K-NWR ") + Comparison(k, *need.K);
        en << which.En + QStringLiteral("K-NWR ") + Comparison(k, *need.K);
    }
    if (need.E) {
        ja << which.Ja + QStringLiteral("E-NWR ") + Comparison(e, *need.E);
        en << which.En + QStringLiteral("E-NWR ") + Comparison(e, *need.E);
    }
    why->Ja += QString::fromUtf8("：") + ja.join(QString::fromUtf8("、"));
    why->En += QStringLiteral(": ") + en.join(QStringLiteral(", "));
}

Bilingual Filled(Bilingual b, const QString& a, const QString& c = QString())
{
    b.Ja = b.Ja.arg(a);
    b.En = b.En.arg(a);
    if (!c.isNull()) {
        b.Ja = b.Ja.arg(c);
        b.En = b.En.arg(c);
    }
    return b;
}

bool HasEveryRequired(const PointValues& v, const Requirement& need)
{
    if (!need.Any())
        return v.HasK || v.HasE;
    return (!need.K || v.HasK) && (!need.E || v.HasE);
}

// The characteristic rule on one required value.
bool CharacteristicHolds(const ValueSummary& s, double required)
{
    return s.Characteristic && *s.Characteristic >= required;
}

} // namespace

QString VerdictWord(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Pass:
        return QStringLiteral("pass");
    case Verdict::Fail:
        return QStringLiteral("fail");
    case Verdict::None:
        break;
    }
    return QString();
}

Bilingual VerdictText(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Pass:
        return Words("合格", "pass");
    case Verdict::Fail:
        return Words("不合格", "fail");
    case Verdict::None:
        break;
    }
    return Words("判定なし", "no verdict");
}

Bilingual RuleText(LotRule rule)
{
    return rule == LotRule::EveryPoint ? Words("全測点が規定値以上", "every point")
                                       : Words("特性値 (平均 − k·標準偏差) が規定値以上",
                                               "characteristic value (mean − k·SD)");
}

PointVerdict JudgePoint(const PointValues& v, const Requirement& need)
{
    PointVerdict out;
    if (need.K && v.HasK)
        out.DiffK = v.K - *need.K;
    if (need.E && v.HasE)
        out.DiffE = v.E - *need.E;
    if (!need.Any() || !HasEveryRequired(v, need))
        return out;
    const bool holds = (!out.DiffK || *out.DiffK >= 0.0) && (!out.DiffE || *out.DiffE >= 0.0);
    out.Result = holds ? Verdict::Pass : Verdict::Fail;
    return out;
}

ValueSummary SummariseValues(const std::vector<double>& values, double quantileFactor)
{
    ValueSummary s;
    s.Count = int(values.size());
    if (values.empty())
        return s;
    double sum = 0.0;
    for (double v : values)
        sum += v;
    s.Mean = sum / s.Count;
    const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
    s.Min = *lo;
    s.Max = *hi;
    if (s.Count < 2)
        return s;
    double squares = 0.0;
    for (double v : values)
        squares += (v - s.Mean) * (v - s.Mean);
    s.StdDev = std::sqrt(squares / (s.Count - 1));
    s.Characteristic = s.Mean - quantileFactor * s.StdDev;
    return s;
}

LotSummary SummariseLot(const std::vector<LotPoint>& points, const LotJudgement& j)
{
    LotSummary out;
    out.Points = int(points.size());
    std::vector<double> ks, es;
    QStringList without; // points that gave no required value and were not left out
    for (size_t i = 0; i < points.size(); ++i) {
        const LotPoint& p = points[i];
        if (p.Excluded()) {
            ++out.Excluded;
            continue;
        }
        const PointValues& v = p.Values;
        if (v.HasK)
            ks.push_back(v.K);
        if (v.HasE)
            es.push_back(v.E);
        if (!HasEveryRequired(v, j.Need)) {
            without << QString::number(i + 1);
            continue;
        }
        ++out.WithValue;
        out.Passed += JudgePoint(v, j.Need).Result == Verdict::Pass;
    }
    out.PassedShare = out.WithValue > 0 ? double(out.Passed) / out.WithValue : 0.0;
    out.K = SummariseValues(ks, j.QuantileFactor);
    out.E = SummariseValues(es, j.QuantileFactor);

    if (!j.Need.Any()) {
        out.Why = Words("規定値が入力されていません", "no required value entered");
    } else if (!without.isEmpty()) {
        // A test that gave no value did not succeed: it is never passed over in silence.
        out.Why = Filled(Words("測点 %1 に値がありません。理由を付けて除外してください",
                               "point(s) %1 have no value: leave each out with a reason"),
                         without.join(QStringLiteral(", ")));
    } else if (out.WithValue == 0) {
        out.Why = Words("値のある測点がありません", "no point has a value");
    } else if (j.Rule == LotRule::EveryPoint) {
        out.Result = out.Passed == out.WithValue ? Verdict::Pass : Verdict::Fail;
        out.Why = Filled(
            Words("値のある %1 測点のうち %2 測点が合格", "%2 of %1 points with a value passed"),
            QString::number(out.WithValue), QString::number(out.Passed));
        AppendComparisons(&out.Why, Words("最小の ", "lowest "), out.K.Min, out.E.Min, j.Need);
    } else if ((j.Need.K && !out.K.Characteristic) || (j.Need.E && !out.E.Characteristic)) {
        out.Why = Words("特性値には値のある測点が 2 つ以上必要です",
                        "the characteristic value needs at least two points with a value");
    } else {
        const bool holds = (!j.Need.K || CharacteristicHolds(out.K, *j.Need.K)) &&
                           (!j.Need.E || CharacteristicHolds(out.E, *j.Need.E));
        out.Result = holds ? Verdict::Pass : Verdict::Fail;
        out.Why =
            Filled(Words("特性値 = 平均 − %1 × 標準偏差", "characteristic value = mean − %1 × SD"),
                   QString::number(j.QuantileFactor));
        AppendComparisons(&out.Why, Words("特性値 ", "characteristic "),
                          out.K.Characteristic.value_or(0.0), out.E.Characteristic.value_or(0.0),
                          j.Need);
    }
    if (out.Excluded > 0 && j.Need.Any()) {
        const Bilingual note =
            Filled(Words("(%1 測点は理由を付けて除外)", "(%1 point(s) left out with a reason)"),
                   QString::number(out.Excluded));
        out.Why.Ja += QLatin1Char(' ') + note.Ja;
        out.Why.En += QLatin1Char(' ') + note.En;
    }
    return out;
}
