#include "../printing/PdfTools.h"
#include "LotFixtures.h"
#include "lotreport/LotReport.h"
#include "lotreport/LotWorkbook.h"

#include "printing/PdfPage.h"
#include "record/PositionLine.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

// A day of 300 drops 20 s apart, a point every fifth: 60 points run over the sheets. Every
// kind of edit is made; the draft's day file then loses its last drops, and with them the
// drop of an exclusion, so that it has no verdict. The short hash of the day file printed.
QString PrintEditedLot(const QTemporaryDir& dir, UiLanguage language, bool draft)
{
    const QString day = dir.filePath("20240506.csv"), pdf = dir.filePath("report.pdf");
    QByteArray bytes = FixtureDayBytes(300, QDate(2024, 5, 6), UiLanguage::English, false);
    WriteBytes(day, bytes);
    LotSession lot(language);
    lot.SetEditor("K. Sato", [] { return QDateTime(QDate(2024, 5, 7), QTime(9, 30), Qt::UTC); });
    lot.New({day});
    lot.SetRules({99, 1, 2});
    for (int i = 5; i < 300; i += 5)
        lot.SplitAt(i);
    lot.SetJudgement({{415.0, std::nullopt}, 1.645, LotRule::EveryPoint});
    lot.SetHeader({"Ring road", "Lot 4", "Subbase", "A. Tester", "", "", "", "", "JIS A 1215",
                   "QL-0042", "2024/04/01"});
    lot.Include(5);
    lot.Exclude(12, ExclusionReason::Other, "slipped");
    lot.Exclude(297, ExclusionReason::WeightNotCaught, "");
    lot.JoinWithNext(7, "one plate, a pause");
    lot.ExcludePoint(3, "plate on rock");
    if (draft) {
        Bilingual problem, notice;
        lot.Save(dir.filePath("lot.json"), &problem);
        bytes = FixtureDayBytes(290, QDate(2024, 5, 6), UiLanguage::English, false);
        WriteBytes(day, bytes);
        lot.Open(dir.filePath("lot.json"), &problem, &notice);
    }
    SitePlanData plan;
    plan.System = Words("局所座標 (東, 北)", "local (east, north)");
    plan.Points = {{1, "", Verdict::Fail, true, 0, 0, false},
                   {2, "", Verdict::Pass, true, 30, 40, true},
                   {3, "", Verdict::None, false, 0, 0, false}};
    PdfPage page(pdf);
    EXPECT_TRUE(PrintLotReport(page, lot, QDate(2024, 5, 7), language, "Times New Roman", &plan));
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().left(12);
}

// The report is a quality record in both languages: its header with the date of issue and
// the program, the day file by its hash, every edit with its drop's moment as the day files
// write it (a lost one said to be), lines to sign; a draft says so and why on every sheet
// and gives the lot no verdict. The points' table runs over sheets with its heading on each.
// The site plan closes it on a sheet of its own.
TEST(LotReport, RecordsEditsAndDaysAndMarksADraftOnEverySheet)
{
    const struct {
        const char* Case;
        UiLanguage Language;
        bool Draft;
        std::vector<const char*> Has;
        const char* Verdict;
        const char* DraftMark;
        std::vector<const char*> Plan;
    } rows[] = {
        {"English record",
         UiLanguage::English,
         false,
         {"Date of issue 05/07/2024", "VX-2968 2.2.0", "drop included", "joined to previous",
          "05/06/2024 08:04:00", "slipped", "plate on rock", "Tested by (signature)",
          "Factor k 1.645", "Least used drops at least 2 a point", "Lot file (not saved)",
          "Standard JIS A 1215", "Calibrated 2024/04/01", "one plate, a pause",
          "K. Sato 05/07/2024 09:30:00"},
         "Lot verdict (every point)",
         "DRAFT",
         {"Site plan of the points — Ring road / Lot 4 / Subbase", "pass fail not judged",
          "plate moved: drops spread over 5 m", "System: local (east, north)", "No position: 3",
          "Tested by (signature)"}},
        {"English draft",
         UiLanguage::English,
         true,
         {"LOST: its drop is no longer in the file", "weight not caught", "changed since saved"},
         "Lot verdict",
         "DRAFT Not a final record: no verdict:",
         {"Site plan of the points"}},
        {"Japanese record",
         UiLanguage::Japanese,
         false,
         {"発行日 2024/05/07", "打撃の採用", "2024/05/06 08:04:00", "slipped", "試験者 (署名)"},
         "ロットの判定 (",
         "DRAFT",
         {"測点の配置図", "合格", "座標系: 局所座標 (東, 北)", "位置なし: 3", "試験者 (署名)"}},
        {"Japanese draft",
         UiLanguage::Japanese,
         true,
         {"打撃がファイルにありません"},
         "ロットの判定 (",
         "DRAFT 下書き 確定した記録ではありません",
         {"測点の配置図"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Case);
        QTemporaryDir dir;
        const QString hash = PrintEditedLot(dir, row.Language, row.Draft);
        const QString pdf = dir.filePath("report.pdf");
        const QString info = pdftools::RunTool("pdfinfo", {pdf});
        const int pages = QRegularExpression("Pages:\\s+(\\d+)").match(info).captured(1).toInt();
        ASSERT_GE(pages, 2);
        QString all, last;
        for (int p = 1; p <= pages; ++p) {
            const QString n = QString::number(p);
            const QString text =
                pdftools::RunTool("pdftotext", {"-layout", "-f", n, "-l", n, pdf, "-"})
                    .simplified();
            EXPECT_EQ(text.contains(QString::fromUtf8(row.DraftMark)), row.Draft) << p;
            EXPECT_TRUE(text.contains("Ring road / Lot 4 / Subbase — issued 05/07/2024") ||
                        !row.Language)
                << "the lot and the date of issue on sheet " << p;
            all += text + ' ';
            last = text;
        }
        for (const char* part : row.Plan)
            EXPECT_TRUE(last.contains(QString::fromUtf8(part))) << part << "\n"
                                                                << last.toStdString();
        const QString second = pdftools::RunTool("pdftotext", {"-f", "2", "-l", "2", pdf, "-"});
        EXPECT_TRUE(second.contains(row.Language ? "First drop" : "最初の打撃"));
        EXPECT_TRUE(all.contains(QString("Page %1 of %2").arg(pages).arg(pages)) || !row.Language);
        EXPECT_TRUE(all.contains(hash + ' ')) << "the day file's hash, to 12 digits";
        for (const char* part : row.Has)
            EXPECT_TRUE(all.contains(QString::fromUtf8(part))) << part;
        EXPECT_NE(all.contains(QString::fromUtf8(row.Verdict)), row.Draft);
    }
}

// A sheet as openpyxl, a reader that is not ours, reads it (Debian's python3): its rows, each
// cell's value.
QJsonArray WorkbookSheet(const QString& xlsx, const QString& name = "Points")
{
    const char* script = R"py(
import json, sys, openpyxl
sheet = openpyxl.load_workbook(sys.argv[1])[sys.argv[2]]
print(json.dumps([[c.value for c in row] for row in sheet.iter_rows()], default=str))
)py";
    return QJsonDocument::fromJson(
               pdftools::RunTool("/usr/bin/python3", {"-c", script, xlsx, name}).toUtf8())
        .array();
}

QJsonArray After(const QJsonValue& row, int column)
{
    QJsonArray rest;
    const QJsonArray cells = row.toArray();
    for (int c = column + 1; c < cells.size(); ++c)
        rest.append(cells[c]);
    return rest;
}

// Places end the sheet Points when given; without, it is as it always was.
TEST(LotWorkbook, PointsSheetEndsInPlacesWhenGiven)
{
    QTemporaryDir dir;
    WriteDay(dir.filePath("20240506.csv"), DayLines());
    LotSession lot(UiLanguage::English);
    Bilingual problem, notice;
    ASSERT_TRUE(lot.Open(SaveLot(QDir(dir.path())), &problem, &notice));
    const PointCoordinates station{true, 35.681236, 139.767125, true, -35363.2377, -5992.9196};
    const CoordinateColumns latLon{{{}, station}, false}, grid{{{}, station}, true};
    const struct {
        const char* Case;
        const CoordinateColumns* Places;
        QJsonArray Headings, Second; // after the column Note
    } rows[] = {
        {"none", nullptr, {}, {}},
        {"latitude and longitude", &latLon, {"Latitude", "Longitude"}, {35.681236, 139.767125}},
        {"with a reference system",
         &grid,
         {"Latitude", "Longitude", "Northing(m)", "Easting(m)"},
         {35.681236, 139.767125, -35363.238, -5992.92}}, // as the points file writes them
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Case);
        const QString path = dir.filePath(QString(row.Case) + ".xlsx");
        ASSERT_TRUE(WriteLotWorkbook(path, lot, QDate(2024, 5, 7), UiLanguage::English, &problem,
                                     row.Places));
        const QJsonArray sheet = WorkbookSheet(path);
        ASSERT_EQ(sheet.size(), 4);
        const int note = 12;
        EXPECT_EQ(sheet[0].toArray()[note].toString(), "Note");
        EXPECT_EQ(sheet[0].toArray().size(), note + 1 + row.Headings.size());
        EXPECT_EQ(After(sheet[0], note), row.Headings);
        EXPECT_EQ(After(sheet[2], note), row.Second);
        for (const auto& cell : After(sheet[1], note))
            EXPECT_TRUE(cell.isNull()) << "the first point has no place";
    }
}

// Two points placed by the positions file beside their day along the centreline of RoadXml():
// the first at its station 61.326 m, 10.003 m left, the second 81 m right of the road. The
// report and the workbook name the road, its file by hash, how its stations are written and
// each point's station and offset, or why it has none, in either language.
TEST(LotReport, NamesThePointsAlongTheCentreline)
{
    QTemporaryDir dir;
    const QString day = dir.filePath("20240506.csv"), road = dir.filePath("road.xml");
    WriteBytes(day, FixtureDayBytes(2, QDate(2024, 5, 6), UiLanguage::Japanese, false));
    WriteBytes(dir.filePath("20240506.pos"),
               (PositionsHeading() + "\n00001,2024/05/06 08:00:00,35.0000000,139.8333333,,2D,,0.5\n"
                                     "00002,2024/05/06 08:00:20,35.0000000,139.8343333,,2D,,0.5\n")
                   .toUtf8());
    WriteBytes(road, RoadXml());
    const QString hash = QCryptographicHash::hash(RoadXml(), QCryptographicHash::Sha256).toHex();
    const struct {
        UiLanguage Language;
        std::vector<const char*> Has;
    } rows[] = {
        {UiLanguage::English,
         {"Centreline Route 12", "Stations stakes of 20 m", "50 m from the centreline",
          "Offset(m) right +", "No.3+1.33 -10.003", "more than 50 m off", "centreline (LandXML)"}},
        {UiLanguage::Japanese,
         {"中心線 Route 12", "No. 杭 20 m 間隔", "右が正", "No.3+1.33 -10.003",
          "中心線から 50 m 超", "中心線 (LandXML)"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(int(row.Language));
        LotSession lot(row.Language);
        lot.New({day});
        lot.SplitAt(1);
        Bilingual problem;
        ASSERT_TRUE(lot.SetEpsg(6677, &problem));
        ASSERT_TRUE(lot.SetAlignment(road, "", &problem)) << problem.En.toStdString();
        const QString pdf = dir.filePath("report.pdf");
        PdfPage page(pdf);
        ASSERT_TRUE(PrintLotReport(page, lot, QDate(2024, 5, 7), row.Language, "Times New Roman"));
        const QString text = pdftools::RunTool("pdftotext", {"-layout", pdf, "-"}).simplified();
        EXPECT_TRUE(text.contains("road.xml " + hash.left(12))) << text.toStdString();
        for (const char* part : row.Has)
            EXPECT_TRUE(text.contains(QString::fromUtf8(part))) << part;
        if (row.Language == UiLanguage::Japanese)
            continue;
        const QString xlsx = dir.filePath("lot.xlsx");
        const std::optional<CoordinateColumns> places = lot.Places().Columns();
        ASSERT_TRUE(WriteLotWorkbook(xlsx, lot, QDate(2024, 5, 7), row.Language, &problem,
                                     places ? &*places : nullptr));
        const QJsonArray points = WorkbookSheet(xlsx);
        EXPECT_EQ(After(points[0], 16), QJsonArray({"Station(m)", "Offset(m)", "Station"}));
        EXPECT_EQ(After(points[1], 16), QJsonArray({61.326, -10.003, "No.3+1.33"}));
        const QString sheet = QJsonDocument(WorkbookSheet(xlsx, "Lot")).toJson();
        EXPECT_TRUE(sheet.contains(hash) && sheet.contains("Route 12"));
    }
}

} // namespace
