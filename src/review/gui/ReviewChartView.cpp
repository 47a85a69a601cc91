#include "ReviewChartView.h"

#include <QChart>
#include <QLineSeries>
#include <QPen>
#include <QScatterSeries>
#include <QValueAxis>

ReviewChartView::ReviewChartView(QWidget* parent) : QChartView(parent)
{
    setRenderHint(QPainter::Antialiasing);
}

void ReviewChartView::Show(const ChartData& data)
{
    auto* chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignTop);
    auto* x = new QValueAxis;
    x->setRange(data.X.Min, data.X.Max);
    x->setTickCount(std::min(data.X.Ticks(), 21));
    x->setLabelFormat(data.X.Step < 1.0 ? QStringLiteral("%.1f") : QStringLiteral("%d"));
    x->setTitleText(data.XTitle);
    auto* y = new QValueAxis;
    y->setRange(data.Y.Min, data.Y.Max);
    y->setTickCount(data.Y.Ticks());
    y->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
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
