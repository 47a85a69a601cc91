#pragma once

#include "ChartData.h"
#include "LotSession.h"

// The points' K or E against the point number, with the required value as a line; the
// failing points apart, so that both the window and the protocol make them stand out.
struct LotChartData {
    QString Title; // the value and its unit
    QString XTitle;
    std::vector<QPointF> Passing; // passed, or no requirement on this value
    std::vector<QPointF> Failing;
    std::optional<double> Required;
    ChartAxis X;
    ChartAxis Y;
};

LotChartData BuildLotChart(const LotSession& lot, bool modulus, int16_t uiLanguage);
