#pragma once

#include "outputs/ChartAxis.h"

#include <QString>
#include <utility>

class QChart;
class QValueAxis;

// The axes of a review chart, added to `chart`: whole numbers up the side, at most 21
// labelled ticks along the bottom, with a decimal where the ticks fall between numbers.
std::pair<QValueAxis*, QValueAxis*> AddChartAxes(QChart* chart, const ChartAxis& x,
                                                 const QString& xTitle, const ChartAxis& y);
