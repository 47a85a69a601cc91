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

double Mm(double points)
{
    return points / pdftools::PointsPerMm;
}

TEST(ReviewProtocol, TableRunsOverNumberedPagesThenStatisticsAndChart)
{
    InstallFontSubstitutes();
    QTemporaryDir dir;
    const QString pdf = dir.filePath("protocol.pdf");
    const DayFile day = TestDay(1);
    ASSERT_EQ(day.Rows.size(), 120u);
    {
        PdfPage page(pdf);
        ASSERT_TRUE(PrintProtocol(page, day, 1, "Times New Roman"));
    }
    // 46 rows under the title, 51 on each further sheet: 46 + 51 + 23; the statistics
    // follow the last rows and the chart needs a sheet of its own.
    const ProtocolPlan plan = PlanProtocol(120, 6);
    EXPECT_EQ(plan.RowsOnPage, (std::vector<int>{46, 51, 23}));
    EXPECT_EQ(plan.Pages, 4);
    EXPECT_TRUE(pdftools::RunTool("pdfinfo", {pdf}).contains(QRegularExpression("Pages:\\s+4\\n")));
    EXPECT_EQ(pdftools::PageSize(pdf), "595 x 842");

    for (int p = 1; p <= 4; ++p) {
        SCOPED_TRACE(p);
        const auto words = pdftools::WordsOf(pdf, p);
        const pdftools::Word* of = nullptr; // the footer's, not the title's
        for (const pdftools::Word& w : words)
            if (w.Text == "of" && (!of || w.YMin > of->YMin))
                of = &w;
        ASSERT_TRUE(of && pdftools::Find(words, QString::number(p)));
        EXPECT_NEAR(Mm(of->YMin), 286.0, 2.0) << "the page number sits at the foot";
        EXPECT_NEAR(Mm(of->XMin + of->XMax) / 2, 105.0, 8.0);
        if (p <= 3) {
            const pdftools::Word* no = pdftools::Find(words, "No");
            ASSERT_TRUE(no) << "each sheet of the table repeats its heading";
            EXPECT_NEAR(Mm(no->YMin), p == 1 ? 41.0 : 16.0, 1.5);
        }
    }
    const auto first = pdftools::WordsOf(pdf, 1);
    const pdftools::Word* title = pdftools::Find(first, "05/06/2024");
    ASSERT_TRUE(title);
    EXPECT_LT(Mm(title->YMin), 20.0);
    EXPECT_TRUE(pdftools::Find(first, "Dia=300,Poi=0.350") == nullptr);
    EXPECT_TRUE(pdftools::Find(first, "0.350") && pdftools::Find(first, "00046"));
    EXPECT_FALSE(pdftools::Find(first, "00047")) << "row 47 belongs on the second sheet";
    EXPECT_TRUE(pdftools::Find(pdftools::WordsOf(pdf, 2), "00047"));
    EXPECT_TRUE(pdftools::Find(pdftools::WordsOf(pdf, 3), "Statistics"));

    // The chart is drawn: K's blue shows on the last sheet.
    pdftools::RunTool("pdftoppm",
                      {"-r", "50", "-f", "4", "-l", "4", "-png", pdf, dir.filePath("p")});
    const QImage chart(dir.filePath("p-4.png"));
    ASSERT_FALSE(chart.isNull());
    int blue = 0;
    for (int y = 0; y < chart.height(); ++y)
        for (int x = 0; x < chart.width(); ++x) {
            const QColor c = chart.pixelColor(x, y);
            blue += c.blue() > 150 && c.red() < 100;
        }
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
    struct Row {
        int16_t Language;
        const char* Results;
        const char* Statistics;
        const char* P0Heading;
        const char* D1Heading;
    };
    const Row rows[] = {{1, "Results", "Statistics", "Load P0(N)", "Disp. D1"},
                        {0, "測定結果", "統計", "荷重 P0(N)", "変位 D1(mm)"}};
    QTemporaryDir dir;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Results);
        const DayFile day = TestDay(0); // a Japanese file, shown in either language
        const QString path = dir.filePath(QString::number(row.Language) + ".xlsx");
        QString error;
        ASSERT_TRUE(WriteExcelFile(path, day, row.Language, &error)) << error.toStdString();
        const QJsonObject book = ReadBack(path);
        ASSERT_EQ(book["sheets"].toArray().size(), 2);
        const QJsonArray results = book[QString::fromUtf8(row.Results)].toArray();
        ASSERT_EQ(results.size(), 121);
        const QJsonArray heading = results[0].toArray();
        EXPECT_EQ(heading[2].toArray()[1].toString(), QString::fromUtf8(row.P0Heading));
        EXPECT_EQ(heading[6].toArray()[1].toString(), QString::fromUtf8(row.D1Heading));
        EXPECT_EQ(heading.at(8).toArray()[1].toString(), "E-CalcType");
        // Typed cells: the number, the date and time, the load, D0 of the second row, the type.
        const QJsonArray first = results[1].toArray(), second = results[2].toArray();
        EXPECT_EQ(QJsonArray({first[0], first[1], first[2], second[3], first[8]}),
                  QJsonDocument::fromJson(R"([["int", 1], ["datetime", "2024-05-06T08:00:00"],
                      ["int", 30000], ["float", 1.01], ["str", "BU"]])")
                      .array());
        int errors = 0;
        for (const QJsonValue& r : results)
            errors += r.toArray()[4].toArray()[1].toString() == "Calc Error";
        EXPECT_EQ(errors, 1) << "an undefined K stays visible, as text";

        const QJsonArray stats = book[QString::fromUtf8(row.Statistics)].toArray();
        ASSERT_EQ(stats.size(), 7); // heading, P0, D0, K, E, D1, D2
        const QJsonArray p0 = stats[1].toArray();
        EXPECT_EQ(p0[0].toArray()[1].toString(), QString::fromUtf8(row.P0Heading));
        EXPECT_EQ(p0[1].toArray()[1].toInt(), 119) << "the drop without load does not count";
        EXPECT_EQ(stats[3].toArray()[1].toArray()[1].toInt(), 119);
    }
}

} // namespace
