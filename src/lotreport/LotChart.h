#pragma once

#include "lotsession/LotSession.h"

#include "outputs/ChartAxis.h"
#include "siteplan/PointMarkColours.h"

#include <QPointF>
#include <optional>
#include <vector>

// A level drawn across the chart: the requirement, the lot's mean, its characteristic value.
struct LotChartLine {
    QString Name; // for the legend, with its value
    double Value = 0.0;
    uint32_t Colour = 0;
    bool Dashed = false;
};

// The points' K or E against the point number, with the required value, the lot's mean and
// its characteristic value as lines; the failing points apart, so that both the window and
// the report make them stand out, under the same legend.
struct LotChartData {
    QString Title; // the value and its unit
    QString XTitle;
    std::vector<QPointF> Passing; // passed, or no requirement on this value
    std::vector<QPointF> Failing;
    QString PassingName;
    QString FailingName;
    std::optional<double> Required;
    std::vector<LotChartLine> Lines; // the requirement first, where there is one
    ChartAxis X;
    ChartAxis Y;
};

LotChartData BuildLotChart(const LotSession& lot, bool modulus, UiLanguage uiLanguage);
