#include "LotChartView.h"

#include "outputs/gui/ChartAxes.h"

#include <QChart>
#include <QLineSeries>
#include <QPen>
#include <QScatterSeries>
#include <QValueAxis>

// The texts come in the chart's data, already in the window's language.
LotChartView::LotChartView(UiLanguage /*uiLanguage*/, QWidget* parent) : QChartView(parent)
{
    setRenderHint(QPainter::Antialiasing);
}

void LotChartView::Show(const LotChartData& data)
{
    auto* chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignTop);
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
    const auto points = [&](const std::vector<QPointF>& values, const QString& name, QColor c,
                            qreal size) {
        auto* s = new QScatterSeries;
        s->setName(name);
        s->setColor(c);
        s->setBorderColor(c);
        s->setMarkerSize(size);
        // At once: appended one by one, a lot of thousands of points redraws thousands of times.
        s->replace(QList<QPointF>(values.begin(), values.end()));
        add(s);
    };
    points(data.Passing, data.PassingName, QColor(QRgb(LotPassingColour)), 9);
    points(data.Failing, data.FailingName, QColor(QRgb(LotFailingColour)), 13);
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
