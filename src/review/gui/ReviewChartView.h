#pragma once

#include "review/ChartData.h"

#include <QChartView>
#include <utility>

class QValueAxis;

// The chart of a day on the screen: K and E against the result number, each with its
// mean as a dashed line, from the same data the protocol draws.
class ReviewChartView : public QChartView
{
    Q_OBJECT
public:
    explicit ReviewChartView(QWidget* parent = nullptr);
    void Show(const ChartData& data);
};

// The axes of a review chart, added to `chart`: whole numbers up the side, at most 21
// labelled ticks along the bottom, with a decimal where the ticks fall between numbers.
std::pair<QValueAxis*, QValueAxis*> AddChartAxes(QChart* chart, const ChartAxis& x,
                                                 const QString& xTitle, const ChartAxis& y);
