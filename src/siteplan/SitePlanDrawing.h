#pragma once

#include "SitePlanLayout.h"

#include <cstdint>

class PrintPage;
class QPainter;

// What a site plan is drawn with, so that one drawing serves the screen, an image and the
// printed page: positions and sizes in the units of the layout.
class PlanCanvas
{
public:
    virtual ~PlanCanvas() = default;
    virtual void Line(QPointF a, QPointF b, uint32_t colour) = 0;
    virtual void Disc(QPointF centre, double radius, uint32_t colour) = 0; // filled
    virtual void Ring(QPointF centre, double radius, uint32_t colour) = 0;
    virtual void Square(QPointF centre, double half, uint32_t colour) = 0; // hollow
    virtual void Text(QPointF topLeft, const QString& text) = 0;
    virtual double TextWidth(const QString& text) const = 0;
    virtual double LineHeight() const = 0;
    // Marker size that reads well at this canvas's text size.
    PlanStyle Style() const;
};

// A point's one sign wherever a point is drawn (the plan, the report's chart, their legends):
// passed a filled disc, failed a cross, not judged a hollow square; `size` is the disc's radius.
void DrawVerdictMark(PlanCanvas& canvas, Verdict result, QPointF at, double size);

// Draws with a painter in its own pixels, its font as set.
class PainterPlanCanvas : public PlanCanvas
{
public:
    explicit PainterPlanCanvas(QPainter& painter) : m_painter(painter) {}
    void Line(QPointF a, QPointF b, uint32_t colour) override;
    void Disc(QPointF centre, double radius, uint32_t colour) override;
    void Ring(QPointF centre, double radius, uint32_t colour) override;
    void Square(QPointF centre, double half, uint32_t colour) override;
    void Text(QPointF topLeft, const QString& text) override;
    double TextWidth(const QString& text) const override;
    double LineHeight() const override;

private:
    QPainter& m_painter;
};

// Draws on a printed page in millimetres with its rules, a disc as close rules across it.
class PagePlanCanvas : public PlanCanvas
{
public:
    explicit PagePlanCanvas(PrintPage& page) : m_page(page) {}
    void Line(QPointF a, QPointF b, uint32_t colour) override;
    void Disc(QPointF centre, double radius, uint32_t colour) override;
    void Ring(QPointF centre, double radius, uint32_t colour) override;
    void Square(QPointF centre, double half, uint32_t colour) override;
    void Text(QPointF topLeft, const QString& text) override;
    double TextWidth(const QString& text) const override;
    double LineHeight() const override;

private:
    PrintPage& m_page;
};

// Lays out and draws the plan into `rect`: passing points as filled discs, failing ones as
// crosses, points not judged as hollow squares, a moved plate ringed, over the road's
// centreline and stakes in grey, with the legend.
void DrawSitePlan(PlanCanvas& canvas, const SitePlanData& data, const QRectF& rect,
                  UiLanguage language);
void DrawSitePlan(PlanCanvas& canvas, const SitePlanLayout& plan);
