#include "LotChartView.h"

#include "outputs/gui/ChartAxes.h"

#include <QChart>
#include <QImage>
#include <QLegend>
#include <QLineSeries>
#include <QPainter>
#include <QPen>
#include <QScatterSeries>
#include <QValueAxis>

namespace
{

// A failed point's cross, as the plan and the report draw it; the chart has no such shape.
QImage Cross(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(QRgb(LotFailingColour)), 2.0));
    painter.drawLine(QPointF(1, 1), QPointF(size - 1, size - 1));
    painter.drawLine(QPointF(1, size - 1), QPointF(size - 1, 1));
    return image;
}

} // namespace

// The texts come in the chart's data, already in the window's language.
LotChartView::LotChartView(UiLanguage /*uiLanguage*/, QWidget* parent) : QChartView(parent)
{
    setRenderHint(QPainter::Antialiasing);
}

void LotChartView::Show(const LotChartData& data)
{
    auto* chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignTop);
    chart->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries); // the cross, not a box
    QFont small = chart->legend()->font(); // five entries in a row over a narrow chart
    small.setPointSizeF(small.pointSizeF() * 0.85);
    chart->legend()->setFont(small);
    chart->setMargins(QMargins(4, 4, 4, 4));
    const auto axes = AddChartAxes(chart, data.X, data.XTitle, data.Y);
    QValueAxis* x = axes.first;
    QValueAxis* y = axes.second;
    const auto add = [&](QXYSeries* s) {
        chart->addSeries(s);
        s->attachAxis(x);
        s->attachAxis(y);
    };
    // The signs of the plan and the report: passed a filled disc, failed a cross, not judged
    // (no requirement) a hollow square.
    const auto points = [&](const std::vector<QPointF>& values, const QString& name,
                            Verdict shown) {
        auto* s = new QScatterSeries;
        s->setName(name);
        s->setMarkerSize(9);
        if (shown == Verdict::Pass) {
            s->setColor(QColor(QRgb(LotPassingColour)));
            s->setBorderColor(QColor(QRgb(LotPassingColour)));
        } else if (shown == Verdict::Fail) {
            s->setColor(QColor(QRgb(LotFailingColour)));
            s->setLightMarker(Cross(11));
            s->setMarkerSize(11);
        } else {
            s->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
            s->setColor(Qt::transparent);
            s->setBorderColor(QColor(QRgb(NotJudgedGrey)));
        }
        // At once: appended one by one, a lot of thousands of points redraws thousands of times.
        s->replace(QList<QPointF>(values.begin(), values.end()));
        add(s);
    };
    points(data.Passing, data.PassingName, data.Required ? Verdict::Pass : Verdict::None);
    if (data.Required) // nothing fails where nothing is required
        points(data.Failing, data.FailingName, Verdict::Fail);
    for (const LotChartLine& level : data.Lines) {
        auto* line = new QLineSeries;
        line->setName(level.Name);
        line->setPen(
            QPen(QColor(QRgb(level.Colour)), 1.5, level.Dashed ? Qt::DashLine : Qt::SolidLine));
        line->append(data.X.Min, level.Value);
        line->append(data.X.Max, level.Value);
        add(line);
    }
    QChart* old = this->chart();
    setChart(chart);
    delete old;
}
