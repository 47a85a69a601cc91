#include "../printing/PdfTools.h"
#include "ReviewFixtures.h"
#include "SmallDisk.h"
#include "dayreview/DayReport.h"
#include "dayreview/DayWorkbook.h"

#include "printing/PdfPage.h"
#include "shell/gui/Application.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

// 120 results with D1 and D2, one of them with K and E undefined and one K far too high; the
// first `results` of them in a file written in `language`, reviewed in `shown`, every K
// `kTimes` what the drop gave.
ReviewedDay TestDay(UiLanguage language, UiLanguage shown, int results = 120, double kTimes = 1.0)
{
    DayFile day = ParseDayText("/stick/20240506.csv",
                               FixtureDayBytes(120, QDate(2024, 5, 6), language, true), language);
    ResultEntry& noLoad = day.Rows.at(11).Entry; // a drop without load: K and E undefined
    noLoad.Answer[1] = 0;
    noLoad.K = noLoad.E = -1;
    day.Rows.at(20).Entry.K *= 10;
    day.Rows.resize(results);
    for (ReviewRow& row : day.Rows)
        row.Entry.K *= kTimes;
    return ReviewedDay(std::move(day), shown);
}

QString PdfText(const QString& pdf, int page)
{
    const QString n = QString::number(page);
    return pdftools::RunTool("pdftotext", {"-f", n, "-l", n, pdf, "-"}).simplified();
}

// 46 rows under the title, 51 on each further sheet, each with the table's heading; the
// statistics follow the last rows and the chart needs a sheet of its own. Every sheet's
// footer counts the sheets the PDF really has; the title says what the report covers.
TEST(DayReport, TableRunsOverSheetsThenStatisticsAndChart)
{
    InstallFontSubstitutes();
    QTemporaryDir dir;
    const struct {
        const char* Case;
        int Results;
        std::vector<int> Chosen;
        int Pages;
        const char* Covers;
    } rows[] = {{"the whole day", 120, {}, 4, "Whole day (all 120 results)"},
                {"the chart on the second sheet", 44, {}, 2, "Whole day (all 44 results)"},
                {"three rows chosen", 120, {5, 2, 9}, 1, "Chosen rows (3 of 120 results)"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Case);
        const QString pdf = dir.filePath(QString::number(row.Pages) + ".pdf");
        const ReviewedDay day = TestDay(UiLanguage::English, UiLanguage::English, row.Results);
        {
            PdfPage page(pdf);
            ASSERT_TRUE(PrintDayReport(page, day, day.Select(row.Chosen), "Times New Roman"));
        }
        const QString pages = QString::number(row.Pages);
        EXPECT_TRUE(pdftools::RunTool("pdfinfo", {pdf})
                        .contains(QRegularExpression("Pages:\\s+" + pages + "\\n")));
        for (int p = 1; p <= row.Pages; ++p)
            EXPECT_TRUE(PdfText(pdf, p).contains(QString("Page %1 of %2").arg(p).arg(pages)));
        EXPECT_TRUE(PdfText(pdf, 1).contains(row.Covers)) << PdfText(pdf, 1).toStdString();
    }
    const QString pdf = dir.filePath("4.pdf");
    const auto has = [&](int page, const char* word) {
        return pdftools::Find(pdftools::WordsOf(pdf, page), word) != nullptr;
    };
    for (int p = 1; p <= 3; ++p)
        EXPECT_TRUE(has(p, "No")) << "sheet " << p << " repeats the heading";
    EXPECT_TRUE(has(1, "00046") && !has(1, "00047") && has(2, "00047"));
    EXPECT_TRUE(has(2, "00097") && !has(2, "00098") && has(3, "00098"));
    EXPECT_TRUE(PdfText(pdf, 3).contains(QString::fromUtf8("Mean SD (n−1) CV (%)")));
    EXPECT_TRUE(PdfText(dir.filePath("1.pdf"), 1).contains("00010 ")) << "a chosen row";
    EXPECT_FALSE(PdfText(dir.filePath("1.pdf"), 1).contains("00004 ")) << "a row not chosen";

    // The chart is drawn: K's blue shows on the last sheet.
    pdftools::RunTool("pdftoppm",
                      {"-r", "50", "-f", "4", "-l", "4", "-png", pdf, dir.filePath("p")});
    const QImage chart(dir.filePath("p-4.png"));
    int blue = 0;
    for (int y = 0; y < chart.height(); ++y)
        for (int x = 0; x < chart.width(); ++x)
            blue += chart.pixelColor(x, y).blue() > 150 && chart.pixelColor(x, y).red() < 100;
    EXPECT_GT(blue, 100);
}

// openpyxl, a reader that is not ours, reads the workbook back (Debian's python3, where
// python3-openpyxl is installed, whatever other python comes first on the PATH): each cell
// as its type, value and number format.
QJsonObject ReadBack(const QString& xlsx)
{
    const char* script = R"py(
import json, sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
def cell(c):
    v = c.value
    return [type(v).__name__, v.isoformat() if hasattr(v, "isoformat") else v, c.number_format]
out = {"sheets": wb.sheetnames}
for name in wb.sheetnames:
    out[name] = [[cell(c) for c in row] for row in wb[name].iter_rows(max_row=None)]
print(json.dumps(out))
)py";
    return QJsonDocument::fromJson(
               pdftools::RunTool("/usr/bin/python3", {"-c", script, xlsx}).toUtf8())
        .object();
}

QJsonValue At(const QJsonArray& rows, int r, int c, int part = 1)
{
    return rows[r].toArray()[c].toArray()[part];
}

TEST(ReviewExcel, ReadBackByOpenpyxlWithContextNumbersDatesAndStatistics)
{
    const struct {
        UiLanguage Language;
        const char *Results, *Statistics, *P0Heading, *D1Heading, *SdHeading, *Calc;
    } rows[] = {{UiLanguage::English, "Results", "Statistics", "Load P0(N)", "Disp. D1", "SD (n−1)",
                 "Burmister (BU)"},
                {UiLanguage::Japanese, "測定結果", "統計", "荷重 P0(N)", "変位 D1(mm)",
                 "標準偏差 (n−1)", "バーミスター (BU)"}};
    QTemporaryDir dir;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Results);
        const QString path = dir.filePath(QString::number(row.Language) + ".xlsx");
        Bilingual error; // a Japanese file, shown in either language
        const ReviewedDay day = TestDay(UiLanguage::Japanese, row.Language);
        ASSERT_TRUE(WriteDayWorkbook(path, day, day.Select({}), &error)) << error.En.toStdString();
        const QJsonObject book = ReadBack(path);
        const QJsonArray results = book[QString::fromUtf8(row.Results)].toArray();
        ASSERT_EQ(results.size(), 128); // title, four settings, the legend, a gap, heading
        EXPECT_EQ(QJsonArray(
                      {At(results, 1, 1), At(results, 2, 1), At(results, 3, 1), At(results, 4, 1)}),
                  QJsonArray({300, 0.35, QString::fromUtf8(row.Calc), "/stick/20240506.csv"}));
        EXPECT_EQ(At(results, 2, 1, 2).toString(), "0.000") << "Poisson's ratio to three places";
        EXPECT_EQ(At(results, 7, 2).toString(), QString::fromUtf8(row.P0Heading));
        EXPECT_EQ(At(results, 7, 6).toString(), QString::fromUtf8(row.D1Heading));
        // Typed cells: the number, the date and time, the load, D0 of the second row, the type.
        EXPECT_EQ(QJsonArray({At(results, 8, 0, 0), At(results, 8, 1), At(results, 8, 2),
                              At(results, 9, 3), At(results, 8, 8)}),
                  QJsonDocument::fromJson(R"(["int", "2024-05-06T08:00:00", 30000, 1.01, "BU"])")
                      .array());
        EXPECT_TRUE(At(results, 19, 4).isNull()) << "an undefined K is an empty cell";
        EXPECT_EQ(At(results, 28, 9).toString(), "*") << "the drop whose K stands out";
        EXPECT_TRUE(At(results, 29, 9).isNull());

        const QJsonArray stats = book[QString::fromUtf8(row.Statistics)].toArray();
        ASSERT_EQ(stats.size(), 9); // caption, note, heading, P0, D0, K, E, D1, D2
        EXPECT_EQ(At(stats, 2, 3).toString(), QString::fromUtf8(row.SdHeading));
        EXPECT_EQ(At(stats, 3, 1).toInt(), 119) << "no load does not count";
        EXPECT_EQ(At(stats, 5, 1).toInt(), 119) << "nor an undefined K";
        EXPECT_EQ(At(stats, 5, 2, 2).toString(), "0.0") << "K's mean with one decimal more";
    }
}

// A workbook saved over an older one replaces it whole; one that cannot be saved leaves what
// is there as it was and says why. It covers the chosen rows and says so; a CV whose mean
// is 0 reads "------" as on the screen.
TEST(ReviewExcel, ReplacesTheOldFileWholeOrLeavesItAndSaysWhy)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("day.xlsx");
    WriteBytes(path, "an older workbook");
    const ReviewedDay day = TestDay(UiLanguage::English, UiLanguage::English, 120, 0.0);
    Bilingual error;
    ASSERT_TRUE(WriteDayWorkbook(path, day, day.Select({5, 2, 9}), &error))
        << error.En.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"day.xlsx"});
    const QJsonObject book = ReadBack(path);
    EXPECT_EQ(At(book["Statistics"].toArray(), 5, 4).toString(), "------");
    EXPECT_EQ(book["Results"].toArray().size(), 11) << "the three chosen rows";
    EXPECT_TRUE(
        At(book["Results"].toArray(), 0, 0).toString().endsWith("Chosen rows (3 of 120 results)"));

    // Never over the file the day was read from, whatever it is named.
    WriteBytes(dir.filePath("backup.csv"),
               FixtureDayBytes(3, QDate(2024, 5, 6), UiLanguage::English, false));
    const ReviewedDay backup(ReadDayFile(dir.filePath("backup.csv"), UiLanguage::English),
                             UiLanguage::English);
    EXPECT_FALSE(WriteDayWorkbook(dir.filePath("backup.csv"), backup, backup.Select({}), &error));
    EXPECT_EQ(error.En, "it is one of the files read");

    const QString taken = dir.filePath("taken.xlsx"); // a folder where the file should go
    QDir().mkpath(taken + "/inside");
    EXPECT_FALSE(WriteDayWorkbook(taken, day, day.Select({}), &error));
    EXPECT_EQ(error.En, "it is a folder");
    EXPECT_TRUE(QDir(taken + "/inside").exists());

    SmallDisk disk; // the system's own words, not the zip library's
    if (disk.Mounted()) {
        WriteBytes(disk.Path() + "/day.xlsx", "an older workbook");
        disk.Fill();
        EXPECT_FALSE(WriteDayWorkbook(disk.Path() + "/day.xlsx", day, day.Select({}), &error));
        EXPECT_EQ(error.En, "the disk is full");
        EXPECT_EQ(disk.Entries(), QStringList{"day.xlsx"});
    }
}

} // namespace
