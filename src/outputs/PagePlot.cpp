#include "PagePlot.h"

#include "printing/PrintPage.h"

namespace
{
constexpr uint32_t Black = 0x000000;
constexpr uint32_t Grey = 0xb0b0b0;
} // namespace

QString AxisLabel(double v, double step)
{
    return step < 1.0 ? QString::number(v, 'f', step < 0.1 ? 2 : 1) : QString::number(qRound64(v));
}

void DrawPlotFrame(PrintPage& page, const PagePlot& plot)
{
    for (int i = 0; i < plot.Y.Ticks(); ++i) {
        const double v = plot.Y.Min + i * plot.Y.Step;
        page.Line(plot.X0, plot.PageY(v), plot.X1, plot.PageY(v), Grey);
        const QString label = AxisLabel(v, plot.Y.Step);
        page.Text(plot.X0 - 1.5f - page.TextWidth(label), plot.PageY(v) - 1.8f, label);
    }
    for (int i = 0; i < plot.X.Ticks(); ++i) {
        const double v = plot.X.Min + i * plot.X.Step;
        page.Line(plot.PageX(v), plot.Y1, plot.PageX(v), plot.Y1 + 1.5f, Black);
        const QString label = AxisLabel(v, plot.X.Step);
        page.Text(plot.PageX(v) - page.TextWidth(label) / 2, plot.Y1 + 2.0f, label);
    }
    page.Box(plot.X0, plot.Y0, plot.X1, plot.Y1, Black);
}
