#include "Alignment.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{

// Two places closer than this along the chain are one foot found twice (at a joint); two
// feet farther apart that lie as near are two parts of the road.
constexpr double SamePlaceAlong = 0.1;
// Distances that differ by no more than this are as near as each other.
constexpr double AsNear = 0.001;
// A foot at an end of the chain lies beyond it when the point is this far past the end.
constexpr double PastTheEnd = 1e-6;

struct Vec {
    double E = 0.0;
    double N = 0.0;
};

Vec Minus(PlanePoint a, PlanePoint b)
{
    return {a.East - b.East, a.North - b.North};
}

double Dot(Vec a, Vec b)
{
    return a.E * b.E + a.N * b.N;
}

double Norm(Vec a)
{
    return std::hypot(a.E, a.N);
}

Vec Tangent(double heading)
{
    return {std::cos(heading), std::sin(heading)};
}

Vec RightNormal(double heading)
{
    return {std::sin(heading), -std::cos(heading)};
}

double CurvatureAt(const AlignmentElement& e, double s)
{
    return e.CurvatureStart + (e.CurvatureEnd - e.CurvatureStart) * s / e.Length;
}

// The displacement along a clothoid from length a to length b: five-point Gauss-Legendre
// over one short panel, in which the heading turns by a tenth of a radian at most.
Vec Displacement(const AlignmentElement& e, double a, double b)
{
    static constexpr double Nodes[5] = {-0.9061798459386640, -0.5384693101056831, 0.0,
                                        0.5384693101056831, 0.9061798459386640};
    static constexpr double Weights[5] = {0.2369268850561891, 0.4786286704993665,
                                          0.5688888888888889, 0.4786286704993665,
                                          0.2369268850561891};
    const double half = (b - a) / 2.0, middle = (a + b) / 2.0;
    Vec sum;
    for (int i = 0; i < 5; ++i) {
        const double heading = e.HeadingAt(middle + half * Nodes[i]);
        sum.E += Weights[i] * std::cos(heading);
        sum.N += Weights[i] * std::sin(heading);
    }
    return {sum.E * half, sum.N * half};
}

double PanelLength(const AlignmentElement& e)
{
    return e.Length / double(e.Nodes.size() - 1);
}

PlanePoint Moved(PlanePoint p, Vec by)
{
    return {p.North + by.N, p.East + by.E};
}

// How far the point lies ahead of the place at `s`, along the direction of travel there:
// positive while the distance still falls.
double Ahead(const AlignmentElement& e, PlanePoint p, double s)
{
    return Dot(Minus(p, e.At(s)), Tangent(e.HeadingAt(s)));
}

// The length in [a, b] where Ahead changes sign from positive to negative (a nearest place),
// by Newton's steps kept inside the bracket.
double NearestBetween(const AlignmentElement& e, PlanePoint p, double a, double b)
{
    double s = (a + b) / 2.0;
    for (int i = 0; i < 60 && b - a > 1e-10; ++i) {
        const double heading = e.HeadingAt(s);
        const Vec d = Minus(p, e.At(s));
        const double g = Dot(d, Tangent(heading));
        if (g > 0.0)
            a = s;
        else
            b = s;
        const double slope = -1.0 - CurvatureAt(e, s) * Dot(d, RightNormal(heading));
        double next = slope < 0.0 ? s - g / slope : (a + b) / 2.0;
        if (!(next > a && next < b))
            next = (a + b) / 2.0;
        if (std::abs(next - s) < 1e-10)
            return next;
        s = next;
    }
    return s;
}

// The lengths along an element, strictly inside it, at which the distance to `p` has a
// local minimum.
void InnerFeet(const AlignmentElement& e, PlanePoint p, std::vector<double>* feet)
{
    switch (e.Kind) {
    case ElementKind::Line: {
        const double s = Dot(Minus(p, e.Start), Tangent(e.Heading));
        if (s > 0.0 && s < e.Length)
            feet->push_back(s);
        return;
    }
    case ElementKind::Arc: {
        const double k = e.CurvatureStart;
        const Vec left{-std::sin(e.Heading), std::cos(e.Heading)};
        const PlanePoint centre{e.Start.North + left.N / k, e.Start.East + left.E / k};
        const Vec from = Minus(e.Start, centre), to = Minus(p, centre);
        if (Norm(to) == 0.0)
            return;
        double turn = std::atan2(from.E * to.N - from.N * to.E, Dot(from, to));
        if (k < 0.0)
            turn = -turn;
        if (turn < 0.0)
            turn += 2.0 * M_PI;
        const double s = turn / std::abs(k);
        if (s > 0.0 && s < e.Length)
            feet->push_back(s);
        return;
    }
    case ElementKind::Spiral: {
        const double h = PanelLength(e);
        double before = Ahead(e, p, 0.0);
        for (size_t i = 1; i < e.Nodes.size(); ++i) {
            const double s = double(i) * h;
            const double after = Ahead(e, p, s);
            if (before > 0.0 && after <= 0.0)
                feet->push_back(NearestBetween(e, p, s - h, s));
            before = after;
        }
        return;
    }
    }
}

struct Foot {
    double Along = 0.0;
    double Offset = 0.0;
    double Distance = 0.0;
    StationMiss Beyond = StationMiss::None;
};

Foot FootAt(const AlignmentElement& e, PlanePoint p, double s)
{
    const Vec d = Minus(p, e.At(s));
    return {e.Along + s, Dot(d, RightNormal(e.HeadingAt(s))), Norm(d), StationMiss::None};
}

// Every local nearest place of the element to `p`, its ends included where the distance
// rises away from them; an end of the chain that `p` lies past is marked so.
void FeetOn(const AlignmentElement& e, PlanePoint p, bool first, bool last, std::vector<Foot>* feet)
{
    const double atStart = Ahead(e, p, 0.0), atEnd = Ahead(e, p, e.Length);
    if (atStart <= 0.0) {
        feet->push_back(FootAt(e, p, 0.0));
        if (first && atStart < -PastTheEnd)
            feet->back().Beyond = StationMiss::BeforeStart;
    }
    std::vector<double> inner;
    InnerFeet(e, p, &inner);
    for (double s : inner)
        feet->push_back(FootAt(e, p, s));
    if (atEnd >= 0.0) {
        feet->push_back(FootAt(e, p, e.Length));
        if (last && atEnd > PastTheEnd)
            feet->back().Beyond = StationMiss::AfterEnd;
    }
}

AlignmentElement Element(ElementKind kind, PlanePoint start, double heading, double length,
                         double k0, double k1)
{
    AlignmentElement e;
    e.Kind = kind;
    e.Start = start;
    e.Heading = heading;
    e.Length = length;
    e.CurvatureStart = k0;
    e.CurvatureEnd = k1;
    return e;
}

} // namespace

double AlignmentElement::HeadingAt(double s) const
{
    return Heading + CurvatureStart * s + (CurvatureEnd - CurvatureStart) * s * s / (2.0 * Length);
}

PlanePoint AlignmentElement::At(double s) const
{
    switch (Kind) {
    case ElementKind::Line:
        return {Start.North + s * std::sin(Heading), Start.East + s * std::cos(Heading)};
    case ElementKind::Arc: {
        const double k = CurvatureStart, turned = Heading + k * s;
        return {Start.North - (std::cos(turned) - std::cos(Heading)) / k,
                Start.East + (std::sin(turned) - std::sin(Heading)) / k};
    }
    case ElementKind::Spiral: {
        const double h = PanelLength(*this);
        const size_t i = std::min(size_t(std::max(0.0, s / h)), Nodes.size() - 1);
        if (double(i) * h == s) // a node, as each search starts there
            return Nodes[i];
        const size_t from = std::min(i, Nodes.size() - 2);
        return Moved(Nodes[from], Displacement(*this, double(from) * h, s));
    }
    }
    return Start;
}

AlignmentElement LineElement(PlanePoint start, PlanePoint end)
{
    const Vec d = Minus(end, start);
    AlignmentElement e = Element(ElementKind::Line, start, std::atan2(d.N, d.E), Norm(d), 0.0, 0.0);
    e.Middle = e.At(e.Length / 2.0);
    return e;
}

AlignmentElement ArcElement(PlanePoint start, double heading, double length, double curvature)
{
    AlignmentElement e = Element(ElementKind::Arc, start, heading, length, curvature, curvature);
    e.Middle = e.At(length / 2.0);
    return e;
}

AlignmentElement SpiralElement(PlanePoint start, double heading, double length,
                               double curvatureStart, double curvatureEnd)
{
    AlignmentElement e =
        Element(ElementKind::Spiral, start, heading, length, curvatureStart, curvatureEnd);
    // Panels of at most 10 m and a tenth of a radian of turn, and never more than 64 of them,
    // so that a file of many long clothoids still fits in memory.
    const double turn = std::abs(curvatureStart + curvatureEnd) * length / 2.0;
    const double wanted = std::max(length / 10.0, turn / 0.1);
    const int panels = int(std::clamp(std::ceil(wanted), 2.0, 64.0));
    const double h = length / panels;
    e.Nodes.reserve(panels + 1);
    e.Nodes.push_back(start);
    for (int i = 0; i < panels; ++i)
        e.Nodes.push_back(Moved(e.Nodes.back(), Displacement(e, i * h, (i + 1) * h)));
    e.Middle = e.At(length / 2.0);
    return e;
}

void ChainElements(std::vector<AlignmentElement>* elements)
{
    double along = 0.0;
    for (AlignmentElement& e : *elements) {
        e.Along = along;
        along += e.Length;
    }
}

double Alignment::Length() const
{
    return Elements.empty() ? 0.0 : Elements.back().Along + Elements.back().Length;
}

double Alignment::StationOf(double internal) const
{
    double station = internal;
    for (const StationEquation& q : Equations) {
        if (q.Internal > internal)
            break;
        station = q.Ahead + (internal - q.Internal);
    }
    return station;
}

StationOffset Alignment::Locate(PlanePoint point, double limit) const
{
    std::vector<Foot> feet;
    StationOffset result;
    result.Miss = StationMiss::TooFar;
    result.Distance = std::numeric_limits<double>::infinity();
    // Only elements whose every point could lie within the limit are searched: compared
    // squared, as the test runs for every element and every point.
    for (size_t i = 0; i < Elements.size(); ++i) {
        const AlignmentElement& e = Elements[i];
        const Vec d = Minus(point, e.Middle);
        const double reach = limit + AsNear + e.Length / 2.0;
        if (Dot(d, d) <= reach * reach)
            FeetOn(e, point, i == 0, i + 1 == Elements.size(), &feet);
    }
    const auto nearest =
        std::min_element(feet.begin(), feet.end(),
                         [](const Foot& a, const Foot& b) { return a.Distance < b.Distance; });
    if (nearest == feet.end()) {
        for (const AlignmentElement& e : Elements)
            result.Distance =
                std::min(result.Distance, Norm(Minus(point, e.Middle)) - e.Length / 2.0);
        return result;
    }
    result.Distance = nearest->Distance;
    result.Internal = StaStart + nearest->Along;
    result.Station = StationOf(result.Internal);
    result.Offset = nearest->Offset;
    result.Miss = nearest->Distance > limit ? StationMiss::TooFar : nearest->Beyond;
    for (const Foot& other : feet) {
        if (other.Beyond == StationMiss::None && other.Distance - nearest->Distance <= AsNear &&
            std::abs(other.Along - nearest->Along) > SamePlaceAlong)
            result.Ambiguous = true;
    }
    return result;
}

Bilingual StationOffset::Reason(double limit) const
{
    switch (Miss) {
    case StationMiss::None:
        return {};
    case StationMiss::BeforeStart:
        return Words("線形の始点より手前にあり、測点がありません。",
                     "lies before the start of the alignment: it has no station.");
    case StationMiss::AfterEnd:
        return Words("線形の終点より先にあり、測点がありません。",
                     "lies beyond the end of the alignment: it has no station.");
    case StationMiss::TooFar:
        break;
    }
    return Words("中心線から %1 m 以上離れており、測点がありません。",
                 "lies more than %1 m from the centreline: it has no station.")
        .Arg(QString::number(limit, 'g', 6));
}
