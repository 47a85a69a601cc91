#include "SitePlanDrawing.h"

#include "PointMarkColours.h"

#include "printing/PrintPage.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>
#include <numbers>

namespace
{

constexpr uint32_t Black = 0x000000;
constexpr uint32_t FrameGrey = 0x808080;
constexpr double PageRule = 0.2; // mm, as the printed page draws every line

} // namespace

void DrawVerdictMark(PlanCanvas& canvas, Verdict result, QPointF at, double size)
{
    switch (result) {
    case Verdict::Pass:
        canvas.Disc(at, size, LotPassingColour);
        break;
    case Verdict::Fail:
        canvas.Line(at + QPointF(-size, -size), at + QPointF(size, size), LotFailingColour);
        canvas.Line(at + QPointF(-size, size), at + QPointF(size, -size), LotFailingColour);
        break;
    default:
        canvas.Square(at, size * 0.85, NotJudgedGrey);
        break;
    }
}

namespace
{

void NorthArrow(PlanCanvas& canvas, const SitePlanLayout& plan)
{
    const QPointF tip = plan.NorthTip;
    const double head = (plan.NorthBase.y() - tip.y()) / 3;
    canvas.Line(plan.NorthBase, tip, Black);
    canvas.Line(tip, tip + QPointF(-head / 2, head), Black);
    canvas.Line(tip, tip + QPointF(head / 2, head), Black);
    const QString n = QStringLiteral("N");
    const double mid = (tip.y() + plan.NorthBase.y()) / 2;
    canvas.Text({tip.x() - head - canvas.TextWidth(n), mid - canvas.LineHeight() / 2}, n);
}

void ScaleBar(PlanCanvas& canvas, const SitePlanLayout& plan)
{
    const QLineF bar = plan.Bar;
    const double tick = canvas.LineHeight() / 4;
    canvas.Line(bar.p1(), bar.p2(), Black);
    for (const QPointF end : {bar.p1(), bar.p2()})
        canvas.Line(end + QPointF(0, -tick), end + QPointF(0, tick), Black);
    canvas.Text({bar.p1().x(), bar.p1().y() - tick - canvas.LineHeight()}, plan.BarText);
}

void Road(PlanCanvas& canvas, const SitePlanLayout& plan)
{
    for (const QLineF& piece : plan.Centreline)
        canvas.Line(piece.p1(), piece.p2(), CentrelineGrey);
    for (const PlanStakeMark& s : plan.Stakes) {
        canvas.Line(s.Tick.p1(), s.Tick.p2(), CentrelineGrey);
        if (s.Labelled)
            canvas.Text(s.LabelBox.topLeft(), s.Label);
    }
}

void DrawLegendSign(PlanCanvas& canvas, const PlanLegendEntry& e, const PlanStyle& style)
{
    const double ring = style.Marker * MovedRingFactor;
    if (e.Centreline)
        canvas.Line(e.At - QPointF(ring, 0), e.At + QPointF(ring, 0), CentrelineGrey);
    else if (e.Moved)
        canvas.Ring(e.At, ring, Black);
    else
        DrawVerdictMark(canvas, e.Result, e.At, style.Marker);
}

} // namespace

PlanStyle PlanCanvas::Style() const
{
    PlanStyle style;
    style.LineHeight = LineHeight();
    style.Marker = LineHeight() / 4;
    style.TextWidth = [this](const QString& text) { return TextWidth(text); };
    return style;
}

void PainterPlanCanvas::Line(QPointF a, QPointF b, uint32_t colour)
{
    m_painter.setPen(QColor(QRgb(colour)));
    m_painter.drawLine(a, b);
}

void PainterPlanCanvas::Disc(QPointF centre, double radius, uint32_t colour)
{
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(QColor(QRgb(colour)));
    m_painter.drawEllipse(centre, radius, radius);
    m_painter.setBrush(Qt::NoBrush);
}

void PainterPlanCanvas::Ring(QPointF centre, double radius, uint32_t colour)
{
    m_painter.setPen(QColor(QRgb(colour)));
    m_painter.drawEllipse(centre, radius, radius);
}

void PainterPlanCanvas::Square(QPointF centre, double half, uint32_t colour)
{
    m_painter.setPen(QColor(QRgb(colour)));
    m_painter.drawRect(QRectF(centre.x() - half, centre.y() - half, half * 2, half * 2));
}

void PainterPlanCanvas::Text(QPointF topLeft, const QString& text)
{
    m_painter.setPen(Qt::black);
    m_painter.drawText(topLeft + QPointF(0, QFontMetricsF(m_painter.font()).ascent()), text);
}

double PainterPlanCanvas::TextWidth(const QString& text) const
{
    return QFontMetricsF(m_painter.font()).horizontalAdvance(text);
}

double PainterPlanCanvas::LineHeight() const
{
    return QFontMetricsF(m_painter.font()).height();
}

void PagePlanCanvas::Line(QPointF a, QPointF b, uint32_t colour)
{
    m_page.Line(float(a.x()), float(a.y()), float(b.x()), float(b.y()), colour);
}

// The page has rules only: a disc is its outline filled with rules a rule's width apart.
void PagePlanCanvas::Disc(QPointF centre, double radius, uint32_t colour)
{
    Ring(centre, radius, colour);
    for (double dy = -radius + PageRule; dy < radius; dy += PageRule) {
        const double dx = std::sqrt(radius * radius - dy * dy);
        Line(centre + QPointF(-dx, dy), centre + QPointF(dx, dy), colour);
    }
}

void PagePlanCanvas::Ring(QPointF centre, double radius, uint32_t colour)
{
    constexpr int Sides = 16;
    QPointF last = centre + QPointF(radius, 0);
    for (int i = 1; i <= Sides; ++i) {
        const double a = 2 * std::numbers::pi * i / Sides;
        const QPointF next = centre + QPointF(radius * std::cos(a), radius * std::sin(a));
        Line(last, next, colour);
        last = next;
    }
}

void PagePlanCanvas::Square(QPointF centre, double half, uint32_t colour)
{
    m_page.Box(float(centre.x() - half), float(centre.y() - half), float(centre.x() + half),
               float(centre.y() + half), colour);
}

void PagePlanCanvas::Text(QPointF topLeft, const QString& text)
{
    m_page.Text(float(topLeft.x()), float(topLeft.y()), text);
}

double PagePlanCanvas::TextWidth(const QString& text) const
{
    return m_page.TextWidth(text);
}

double PagePlanCanvas::LineHeight() const
{
    return m_page.FontSize() * 25.4 / 72 * 1.25;
}

void DrawSitePlan(PlanCanvas& canvas, const SitePlanData& data, const QRectF& rect,
                  UiLanguage language)
{
    DrawSitePlan(canvas, LaySitePlan(data, rect, canvas.Style(), language));
}

void DrawSitePlan(PlanCanvas& canvas, const SitePlanLayout& plan)
{
    const PlanStyle style = canvas.Style();
    if (plan.Empty) {
        canvas.Text(plan.SystemAt, plan.NoPlaceText);
        return;
    }
    const QRectF f = plan.Frame;
    canvas.Line(f.topLeft(), f.topRight(), FrameGrey);
    canvas.Line(f.topRight(), f.bottomRight(), FrameGrey);
    canvas.Line(f.bottomRight(), f.bottomLeft(), FrameGrey);
    canvas.Line(f.bottomLeft(), f.topLeft(), FrameGrey);
    Road(canvas, plan);
    ScaleBar(canvas, plan);
    NorthArrow(canvas, plan);
    for (const PlanMark& m : plan.Marks) {
        DrawVerdictMark(canvas, m.Result, m.At, style.Marker);
        if (m.Moved)
            canvas.Ring(m.At, style.Marker * MovedRingFactor, Black);
        if (!m.Leader.isNull())
            canvas.Line(m.Leader.p1(), m.Leader.p2(), FrameGrey);
        if (m.Labelled)
            canvas.Text(m.Label.topLeft(), QString::number(m.Number));
    }
    for (const PlanLegendEntry& e : plan.Legend) {
        DrawLegendSign(canvas, e, style);
        for (int i = 0; i < e.Lines.size(); ++i)
            canvas.Text(e.TextAt + QPointF(0, style.LineHeight * i), e.Lines.at(i));
    }
    canvas.Text(plan.SystemAt, plan.SystemText);
    for (int i = 0; i < plan.Unplaced.size(); ++i)
        canvas.Text(plan.UnplacedAt + QPointF(0, style.LineHeight * i), plan.Unplaced.at(i));
}
