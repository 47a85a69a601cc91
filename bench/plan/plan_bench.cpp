// How long the site plan of a large lot takes to draw: 2,000 points over a site of 400 by
// 250 m, a tenth failing, some not judged or moved, a few without a place, drawn with
// antialiasing into a 1,600 x 1,200 image as a window that size would be.

#include "BenchRun.h"

#include "lotreport/LotChart.h"
#include "siteplan/SitePlanDrawing.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <algorithm>

namespace
{

constexpr int Points = 2000;
constexpr double AimMs = 100.0;

SitePlanData LargePlan()
{
    QRandomGenerator random(2968); // the same site every run
    SitePlanData data;
    data.System = Words("EPSG:6677 JGD2011 / 平面直角座標系 IX",
                        "EPSG:6677 JGD2011 / Japan Plane Rectangular CS IX");
    for (int i = 1; i <= Points; ++i) {
        PlanPoint p;
        p.Number = i;
        p.Result = i % 10 == 0 ? Verdict::Fail : i % 17 == 0 ? Verdict::None : Verdict::Pass;
        p.HasPlace = i % 250 != 0;
        p.East = random.bounded(400.0);
        p.North = random.bounded(250.0);
        p.Moved = i % 40 == 0;
        data.Points.push_back(p);
    }
    return data;
}

// Pixels of the passing points' colour: the marks were drawn.
int PassingPixels(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        n += int(std::count(line, line + image.width(), QRgb(0xff000000 | LotPassingColour)));
    }
    return n;
}

} // namespace

int main(int argc, char** argv)
{
    PrintLineByLine();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const SitePlanData data = LargePlan();
    QImage image(1600, 1200, QImage::Format_ARGB32_Premultiplied);
    double best = 1e12;
    size_t marks = 0, labelled = 0;
    for (int run = 0; run < (ShortRun() ? 1 : 10); ++run) {
        image.fill(Qt::white);
        QElapsedTimer clock;
        clock.start();
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        PainterPlanCanvas canvas(painter);
        const SitePlanLayout plan =
            LaySitePlan(data, QRectF(image.rect()), canvas.Style(), UiLanguage::English);
        DrawSitePlan(canvas, plan);
        painter.end();
        best = std::min(best, double(clock.nsecsElapsed()) / 1e6);
        marks = plan.Marks.size();
        labelled = size_t(std::count_if(plan.Marks.begin(), plan.Marks.end(),
                                        [](const PlanMark& m) { return m.Labelled; }));
    }
    const bool met = best < AimMs;
    std::printf("draw a site plan of %d points (%zu placed, %zu numbered) into 1600x1200: "
                "%.1f ms (aim %.0f ms%s)\n",
                Points, marks, labelled, best, AimMs, AimNote(met));
    const bool done =
        marks == size_t(Points - Points / 250) && labelled > 0 && PassingPixels(image) > int(marks);
    return BenchVerdict("plan", "every placed point drawn, numbers placed", done, met);
}
