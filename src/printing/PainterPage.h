#pragma once

#include "PrintPage.h"

#include <QFont>
#include <QPainter>

class QPagedPaintDevice;

// Draws on a paged device (a PDF file, a printer) with an unscaled painter: millimetres
// become device pixels here (mm x resolution / 25.4), because a scaled painter would
// scale point-size fonts as well.
class PainterPage : public PrintPage
{
public:
    bool Begin(const PageSetup& setup) override;
    bool NewPage() override;
    bool End() override;
    void Line(float x1, float y1, float x2, float y2, uint32_t colour) override;
    void Box(float x1, float y1, float x2, float y2, uint32_t colour) override;
    void Text(float x, float y, const QString& text) override;
    float TextWidth(const QString& text) const override;
    int FontSize() const override { return m_size; }
    void SetFontSize(int points) override;
    float SheetHeight() const override { return SheetHeightFor(m_orientation); }

    // A rule is a fine line, visible on paper and in a rendering alike.
    static constexpr float RuleWidthMm = 0.2f;

protected:
    explicit PainterPage(QPagedPaintDevice& device);
    // Called before the painter starts, after the page layout is set.
    virtual void PrepareDevice(const PageSetup&) {}
    // The device's own report of a failure once the painter has ended.
    virtual bool DeviceFailed() const { return false; }

private:
    QPointF ToDevice(float x, float y) const;
    void UsePen(uint32_t colour);

    QPagedPaintDevice& m_device;
    QPainter m_painter;
    QFont m_font;
    int m_size = 10;
    double m_dotsPerMmX = 1.0;
    double m_dotsPerMmY = 1.0;
    PageOrientation m_orientation = PageOrientation::Portrait;
    bool m_failed = false;
};
