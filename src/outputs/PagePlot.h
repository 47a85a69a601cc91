#pragma once

#include "ChartAxis.h"

#include <QString>

class PrintPage;

// A chart's plot area on a printed page, in millimetres, and where values land in it.
struct PagePlot {
    float X0, X1, Y0, Y1; // left, right, top, bottom of the frame
    ChartAxis X, Y;

    float PageX(double x) const { return float(X0 + (x - X.Min) / (X.Max - X.Min) * (X1 - X0)); }
    float PageY(double y) const { return float(Y1 - (y - Y.Min) / (Y.Max - Y.Min) * (Y1 - Y0)); }
};

// A tick's label: whole numbers, or as many decimals as the step needs.
QString AxisLabel(double v, double step);

// The grid lines and labels of the value axis, the ticks and labels of the other, and the
// frame around them.
void DrawPlotFrame(PrintPage& page, const PagePlot& plot);
