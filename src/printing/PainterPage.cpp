#include "PainterPage.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPen>

namespace
{
constexpr double MmPerInch = 25.4;
}

PainterPage::PainterPage(QPagedPaintDevice& device) : m_device(device) {}

bool PainterPage::Begin(const PageSetup& setup)
{
    m_orientation = setup.Orientation;
    const QPageLayout::Orientation orientation = setup.Orientation == PageOrientation::Portrait
                                                     ? QPageLayout::Portrait
                                                     : QPageLayout::Landscape;
    const QMarginsF margins(setup.Margin, setup.Margin, setup.Margin, setup.Margin);
    const QPageLayout layout(QPageSize(QPageSize::A4), orientation, margins,
                             QPageLayout::Millimeter);
    if (!m_device.setPageLayout(layout)) {
        // A printer that cannot print that close to the edge keeps its own margins; the
        // page still has to be A4 in the chosen orientation.
        m_device.setPageSize(QPageSize(QPageSize::A4));
        m_device.setPageOrientation(orientation);
    }
    PrepareDevice(setup);
    if (!m_painter.begin(&m_device)) {
        m_failed = true;
        return false;
    }
    m_dotsPerMmX = m_device.logicalDpiX() / MmPerInch;
    m_dotsPerMmY = m_device.logicalDpiY() / MmPerInch;
    m_font = QFont(setup.FontName);
    m_font.setPointSize(m_size);
    m_painter.setFont(m_font);
    m_painter.setBrush(Qt::NoBrush);
    UsePen(0);
    return true;
}

bool PainterPage::NewPage()
{
    if (!m_painter.isActive() || !m_device.newPage()) {
        m_failed = true;
        return false;
    }
    return true;
}

bool PainterPage::End()
{
    if (m_painter.isActive() && !m_painter.end())
        m_failed = true;
    return !m_failed && !DeviceFailed();
}

QPointF PainterPage::ToDevice(float x, float y) const
{
    return QPointF(x * m_dotsPerMmX, y * m_dotsPerMmY);
}

void PainterPage::UsePen(uint32_t colour)
{
    QPen pen{QColor(QRgb(colour))};
    pen.setWidthF(RuleWidthMm * m_dotsPerMmX);
    m_painter.setPen(pen);
}

void PainterPage::Line(float x1, float y1, float x2, float y2, uint32_t colour)
{
    if (!m_painter.isActive())
        return;
    UsePen(colour);
    m_painter.drawLine(ToDevice(x1, y1), ToDevice(x2, y2));
}

void PainterPage::Box(float x1, float y1, float x2, float y2, uint32_t colour)
{
    if (!m_painter.isActive())
        return;
    UsePen(colour);
    m_painter.drawRect(QRectF(ToDevice(x1, y1), ToDevice(x2, y2)).normalized());
}

void PainterPage::Text(float x, float y, const QString& text)
{
    if (!m_painter.isActive())
        return;
    m_painter.setPen(QPen(Qt::black));
    // The position is the top of the line box; the painter wants the baseline.
    const QFontMetricsF metrics(m_font, &m_device);
    const QPointF topLeft = ToDevice(x, y);
    m_painter.drawText(QPointF(topLeft.x(), topLeft.y() + metrics.ascent()), text);
}

float PainterPage::TextWidth(const QString& text) const
{
    const QFontMetricsF metrics(m_font, &m_device);
    return float(metrics.horizontalAdvance(text) / m_dotsPerMmX);
}

void PainterPage::SetFontSize(int points)
{
    m_size = points;
    m_font.setPointSize(points);
    if (m_painter.isActive())
        m_painter.setFont(m_font);
}
