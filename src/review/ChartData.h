#pragma once

#include "DayFile.h"

#include <QPointF>
#include <cstdint>
#include <vector>

// What the chart of a day shows, the same in the window and on the protocol: K and E
// against the result number, each with its mean.
struct ChartSeries {
    QString Name; // the column heading, unit included
    uint32_t Colour = 0;
    std::vector<QPointF> Points; // undefined values left out
    bool HasMean = false;
    double Mean = 0.0;
    QString MeanLabel; // the name with its mean, for the legend
};

struct ChartAxis {
    double Min = 0.0;
    double Max = 1.0;
    double Step = 1.0; // between labelled ticks
    int Ticks() const; // labelled ticks, both ends included
};

struct ChartData {
    QString XTitle;
    std::vector<ChartSeries> Series; // K, then E (BU, then BO where they are mixed)
    ChartAxis X;
    ChartAxis Y;
};

// The measurement numbers when they rise through the day, else the results' order from 1.
// `rows` are the rows shown (every row when empty); E of each formula is a series apart on a
// day that mixes them.
ChartData BuildChartData(const DayFile& day, int16_t uiLanguage, const std::vector<int>& rows = {});

// A range with round steps (1, 2 or 5 times a power of ten) that holds lo..hi.
ChartAxis RoundAxis(double lo, double hi, int wantedSteps);
