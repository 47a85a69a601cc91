#include "SitePlanLayout.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace
{

constexpr double SmallestWindowMetres = 10.0; // what a single place, or one spot, is shown in
constexpr int MostUnplacedLines = 4;
constexpr double WideRatio = 1.4;        // wider than this, the legend goes beside the frame
constexpr double StakeTickMarkers = 3.0; // a stake's tick reaches this many markers each side

struct Extent {
    double MinEast = 0, MaxEast = 0, MinNorth = 0, MaxNorth = 0;
    bool Any = false;
};

Extent PlacedExtent(const SitePlanData& data)
{
    Extent e;
    for (const PlanPoint& p : data.Points) {
        if (!p.HasPlace)
            continue;
        if (!e.Any) {
            e = {p.East, p.East, p.North, p.North, true};
            continue;
        }
        e.MinEast = std::min(e.MinEast, p.East);
        e.MaxEast = std::max(e.MaxEast, p.East);
        e.MinNorth = std::min(e.MinNorth, p.North);
        e.MaxNorth = std::max(e.MaxNorth, p.North);
    }
    return e;
}

QString MetresText(double metres)
{
    return metres >= 1000.0 ? QStringLiteral("%1 km").arg(metres / 1000.0)
                            : QStringLiteral("%1 m").arg(metres);
}

// The numbers of the points without a place after the heading, broken after a comma into
// lines no wider than `width`; the last line says when more did not fit.
QStringList UnplacedLines(const SitePlanData& data, const PlanStyle& style, double width,
                          UiLanguage language)
{
    QStringList numbers;
    for (const PlanPoint& p : data.Points) {
        if (!p.HasPlace)
            numbers << QString::number(p.Number);
    }
    if (numbers.isEmpty())
        return {};
    QStringList lines{Tr(language, "位置なし: ", "No position: ")};
    for (int i = 0; i < numbers.size(); ++i) {
        const QString next = numbers.at(i) + (i + 1 < numbers.size() ? ", " : "");
        if (lines.back().size() > 0 && style.TextWidth(lines.back() + next) > width) {
            if (lines.size() == MostUnplacedLines) {
                lines.back() += QStringLiteral("…");
                break;
            }
            lines << QString();
        }
        lines.back() += next;
    }
    for (QString& line : lines)
        line = line.trimmed();
    return lines;
}

std::vector<PlanLegendEntry> LegendEntries(const SitePlanData& data, UiLanguage language)
{
    const auto entry = [](Verdict result, bool moved, const QString& text) {
        PlanLegendEntry e;
        e.Result = result;
        e.Moved = moved;
        e.Text = text;
        return e;
    };
    std::vector<PlanLegendEntry> entries{
        entry(Verdict::Pass, false, Tr(language, "合格", "pass")),
        entry(Verdict::Fail, false, Tr(language, "不合格", "fail")),
        entry(Verdict::None, false, Tr(language, "判定なし", "not judged"))};
    if (std::any_of(data.Points.begin(), data.Points.end(),
                    [](const PlanPoint& p) { return p.HasPlace && p.Moved; }))
        entries.push_back(entry(Verdict::None, true,
                                Tr(language, "載荷板のずれ: 打撃が 5 m を超えて散らばる",
                                   "plate moved: drops spread over 5 m")));
    // Last, so that it can be taken off again when the road passes by the plan.
    if (data.Centreline.size() > 1) {
        entries.push_back(entry(Verdict::None, false, Tr(language, "中心線", "centreline")));
        entries.back().Centreline = true;
    }
    return entries;
}

// The text in lines no wider than `width`, broken at spaces (one word may be wider).
QStringList WrapWords(const QString& text, double width, const PlanStyle& style)
{
    QStringList lines;
    for (const QString& word : text.split(QLatin1Char(' '))) {
        if (!lines.isEmpty() && style.TextWidth(lines.back() + ' ' + word) <= width)
            lines.back() += ' ' + word;
        else
            lines << word;
    }
    return lines;
}

// The room a legend's sign takes before its text.
double LegendSign(const PlanStyle& style)
{
    return style.Marker * MovedRingFactor * 2 + style.Marker;
}

// Flows the legend's entries in rows from `topLeft` within `width`; the height it takes.
double FlowLegend(std::vector<PlanLegendEntry>& entries, QPointF topLeft, double width,
                  const PlanStyle& style)
{
    const double sign = LegendSign(style), lh = style.LineHeight;
    double x = topLeft.x(), y = topLeft.y();
    for (PlanLegendEntry& e : entries) {
        e.Lines = WrapWords(e.Text, width - sign, style);
        const double w = sign + style.TextWidth(e.Text) + lh;
        if (x > topLeft.x() && (x + w > topLeft.x() + width || e.Lines.size() > 1)) {
            x = topLeft.x();
            y += lh;
        }
        e.At = {x + sign / 2, y + lh / 2};
        e.TextAt = {x + sign, y};
        x += w;
        if (e.Lines.size() > 1) { // a row of its own
            x = topLeft.x() + width;
            y += lh * double(e.Lines.size() - 1);
        }
    }
    return y + lh - topLeft.y();
}

// Texts already placed, by the cells of a grid they cover, so that a further label looks
// only at its neighbours however many points crowd the plan.
class Occupied
{
public:
    Occupied(const QRectF& frame, double cell)
        : m_frame(frame), m_cell(cell),
          m_columns(std::max(1, int(std::ceil(frame.width() / cell)))),
          m_rows(std::max(1, int(std::ceil(frame.height() / cell)))),
          m_cells(size_t(m_columns) * size_t(m_rows))
    {
    }
    bool Free(const QRectF& r) const
    {
        bool free = true;
        Visit(r, [&](const std::vector<QRectF>& in) {
            free = free && std::none_of(in.begin(), in.end(),
                                        [&](const QRectF& o) { return o.intersects(r); });
        });
        return free;
    }
    void Take(const QRectF& r)
    {
        Visit(r, [&](std::vector<QRectF>& in) { in.push_back(r); });
    }

private:
    template <typename F> void Visit(const QRectF& r, F f) const
    {
        const auto column = [&](double x) {
            return std::clamp(int((x - m_frame.left()) / m_cell), 0, m_columns - 1);
        };
        const auto row = [&](double y) {
            return std::clamp(int((y - m_frame.top()) / m_cell), 0, m_rows - 1);
        };
        for (int c = column(r.left()); c <= column(r.right()); ++c) {
            for (int w = row(r.top()); w <= row(r.bottom()); ++w)
                f(m_cells[size_t(w) * size_t(m_columns) + size_t(c)]);
        }
    }
    QRectF m_frame;
    double m_cell;
    int m_columns, m_rows;
    mutable std::vector<std::vector<QRectF>> m_cells;
};

// Beside the marker to the right, else left, above or below: the first of them inside the
// frame and clear of every text placed before; else farther off with a leader line.
constexpr int LeaderRings = 4;

void PlaceLabel(PlanMark& mark, const PlanStyle& style, const QRectF& frame, Occupied& taken)
{
    const double w = style.TextWidth(QString::number(mark.Number)), h = style.LineHeight;
    const double off = style.Marker * (mark.Moved ? MovedRingFactor : 1.0) + 1.0;
    const QPointF at = mark.At;
    const QRectF tries[] = {
        {at.x() + off, at.y() - h / 2, w, h},
        {at.x() - off - w, at.y() - h / 2, w, h},
        {at.x() - w / 2, at.y() - off - h, w, h},
        {at.x() - w / 2, at.y() + off, w, h},
    };
    for (const QRectF& r : tries) {
        if (frame.contains(r) && taken.Free(r)) {
            mark.Labelled = true;
            mark.Label = r;
            taken.Take(r);
            return;
        }
    }
    // A crowd: farther out in eight directions, a leader line back to the marker.
    constexpr double Diagonal = 0.70710678;
    const QPointF directions[] = {{1, 0},
                                  {-1, 0},
                                  {0, -1},
                                  {0, 1},
                                  {Diagonal, -Diagonal},
                                  {-Diagonal, -Diagonal},
                                  {Diagonal, Diagonal},
                                  {-Diagonal, Diagonal}};
    for (int ring = 1; ring <= LeaderRings; ++ring) {
        for (const QPointF& d : directions) {
            const QPointF centre = at + d * (off + h * 1.5 * ring + w / 2);
            const QRectF r(centre.x() - w / 2, centre.y() - h / 2, w, h);
            if (!frame.contains(r) || !taken.Free(r))
                continue;
            mark.Labelled = true;
            mark.Label = r;
            mark.Leader = QLineF(at + d * off, QPointF(std::clamp(at.x(), r.left(), r.right()),
                                                       std::clamp(at.y(), r.top(), r.bottom())));
            taken.Take(r);
            return;
        }
    }
}

// The legend and the points without a place in a column to the right of the frame, the
// system below it: a wide rectangle (a pane beside a chart) keeps its height for the plan.
void LayBeside(SitePlanLayout& plan, const SitePlanData& data, const QRectF& rect,
               const PlanStyle& style, UiLanguage language)
{
    const double lh = style.LineHeight;
    double column = 0;
    for (const PlanLegendEntry& e : plan.Legend)
        column = std::max(column, LegendSign(style) + style.TextWidth(e.Text));
    column = std::min(column, rect.width() * 0.4);
    const QPointF corner(rect.right() - column, rect.top());
    const double legendHeight = FlowLegend(plan.Legend, corner, column, style);
    plan.Unplaced = UnplacedLines(data, style, column, language);
    plan.UnplacedAt = corner + QPointF(0, legendHeight + lh / 2);
    plan.Frame = QRectF(rect.left(), rect.top(), rect.width() - column - lh / 2,
                        std::max(rect.height() - lh * 1.25, lh));
    plan.SystemAt = {rect.left(), plan.Frame.bottom() + lh / 4};
}

// Below the frame: the legend, the system, the points without a place.
void LayBelow(SitePlanLayout& plan, const SitePlanData& data, const QRectF& rect,
              const PlanStyle& style, UiLanguage language)
{
    const double lh = style.LineHeight;
    plan.Unplaced = UnplacedLines(data, style, rect.width(), language);
    const double legendHeight = FlowLegend(plan.Legend, {}, rect.width(), style);
    const double below = legendHeight + lh * double(1 + plan.Unplaced.size()) + lh / 2;
    plan.Frame = QRectF(rect.left(), rect.top(), rect.width(), std::max(rect.height() - below, lh));
    const double y = plan.Frame.bottom() + lh / 4;
    FlowLegend(plan.Legend, {rect.left(), y}, rect.width(), style);
    plan.SystemAt = {rect.left(), y + legendHeight};
    plan.UnplacedAt = {rect.left(), y + legendHeight + lh};
}

// Metres east and north to the layout's units: `Centre` shows the middle of the extent.
struct PlanScale {
    QPointF Centre;
    double MidEast = 0, MidNorth = 0, UnitsPerMetre = 1;
    QPointF operator()(double east, double north) const
    {
        return {Centre.x() + (east - MidEast) * UnitsPerMetre,
                Centre.y() - (north - MidNorth) * UnitsPerMetre};
    }
};

// The part of `line` inside `frame` (Liang–Barsky), nothing when it misses the frame.
std::optional<QLineF> ClipToFrame(const QLineF& line, const QRectF& frame)
{
    const double towards[] = {-line.dx(), line.dx(), -line.dy(), line.dy()};
    const double room[] = {line.x1() - frame.left(), frame.right() - line.x1(),
                           line.y1() - frame.top(), frame.bottom() - line.y1()};
    double enter = 0.0, leave = 1.0;
    for (int side = 0; side < 4; ++side) {
        if (towards[side] == 0.0) { // parallel to this side: wholly in or out
            if (room[side] < 0.0)
                return std::nullopt;
            continue;
        }
        const double t = room[side] / towards[side];
        if (towards[side] < 0.0)
            enter = std::max(enter, t);
        else
            leave = std::min(leave, t);
    }
    if (enter > leave)
        return std::nullopt;
    return QLineF(line.pointAt(enter), line.pointAt(leave));
}

void LayCentreline(SitePlanLayout& plan, const SitePlanData& data, const PlanScale& scale)
{
    for (size_t i = 1; i < data.Centreline.size(); ++i) {
        const PlanPlace& a = data.Centreline[i - 1];
        const PlanPlace& b = data.Centreline[i];
        if (const auto piece =
                ClipToFrame(QLineF(scale(a.East, a.North), scale(b.East, b.North)), plan.Frame))
            plan.Centreline.push_back(*piece);
    }
}

// Each stake within the frame gets its tick; its label goes beyond the tick's right-hand end
// where it stays inside the frame and clear of the points' markers and numbers and of the
// stake labels placed before it.
void LayStakes(SitePlanLayout& plan, const SitePlanData& data, const PlanScale& scale,
               const PlanStyle& style, Occupied& taken)
{
    for (const PlanMark& m : plan.Marks) {
        const double half = style.Marker * (m.Moved ? MovedRingFactor : 1.0);
        taken.Take(QRectF(m.At - QPointF(half, half), m.At + QPointF(half, half)));
    }
    for (const PlanStake& s : data.Stakes) {
        const QPointF at = scale(s.At.East, s.At.North);
        const double length = std::hypot(s.DirectionEast, s.DirectionNorth);
        if (!plan.Frame.contains(at) || !(length > 0.0))
            continue;
        // Right of the direction of increasing station, in the layout's downward y.
        const QPointF right(s.DirectionNorth / length, s.DirectionEast / length);
        const QPointF reach = right * (style.Marker * StakeTickMarkers);
        PlanStakeMark stake;
        stake.Tick = ClipToFrame(QLineF(at - reach, at + reach), plan.Frame).value_or(QLineF());
        stake.Label = s.Label;
        const double w = style.TextWidth(s.Label), h = style.LineHeight;
        // Far enough along `right` that the box's nearest corner or side clears the tick.
        const QPointF centre = at + reach + right * (style.Marker / 2) +
                               right * (std::abs(right.x()) * w / 2 + std::abs(right.y()) * h / 2);
        const QRectF box(centre.x() - w / 2, centre.y() - h / 2, w, h);
        if (plan.Frame.contains(box) && taken.Free(box)) {
            stake.Labelled = true;
            stake.LabelBox = box;
            taken.Take(box);
        }
        plan.Stakes.push_back(stake);
    }
}

} // namespace

bool HasPlacedPoint(const SitePlanData& data)
{
    return std::any_of(data.Points.begin(), data.Points.end(),
                       [](const PlanPoint& p) { return p.HasPlace; });
}

double RoundBarMetres(double metres)
{
    if (!(metres > 0.0))
        return 1.0;
    const double decade = std::pow(10.0, std::floor(std::log10(metres)));
    for (const double step : {5.0, 2.0, 1.0}) {
        if (step * decade <= metres * (1 + 1e-9))
            return step * decade;
    }
    return decade;
}

SitePlanLayout LaySitePlan(const SitePlanData& data, const QRectF& rect, const PlanStyle& style,
                           UiLanguage language)
{
    SitePlanLayout plan;
    const Extent extent = PlacedExtent(data);
    if (!extent.Any) {
        plan.NoPlaceText = Tr(language, "位置情報なし", "No positions");
        plan.SystemAt = rect.topLeft();
        return plan;
    }
    plan.Empty = false;
    const double lh = style.LineHeight;

    plan.Legend = LegendEntries(data, language);
    plan.SystemText = Tr(language, "座標系: ", "System: ") + data.System.Pick(language);
    if (rect.width() > rect.height() * WideRatio)
        LayBeside(plan, data, rect, style, language);
    else
        LayBelow(plan, data, rect, style, language);

    // The scale bar and the north arrow in a band along the frame's bottom; the points above
    // it, inset so that a marker's ring and its number stay inside.
    const double band = lh * 2.4;
    const double inset =
        style.Marker * MovedRingFactor + style.TextWidth(QStringLiteral("000")) / 2;
    const QRectF area =
        plan.Frame.adjusted(inset + lh / 2, inset + lh / 2, -inset - lh / 2, -band - inset);
    const double spanEast = std::max(extent.MaxEast - extent.MinEast, SmallestWindowMetres);
    const double spanNorth = std::max(extent.MaxNorth - extent.MinNorth, SmallestWindowMetres);
    plan.UnitsPerMetre = std::max(
        std::min(std::max(area.width(), 1.0) / spanEast, std::max(area.height(), 1.0) / spanNorth),
        1e-9);
    const PlanScale scale{area.center(), (extent.MinEast + extent.MaxEast) / 2,
                          (extent.MinNorth + extent.MaxNorth) / 2, plan.UnitsPerMetre};

    Occupied taken(plan.Frame, lh * 2);
    plan.BarMetres = RoundBarMetres(std::max(area.width(), 1.0) / 5 / plan.UnitsPerMetre);
    const double barY = plan.Frame.bottom() - lh * 0.6;
    const double barX = plan.Frame.left() + lh / 2;
    plan.Bar = QLineF(barX, barY, barX + plan.BarMetres * plan.UnitsPerMetre, barY);
    plan.BarText = MetresText(plan.BarMetres);
    taken.Take(QRectF(barX, barY - lh * 1.4, plan.Bar.length(), lh * 1.6));
    const double northX = plan.Frame.right() - lh;
    plan.NorthBase = {northX, plan.Frame.bottom() - lh * 0.4};
    plan.NorthTip = {northX, plan.Frame.bottom() - lh * 2.0};
    taken.Take(QRectF(northX - lh * 1.2, plan.NorthTip.y(), lh * 1.6, lh * 1.6));

    for (const PlanPoint& p : data.Points) {
        if (!p.HasPlace)
            continue;
        PlanMark mark{p.Number, p.Result, p.Moved, scale(p.East, p.North), false, {}, {}};
        PlaceLabel(mark, style, plan.Frame, taken);
        plan.Marks.push_back(mark);
    }
    LayCentreline(plan, data, scale);
    LayStakes(plan, data, scale, style, taken);
    if (plan.Centreline.empty() && !plan.Legend.empty() && plan.Legend.back().Centreline)
        plan.Legend.pop_back();
    return plan;
}
