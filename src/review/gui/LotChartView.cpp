#include "LotChartView.h"

#include "ReviewChartView.h"

#include <QChart>
#include <QLineSeries>
#include <QPen>
#include <QScatterSeries>
#include <QValueAxis>

LotChartView::LotChartView(int16_t uiLanguage, QWidget* parent)
    : QChartView(parent), m_language(uiLanguage)
{
    setRenderHint(QPainter::Antialiasing);
}

void LotChartView::Show(const LotChartData& data)
{
    auto* chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignTop);
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
    points(data.Passing,
           data.Required ? Tr(m_language, "合格", "passed") : Tr(m_language, "測点", "points"),
           QColor(0x1f, 0x5f, 0xbf), 9);
    points(data.Failing, Tr(m_language, "不合格", "failed"), QColor(0xd0, 0x10, 0x10), 13);
    if (data.Required) {
        auto* line = new QLineSeries;
        line->setName(Tr(m_language, "規定値 %1", "required %1").arg(*data.Required));
        line->setPen(QPen(QColor(0xd0, 0x10, 0x10), 1.5, Qt::DashLine));
        line->append(data.X.Min, *data.Required);
        line->append(data.X.Max, *data.Required);
        add(line);
    }
    QChart* old = this->chart();
    setChart(chart);
    delete old;
}
