#include "alignment/LandXmlAlignment.h"
#include "alignment/StationText.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

namespace
{

// A design as a road engineer states it: where it starts, its heading, and each element's
// length and curvature at both ends (positive turns left). The test traces it on its own,
// in 5 mm steps by the midpoint rule, and answers every question by searching that trace.
struct Piece {
    const char* Kind;
    double Length, K0, K1;
};

struct Trace {
    std::vector<double> E, N, Heading; // every 5 mm
    std::vector<size_t> Joints;        // index of each element's start, and of the end
};

constexpr double Step = 0.005;

Trace TraceOf(double e, double n, double heading, const std::vector<Piece>& pieces)
{
    Trace t{{e}, {n}, {heading}, {0}};
    for (const Piece& p : pieces) {
        const int steps = int(std::lround(p.Length / Step));
        for (int i = 0; i < steps; ++i) {
            const double mid = (i + 0.5) * Step, k = p.K0 + (p.K1 - p.K0) * mid / p.Length;
            const double h = t.Heading.back() + k * Step / 2.0; // heading at the step's middle
            e += Step * std::cos(h);
            n += Step * std::sin(h);
            t.E.push_back(e);
            t.N.push_back(n);
            t.Heading.push_back(2.0 * h - t.Heading.back());
        }
        t.Joints.push_back(t.E.size() - 1);
    }
    return t;
}

QString At(const Trace& t, size_t i)
{
    return QStringLiteral("%1 %2").arg(t.N[i], 0, 'f', 9).arg(t.E[i], 0, 'f', 9);
}

// The chain written as LandXML: y (northing) before x in every point.
QByteArray LandXml(const Trace& t, const std::vector<Piece>& pieces, const QString& extra)
{
    QString chain;
    for (size_t j = 0; j < pieces.size(); ++j) {
        const Piece& p = pieces[j];
        const size_t a = t.Joints[j], b = t.Joints[j + 1];
        const double k = p.K0 != 0.0 ? p.K0 : p.K1;
        const QString rot = k > 0.0 ? QStringLiteral("ccw") : QStringLiteral("cw");
        const QString ends =
            QStringLiteral("<Start>%1</Start><End>%2</End>").arg(At(t, a), At(t, b));
        if (QLatin1String(p.Kind) == QLatin1String("Line"))
            chain += QStringLiteral("<Line>%1</Line>").arg(ends);
        else if (QLatin1String(p.Kind) == QLatin1String("Curve"))
            chain +=
                QStringLiteral("<Curve rot=\"%1\" radius=\"%2\">%3<Center>%4 %5</Center></Curve>")
                    .arg(rot)
                    .arg(1.0 / std::abs(k), 0, 'f', 9)
                    .arg(ends)
                    .arg(t.N[a] + std::cos(t.Heading[a]) / k, 0, 'f', 9)
                    .arg(t.E[a] - std::sin(t.Heading[a]) / k, 0, 'f', 9);
        else // a point 10 m ahead on the start's tangent gives the direction, as the PI does
            chain += QStringLiteral("<Spiral spiType=\"clothoid\" rot=\"%1\" length=\"%2\" "
                                    "radiusStart=\"%3\" radiusEnd=\"%4\">%5<PI>%6 %7</PI></Spiral>")
                         .arg(rot)
                         .arg(p.Length)
                         .arg(p.K0 == 0.0 ? QStringLiteral("INF")
                                          : QString::number(1.0 / std::abs(p.K0), 'f', 9))
                         .arg(p.K1 == 0.0 ? QStringLiteral("INF")
                                          : QString::number(1.0 / std::abs(p.K1), 'f', 9))
                         .arg(ends)
                         .arg(t.N[a] + 10.0 * std::sin(t.Heading[a]), 0, 'f', 9)
                         .arg(t.E[a] + 10.0 * std::cos(t.Heading[a]), 0, 'f', 9);
    }
    return QStringLiteral(
               "<?xml version=\"1.0\"?>\n<LandXML xmlns=\"http://www.landxml.org/schema/"
               "LandXML-1.2\" version=\"1.2\"><Units><Metric linearUnit=\"meter\"/></Units>"
               "<CoordinateSystem epsgCode=\"6677\"/><Alignments><Alignment name=\"R1\" "
               "staStart=\"1000\"><CoordGeom>%1</CoordGeom>%2</Alignment></Alignments>"
               "</LandXML>\n")
        .arg(chain, extra)
        .toUtf8();
}

// The nearest place of the trace to (e, n): its length along and the signed distance.
std::pair<double, double> NearestOnTrace(const Trace& t, double e, double n)
{
    size_t best = 0;
    double bestD = INFINITY;
    for (size_t i = 0; i < t.E.size(); ++i) {
        const double d = std::hypot(e - t.E[i], n - t.N[i]);
        if (d < bestD)
            bestD = d, best = i;
    }
    const double ce = std::cos(t.Heading[best]), sn = std::sin(t.Heading[best]);
    const double along = (e - t.E[best]) * ce + (n - t.N[best]) * sn;
    return {best * Step + along, (e - t.E[best]) * sn - (n - t.N[best]) * ce};
}

TEST(Alignment, StationAndOffsetAlongLineClothoidArcClothoidLineBothWays)
{
    // Two station equations: one with staInternal, one where only staBack says where it is.
    const QString equations =
        QStringLiteral("<StaEquation staInternal=\"1150\" staBack=\"1150\" staAhead=\"2000\"/>"
                       "<StaEquation staBack=\"2100\" staAhead=\"3000\"/>");
    for (const double turn : {1.0, -1.0}) {
        const double k = turn / 150.0;
        const std::vector<Piece> pieces = {{"Line", 100, 0, 0},
                                           {"Spiral", 60, 0, k},
                                           {"Curve", 80, k, k},
                                           {"Spiral", 60, k, 0},
                                           {"Line", 100, 0, 0}};
        const Trace t = TraceOf(-12000.0, 35000.0, 0.5, pieces);
        const AlignmentFile file =
            ParseLandXmlAlignment(QStringLiteral("road.xml"), LandXml(t, pieces, equations));
        ASSERT_FALSE(file.Refused()) << file.Problem.En.toStdString();
        EXPECT_EQ(file.EpsgCode, QStringLiteral("6677"));
        // Inside every element, at each joint, on both sides.
        for (const double along : {50.0, 100.0, 130.0, 160.0, 200.0, 240.0, 270.0, 330.0}) {
            for (const double off : {7.5, -12.25, 0.0}) {
                const size_t i = size_t(std::lround(along / Step));
                const double h = t.Heading[i];
                const double e = t.E[i] + off * std::sin(h), n = t.N[i] - off * std::cos(h);
                const auto [s, o] = NearestOnTrace(t, e, n);
                const StationOffset got = file.Chosen.Locate({n, e});
                ASSERT_TRUE(got.HasStation()) << along << " " << off;
                const double internal = 1000.0 + s;
                const double station = internal < 1150.0   ? internal
                                       : internal < 1250.0 ? 2000.0 + internal - 1150.0
                                                           : 3000.0 + internal - 1250.0;
                EXPECT_NEAR(got.Internal, internal, 0.0005) << along << " " << off;
                EXPECT_NEAR(got.Station, station, 0.0005) << along << " " << off;
                EXPECT_NEAR(got.Offset, o, 0.0005) << along << " " << off;
                EXPECT_FALSE(got.Ambiguous);
            }
        }
        // Beyond either end, and beyond the limit.
        const size_t last = t.E.size() - 1;
        const double h0 = t.Heading[0], h1 = t.Heading[last];
        EXPECT_EQ(file.Chosen.Locate({t.N[0] - std::sin(h0), t.E[0] - std::cos(h0)}).Miss,
                  StationMiss::BeforeStart);
        EXPECT_EQ(file.Chosen.Locate({t.N[last] + std::sin(h1), t.E[last] + std::cos(h1)}).Miss,
                  StationMiss::AfterEnd);
        const size_t mid = size_t(200.0 / Step);
        const double hm = t.Heading[mid];
        const PlanePoint far{t.N[mid] - 55.0 * std::cos(hm), t.E[mid] + 55.0 * std::sin(hm)};
        EXPECT_EQ(file.Chosen.Locate(far).Miss, StationMiss::TooFar);
        EXPECT_TRUE(file.Chosen.Locate(far, 60.0).HasStation());
    }
}

TEST(Alignment, NorthingComesBeforeEastingAndRightIsPositive)
{
    // Due east from northing 100, easting 0: a point south of it lies to its right.
    const QByteArray xml = "<LandXML><Alignments><Alignment name=\"A\"><CoordGeom><Line>"
                           "<Start>100 0</Start><End>100 50</End></Line></CoordGeom></Alignment>"
                           "</Alignments></LandXML>";
    const StationOffset got = ParseLandXmlAlignment("a.xml", xml).Chosen.Locate({95.0, 20.0});
    EXPECT_NEAR(got.Station, 20.0, 1e-9);
    EXPECT_NEAR(got.Offset, 5.0, 1e-9);
}

TEST(Alignment, TwoPartsOfAHairpinEquallyNearAreMarked)
{
    // East 100 m, a half turn of radius 10 m to the left, west 100 m.
    const QByteArray xml =
        "<LandXML><Alignments><Alignment name=\"A\"><CoordGeom>"
        "<Line><Start>0 0</Start><End>0 100</End></Line>"
        "<Curve rot=\"ccw\" radius=\"10\"><Start>0 100</Start><Center>10 100</Center>"
        "<End>20 100</End></Curve><Line><Start>20 100</Start><End>20 0</End></Line>"
        "</CoordGeom></Alignment></Alignments></LandXML>";
    const Alignment a = ParseLandXmlAlignment("a.xml", xml).Chosen;
    EXPECT_TRUE(a.Locate({10.0, 50.0}).Ambiguous);
    const StationOffset nearer = a.Locate({9.0, 50.0});
    EXPECT_FALSE(nearer.Ambiguous);
    EXPECT_NEAR(nearer.Station, 50.0, 1e-9);
    EXPECT_NEAR(nearer.Offset, -9.0, 1e-9);
}

TEST(AlignmentFile, RefusesBadInputInOneLineNamingTheFile)
{
    const QByteArray line = "<Line><Start>0 0</Start><End>0 100</End></Line>";
    const auto in = [](const QByteArray& chain, const QByteArray& more = {}) {
        return "<LandXML>" + more + "<Alignments><Alignment name=\"A\"><CoordGeom>" + chain +
               "</CoordGeom></Alignment></Alignments></LandXML>";
    };
    const struct {
        QByteArray Bytes;
        const char* Said;
    } rows[] = {
        {"<LandXML><Alignments>", "is not well-formed XML at line 1"},
        {"<!DOCTYPE LandXML [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;\">]>"
         "<LandXML>&b;</LandXML>",
         "declares a document type"},
        {"<LandXML/>", "holds no alignment"},
        {in(line + "<Chain/>"),
         ": alignment A, element 2 (Chain) is none of Line, Curve and Spiral"},
        {in(line, "<Units><Imperial linearUnit=\"USSurveyFoot\"/></Units>"),
         "USSurveyFoot; only metres"},
        {in("<Line><Start>0 0</Start><End>0 0</End></Line>"),
         "element 1 (Line) has a length of zero"},
        {in(line + "<Curve rot=\"cw\" radius=\"-5\"><Start>0 100</Start><Center>-5 100</Center>"
                   "<End>-10 100</End></Curve>"),
         "element 2 (Curve) has a radius of zero or less"},
        {in(line + "<Spiral rot=\"cw\" length=\"0\" radiusStart=\"INF\" radiusEnd=\"50\">"
                   "<Start>0 100</Start><End>0 100</End></Spiral>"),
         "element 2 (Spiral) has a length of zero or less"},
        {in(line + "<Spiral rot=\"cw\" length=\"20\" radiusStart=\"INF\" radiusEnd=\"50\">"
                   "<Start>0 100</Start><End>-1.33 119.96</End></Spiral>"),
         "element 2 (Spiral) has its End 0.0"},
        {in(line + "<Curve rot=\"ccw\" radius=\"10\"><Start>0 100</Start><Center>10 100</Center>"
                   "<End>10 110.002</End></Curve>"),
         "element 2 (Curve) has its End 0.002 m from where"},
        {in(line).replace("</Alignments>", "<Alignment name=\"B\"/></Alignments>"),
         "holds several alignments (A, B); choose one by its name"},
    };
    for (const auto& row : rows) {
        const AlignmentFile file = ParseLandXmlAlignment(QStringLiteral("road.xml"), row.Bytes);
        EXPECT_TRUE(file.Problem.En.startsWith(QStringLiteral("alignment file road.xml")));
        EXPECT_TRUE(file.Problem.En.contains(QLatin1String(row.Said)))
            << row.Said << "\n"
            << file.Problem.En.toStdString();
        EXPECT_TRUE(file.Problem.Ja.startsWith(QString::fromUtf8("線形ファイル road.xml")));
    }
    EXPECT_TRUE(ParseLandXmlAlignment("r.xml", in(line), "B")
                    .Problem.En.contains(QLatin1String("holds no alignment named B (it holds A)")));

    QTemporaryDir dir;
    QFile big(dir.filePath(QStringLiteral("big.xml")));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(51 * 1024 * 1024));
    big.close();
    EXPECT_TRUE(ReadAlignmentFile(big.fileName())
                    .Problem.En.contains(QLatin1String("larger than the 50 MB")));
}

TEST(StationText, JapaneseStakesAndPlainKilometres)
{
    const struct {
        double Station, Interval;
        const char *Japanese, *Plain;
    } rows[] = {
        {245.0, 20.0, "No.12+5.00", "0+245.000"}, {0.0, 20.0, "No.0+0.00", "0+000.000"},
        {19.996, 20.0, "No.1+0.00", "0+019.996"}, {1234.5, 100.0, "No.12+34.50", "1+234.500"},
        {-5.0, 20.0, "-No.0+5.00", "-0+005.000"}, {245.0, 0.0, "", "0+245.000"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(JapaneseStationText(row.Station, row.Interval), QLatin1String(row.Japanese));
        EXPECT_EQ(PlainStationText(row.Station), QLatin1String(row.Plain));
    }
}

} // namespace
