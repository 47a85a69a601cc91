#include "SitePlanView.h"

#include "siteplan/SitePlanDrawing.h"

#include <QPainter>

namespace
{
constexpr int Padding = 6;
} // namespace

SitePlanView::SitePlanView(UiLanguage uiLanguage, QWidget* parent)
    : QWidget(parent), m_language(uiLanguage)
{
    setObjectName(QStringLiteral("SitePlan"));
}

void SitePlanView::Show(const SitePlanData& data)
{
    m_data = data;
    m_hasPlan = HasPlacedPoint(data);
    update();
}

void SitePlanView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().base());
    PainterPlanCanvas canvas(painter);
    DrawSitePlan(canvas, m_data, QRectF(rect().adjusted(Padding, Padding, -Padding, -Padding)),
                 m_language);
}
