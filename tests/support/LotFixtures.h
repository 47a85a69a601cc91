#pragma once

// A saved lot of one day, for the tests of the lot and its command line.

#include "ReviewFixtures.h"
#include "lotsession/LotSession.h"

#include <gtest/gtest.h>

// A day of eight drops 20 s apart, the third with the plate moved (K 300 among ~420), and a
// ninth drop ten minutes on that gave no value.
inline QStringList DayLines()
{
    const LoggerSettings s = FixtureSettings(false);
    QStringList lines{FileHeaderLine1(s), FileHeaderLine2(s, UiLanguage::Japanese)};
    for (int i = 0; i < 9; ++i) {
        ResultEntry e = FixtureResult(i, QDate(2024, 5, 6), UiLanguage::Japanese, s);
        if (i == 2)
            e.K = 300.0;
        if (i == 8) {
            e.DateTime = "2024/05/06 08:12:00";
            e.K = e.E = -1.0;
        }
        lines << ResultLine(e, s);
    }
    return lines;
}

inline void WriteDay(const QString& path, const QStringList& lines)
{
    ASSERT_TRUE(WriteBytes(path, EncodeFileText(lines.join("\r\n") + "\r\n", "CP932").value()));
}

// The lot as the engineer leaves it: two points of four (split at the fifth drop), the
// moved plate left out, the drop without value's point left out with a reason, K ≥ 400.
inline QString SaveLot(const QDir& dir)
{
    LotSession lot(UiLanguage::English);
    lot.New({dir.filePath("20240506.csv")});
    lot.SetJudgement({{400.0, std::nullopt}, DefaultQuantileFactor, LotRule::EveryPoint});
    lot.SplitAt(4);
    lot.Exclude(2, ExclusionReason::PlateMoved, {});
    EXPECT_EQ(lot.Summary().Result, Verdict::None) << "point 3 gave no value";
    EXPECT_TRUE(lot.Summary().Why.En.contains("point(s) 3 have no value"));
    EXPECT_FALSE(lot.ExcludePoint(2, " ")) << "not without a reason";
    EXPECT_TRUE(lot.ExcludePoint(2, "tested again as point 4"));
    lot.SetLocation(0, "No.12+5.0 L 2.0 m");
    Bilingual problem;
    const QString path = dir.filePath("lot.json");
    EXPECT_TRUE(lot.Save(path, &problem));
    return path;
}

// A road's centreline as a design office delivers it: LandXML, 200 m due north in EPSG:6677
// along easting 10 m from northing -111000 m, past the place of latitude 35°, longitude
// 139.8333333° (northing -110938.674, easting -0.003): its station is 61.326 m, 10.003 m
// left of the centreline. Elsewhere: from `north` along `east`.
inline QByteArray RoadXml(int epsg = 6677, double north = -111000.0, double east = 10.0)
{
    return QStringLiteral(
               "<?xml version=\"1.0\"?>\n<LandXML xmlns=\"http://www.landxml.org/schema/"
               "LandXML-1.2\" version=\"1.2\"><Units><Metric linearUnit=\"meter\"/></Units>"
               "<CoordinateSystem epsgCode=\"%1\"/><Alignments><Alignment name=\"Route 12\" "
               "staStart=\"0\" length=\"200\"><CoordGeom><Line length=\"200\"><Start>%2 "
               "%3</Start><End>%4 %3</End></Line></CoordGeom></Alignment></Alignments>"
               "</LandXML>\n")
        .arg(epsg)
        .arg(north, 0, 'f', 3)
        .arg(east, 0, 'f', 3)
        .arg(north + 200.0, 0, 'f', 3)
        .toUtf8();
}
