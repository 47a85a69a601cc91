#include "ChartAxes.h"

#include <QChart>
#include <QValueAxis>
#include <algorithm>
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
