#include "ReviewChartView.h"

#include <QChart>
#include <QLineSeries>
#include <QPen>
#include <QScatterSeries>
#include <QValueAxis>
#include <cmath>

namespace
{

// As many decimals as the step between labels needs, so that no two labels read the same.
QString LabelFormat(double step)
{
    const int decimals = step >= 1.0 ? 0 : int(-std::floor(std::log10(step) + 1e-9));
    return decimals == 0 ? QStringLiteral("%d") : QStringLiteral("%.%1f").arg(decimals);
}

} // namespace

std::pair<QValueAxis*, QValueAxis*> AddChartAxes(QChart* chart, const ChartAxis& x,
                                                 const QString& xTitle, const ChartAxis& y)
{
    auto* along = new QValueAxis;
    along->setRange(x.Min, x.Max);
    along->setTickCount(std::min(x.Ticks(), 21));
    along->setLabelFormat(LabelFormat(x.Step));
    along->setTitleText(xTitle);
    auto* up = new QValueAxis;
    up->setRange(y.Min, y.Max);
    up->setTickCount(y.Ticks());
    up->setLabelFormat(LabelFormat(y.Step));
    chart->addAxis(along, Qt::AlignBottom);
    chart->addAxis(up, Qt::AlignLeft);
    return {along, up};
}

ReviewChartView::ReviewChartView(QWidget* parent) : QChartView(parent)
{
    setRenderHint(QPainter::Antialiasing);
}

void ReviewChartView::Show(const ChartData& data)
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
