#include "../printing/PdfTools.h"
#include "ReviewFixtures.h"
#include "review/ExcelExport.h"
#include "review/ReviewProtocol.h"

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

// 120 results with D1 and D2, one of them with K and E undefined.
DayFile TestDay(int16_t language)
{
    DayFile day = ParseDayText("/stick/20240506.csv",
                               FixtureDayBytes(120, QDate(2024, 5, 6), language, true), language);
    ResultEntry& noLoad = day.Rows.at(11).Entry; // a drop without load: K and E undefined
    noLoad.Answer[1] = 0;
    noLoad.K = noLoad.E = -1;
    return day;
}

// 46 rows under the title, 51 on each further sheet, each with the table's heading; the
// statistics follow the last rows and the chart needs a sheet of its own.
TEST(ReviewProtocol, TableRunsOverSheetsThenStatisticsAndChart)
{
    InstallFontSubstitutes();
    QTemporaryDir dir;
    const QString pdf = dir.filePath("protocol.pdf");
    {
        PdfPage page(pdf);
        ASSERT_TRUE(PrintProtocol(page, TestDay(1), 1, "Times New Roman"));
    }
    EXPECT_EQ(PlanProtocol(120, 6).RowsOnPage, (std::vector<int>{46, 51, 23}));
    EXPECT_TRUE(pdftools::RunTool("pdfinfo", {pdf}).contains(QRegularExpression("Pages:\\s+4\\n")));
    const auto has = [&](int page, const char* word) {
        return pdftools::Find(pdftools::WordsOf(pdf, page), word) != nullptr;
    };
    for (int p = 1; p <= 3; ++p)
        EXPECT_TRUE(has(p, "No")) << "sheet " << p << " repeats the heading";
    EXPECT_TRUE(has(1, "00046") && !has(1, "00047") && has(2, "00047"));
    EXPECT_TRUE(has(3, "Statistics"));

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
// python3-openpyxl is installed, whatever other python comes first on the PATH).
QJsonObject ReadBack(const QString& xlsx)
{
    const char* script = R"py(
import json, sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
def cell(c):
    v = c.value
    return [type(v).__name__, v.isoformat() if hasattr(v, "isoformat") else v]
out = {"sheets": wb.sheetnames}
for name in wb.sheetnames:
    out[name] = [[cell(c) for c in row] for row in wb[name].iter_rows(max_row=None)]
print(json.dumps(out))
)py";
    return QJsonDocument::fromJson(
               pdftools::RunTool("/usr/bin/python3", {"-c", script, xlsx}).toUtf8())
        .object();
}

TEST(ReviewExcel, ReadBackByOpenpyxlWithNumbersDatesAndHeading)
{
    const struct {
        int16_t Language;
        const char *Results, *Statistics, *P0Heading, *D1Heading;
    } rows[] = {{1, "Results", "Statistics", "Load P0(N)", "Disp. D1"},
                {0, "測定結果", "統計", "荷重 P0(N)", "変位 D1(mm)"}};
    QTemporaryDir dir;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Results);
        const QString path = dir.filePath(QString::number(row.Language) + ".xlsx");
        QString error; // a Japanese file, shown in either language
        ASSERT_TRUE(WriteExcelFile(path, TestDay(0), row.Language, &error)) << error.toStdString();
        const QJsonObject book = ReadBack(path);
        const QJsonArray results = book[QString::fromUtf8(row.Results)].toArray();
        ASSERT_EQ(results.size(), 121);
        const auto text = [](const QJsonArray& rows, int r, int c) {
            return rows[r].toArray()[c].toArray()[1].toString();
        };
        EXPECT_EQ(text(results, 0, 2), QString::fromUtf8(row.P0Heading));
        EXPECT_EQ(text(results, 0, 6), QString::fromUtf8(row.D1Heading));
        // Typed cells: the number, the date and time, the load, D0 of the second row, the type.
        const QJsonArray first = results[1].toArray(), second = results[2].toArray();
        EXPECT_EQ(QJsonArray({first[0], first[1], first[2], second[3], first[8]}),
                  QJsonDocument::fromJson(R"([["int", 1], ["datetime", "2024-05-06T08:00:00"],
                      ["int", 30000], ["float", 1.01], ["str", "BU"]])")
                      .array());
        EXPECT_EQ(text(results, 12, 4), "Calc Error") << "an undefined K stays visible, as text";

        const QJsonArray stats = book[QString::fromUtf8(row.Statistics)].toArray();
        ASSERT_EQ(stats.size(), 7); // heading, P0, D0, K, E, D1, D2
        EXPECT_EQ(text(stats, 1, 0), QString::fromUtf8(row.P0Heading));
        EXPECT_EQ(stats[1].toArray()[1].toArray()[1].toInt(), 119) << "no load does not count";
        EXPECT_EQ(stats[3].toArray()[1].toArray()[1].toInt(), 119) << "nor an undefined K";
    }
}

} // namespace
