// Station and offset, on the machine it runs on. A road of 500 elements (a line, a clothoid,
// an arc and a clothoid again, turning left and right by turns: some 17 km) is written as
// LandXML into a temporary folder and read back, then 2,000 points beside it, up to 20 m
// either side, are named by station and offset, the best of five runs. Every point must get
// the station and offset it was made at, to the millimetre. VX_BENCH_SHORT=1: 200 points, the
// aims printed but not judged (for CI). The whole lot's points are named in a blink.
#include "BenchRun.h"
#include "alignment/LandXmlAlignment.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>

namespace
{

constexpr int Groups = 125; // of four elements
constexpr double Radius = 200.0;

std::vector<AlignmentElement> Design()
{
    std::vector<AlignmentElement> chain;
    PlanePoint at{-35000.0, 12000.0};
    double heading = 0.3;
    const auto add = [&](const AlignmentElement& e) {
        chain.push_back(e);
        at = e.At(e.Length);
        heading = e.HeadingAt(e.Length);
    };
    for (int g = 0; g < Groups; ++g) {
        const double k = (g % 2 == 0 ? 1.0 : -1.0) / Radius;
        add(LineElement(at,
                        {at.North + 40.0 * std::sin(heading), at.East + 40.0 * std::cos(heading)}));
        add(SpiralElement(at, heading, 30.0, 0.0, k));
        add(ArcElement(at, heading, 40.0, k));
        add(SpiralElement(at, heading, 30.0, k, 0.0));
    }
    ChainElements(&chain);
    return chain;
}

QString Point(PlanePoint p)
{
    return QStringLiteral("%1 %2").arg(p.North, 0, 'f', 6).arg(p.East, 0, 'f', 6);
}

QByteArray LandXml(const std::vector<AlignmentElement>& chain)
{
    QString geometry;
    for (const AlignmentElement& e : chain) {
        const QString ends = QStringLiteral("<Start>%1</Start><End>%2</End>")
                                 .arg(Point(e.Start), Point(e.At(e.Length)));
        const double k = e.CurvatureStart != 0.0 ? e.CurvatureStart : e.CurvatureEnd;
        const QString rot = k > 0.0 ? QStringLiteral("ccw") : QStringLiteral("cw");
        if (e.Kind == ElementKind::Line)
            geometry += QStringLiteral("<Line>%1</Line>\n").arg(ends);
        else if (e.Kind == ElementKind::Arc)
            geometry += QStringLiteral("<Curve rot=\"%1\" radius=\"%2\">%3<Center>%4</Center>"
                                       "</Curve>\n")
                            .arg(rot)
                            .arg(Radius)
                            .arg(ends)
                            .arg(Point({e.Start.North + std::cos(e.Heading) / k,
                                        e.Start.East - std::sin(e.Heading) / k}));
        else
            geometry +=
                QStringLiteral("<Spiral spiType=\"clothoid\" rot=\"%1\" length=\"%2\" "
                               "radiusStart=\"%3\" radiusEnd=\"%4\">%5<PI>%6</PI>"
                               "</Spiral>\n")
                    .arg(rot)
                    .arg(e.Length)
                    .arg(e.CurvatureStart == 0.0 ? QStringLiteral("INF") : QString::number(Radius))
                    .arg(e.CurvatureEnd == 0.0 ? QStringLiteral("INF") : QString::number(Radius))
                    .arg(ends)
                    .arg(Point({e.Start.North + 10.0 * std::sin(e.Heading),
                                e.Start.East + 10.0 * std::cos(e.Heading)}));
    }
    return QStringLiteral("<?xml version=\"1.0\"?>\n<LandXML version=\"1.2\"><Units><Metric "
                          "linearUnit=\"meter\"/></Units><Alignments><Alignment name=\"R\" "
                          "staStart=\"0\"><CoordGeom>\n%1</CoordGeom></Alignment></Alignments>"
                          "</LandXML>\n")
        .arg(geometry)
        .toUtf8();
}

struct Probe {
    PlanePoint Where;
    double Along, Offset;
};

// Points spread along the whole road, up to 20 m either side of it.
std::vector<Probe> Probes(const std::vector<AlignmentElement>& chain, int count)
{
    std::vector<Probe> probes;
    const double length = chain.back().Along + chain.back().Length;
    size_t e = 0;
    for (int i = 0; i < count; ++i) {
        const double along = length * (i + 0.5) / count;
        while (chain[e].Along + chain[e].Length < along)
            ++e;
        const double s = along - chain[e].Along, offset = std::fmod(i * 7.3, 40.0) - 20.0;
        const PlanePoint c = chain[e].At(s);
        const double h = chain[e].HeadingAt(s);
        probes.push_back(
            {{c.North - offset * std::cos(h), c.East + offset * std::sin(h)}, along, offset});
    }
    return probes;
}

} // namespace

int main()
{
    PrintLineByLine();
    const int count = ShortRun() ? 200 : 2'000;
    const std::vector<AlignmentElement> design = Design();

    QTemporaryDir dir;
    const QString path = dir.filePath("road.xml");
    const QByteArray xml = LandXml(design);
    const bool written = WriteBenchFile(path, xml);
    AlignmentFile file;
    const double readMs = BestMs(3, [&] { file = ReadAlignmentFile(path); });
    std::printf("read a LandXML alignment of %zu elements (%.1f km, %.0f KB): %s\n",
                file.Chosen.Elements.size(), file.Chosen.Length() / 1000.0, xml.size() / 1024.0,
                file.Refused() ? qPrintable(file.Problem.En) : "read");
    bool met = Aim(readMs, 100, "  the time");

    const std::vector<Probe> probes = Probes(design, count);
    std::vector<StationOffset> named(probes.size());
    const double locateMs = BestMs(5, [&] {
        for (size_t i = 0; i < probes.size(); ++i)
            named[i] = file.Chosen.Locate(probes[i].Where);
    });
    int right = 0;
    for (size_t i = 0; i < probes.size(); ++i) {
        right += named[i].HasStation() && !named[i].Ambiguous &&
                 std::abs(named[i].Station - probes[i].Along) < 0.001 &&
                 std::abs(named[i].Offset - probes[i].Offset) < 0.001;
    }
    std::printf("name %d points by station and offset: %d right to the millimetre\n", count, right);
    met = Aim(locateMs, 50, "  the time") && met;

    const bool done = written && !file.Refused() && file.Chosen.Elements.size() == design.size() &&
                      right == count;
    return BenchVerdict("alignment", "the road read, every point named where it was made", done,
                        met);
}
