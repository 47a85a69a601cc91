#pragma once

#include "dayreview/DayChart.h"

#include <QChartView>

// The chart of a day on the screen: K and E against the result number, each with its
// mean as a dashed line, from the same data the report draws.
class DayChartView : public QChartView
{
    Q_OBJECT
public:
    explicit DayChartView(QWidget* parent = nullptr);
    void Show(const DayChartData& data);
};
