#include "DayChartView.h"

#include "outputs/gui/ChartAxes.h"

#include <QChart>
#include <QLineSeries>
#include <QPen>
#include <QScatterSeries>
#include <QValueAxis>
#include <cmath>

DayChartView::DayChartView(QWidget* parent) : QChartView(parent)
{
    setRenderHint(QPainter::Antialiasing);
}

void DayChartView::Show(const DayChartData& data)
{
    auto* chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignTop);
    const auto axes = AddChartAxes(chart, data.X, data.XTitle, data.Y);
    QValueAxis* x = axes.first;
    QValueAxis* y = axes.second;
    for (const ChartSeries& s : data.Series) {
        const QColor colour{QRgb(s.Colour)};
        auto* line = new QLineSeries;
        line->setName(s.Name);
        line->setPen(QPen(colour, 1.5));
        line->setPointsVisible(true);
        for (const QPointF& p : s.Points)
            line->append(p);
        chart->addSeries(line);
        line->attachAxis(x);
        line->attachAxis(y);
        if (!s.HasMean)
            continue;
        auto* mean = new QLineSeries;
        mean->setName(s.MeanLabel);
        mean->setPen(QPen(colour, 1.0, Qt::DashLine));
        mean->append(data.X.Min, s.Mean);
        mean->append(data.X.Max, s.Mean);
        chart->addSeries(mean);
        mean->attachAxis(x);
        mean->attachAxis(y);
    }
    QChart* old = this->chart();
    setChart(chart);
    delete old;
}
