#pragma once

#include "ReviewedDay.h"

#include "outputs/ChartAxis.h"

#include <QPointF>
#include <cstdint>
#include <vector>

// What the chart of a day shows, the same in the window and on the report: K and E
// against the result number, each with its mean.
struct ChartSeries {
    QString Name; // the column heading, unit included
    uint32_t Colour = 0;
    std::vector<QPointF> Points; // undefined values left out
    bool HasMean = false;
    double Mean = 0.0;
    QString MeanLabel; // the name with its mean, for the legend
};

struct DayChartData {
    QString XTitle;
    std::vector<ChartSeries> Series; // K, then E (BU, then BO where they are mixed)
    ChartAxis X;
    ChartAxis Y;
};

// K, then E (of each formula apart where the selection mixes them) of the rows `selection`
// covers, in its order, each with its mean from the selection's statistics; against the
// measurement numbers when they rise through those rows, else their order from 1.
DayChartData BuildDayChart(const ReviewedDay& day, const DaySelection& selection);
