#include "PdfTools.h"
#include "PrintFixtures.h"

#include "printing/PdfPage.h"
#include "printing/ResultReport.h"
#include "printing/mdlPublicPrint.h"
#include "shell/Clock.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace fixtures;
using namespace pdftools;

namespace
{

// Real printouts read back with a ruler: the settings page on A4 portrait, in Japanese with
// its own glyphs, and a report of ten results and six channels on one landscape sheet.
// A file that cannot be written is a failed printout.
TEST(PdfPrintout, PagesPlaceTheirTextsOnTheirMillimetres)
{
    QTemporaryDir dir;
    const QString en = dir.filePath("en.pdf"), ja = dir.filePath("ja.pdf"),
                  report = dir.filePath("report.pdf");
    GridModel grid;
    FillResultGrid(grid, 10, 10);
    grid.SetSelection(0, 0, 0, 0);
    const FixedClock clock(ResetTime());
    {
        PdfPage enPage(en), jaPage(ja), reportPage(report);
        ASSERT_TRUE(PrintSettings(enPage, SettingsWith({1, 2, 4}), GlobalsIn(UiLanguage::English)));
        ASSERT_TRUE(PrintSettings(jaPage, SettingsWith({1, 2}), GlobalsIn(UiLanguage::Japanese)));
        ASSERT_TRUE(PrintResults(reportPage, grid, SettingsWith({1, 2, 3, 4, 5, 6}),
                                 GlobalsIn(UiLanguage::English), clock));
        PdfPage failing(dir.filePath("no-such-folder/x.pdf"));
        EXPECT_FALSE(PrintSettings(failing, SettingsWith({1, 2}), GlobalsIn(UiLanguage::English)));
    }
    EXPECT_EQ(PageSize(en), "595 x 842");
    EXPECT_EQ(PageSize(report), "842 x 595");
    // Labels at 20 mm, values at 62 mm, headings 5 mm further left; the report's table from
    // 125 mm, its last column right-aligned 1.5 mm inside its edge at 238 mm (-1: not checked).
    const struct {
        QString Pdf;
        const char* Text;
        int Nth;
        double XMm, YMm;
        bool RightEdge;
    } placed[] = {
        {en, "Test", 0, 15, 20, false},         {en, "Channel", 1, 20, 80, false},
        {en, "0.300", 0, 62, 55, false},        {en, "1000", 0, 68, -1, true},
        {report, "VX-2968", 0, 10, 8, false},   {report, "No.", 0, -1, 125, false},
        {report, "r11c9", 0, 236.5, 180, true},
    };
    for (const auto& p : placed) {
        const auto words = WordsOf(p.Pdf);
        const Word* w = Find(words, p.Text, p.Nth);
        ASSERT_NE(w, nullptr) << p.Text;
        if (p.XMm >= 0)
            EXPECT_NEAR(p.RightEdge ? w->XMax : w->XMin, p.XMm * PointsPerMm, 1.0) << p.Text;
        if (p.YMm >= 0) // the top of the line box, give or take the leading
            EXPECT_NEAR(w->YMin, p.YMm * PointsPerMm, 1.5) << p.Text;
    }
    // The one label longer than its column is not overprinted by its value.
    const auto words = WordsOf(en);
    EXPECT_GT(Find(words, "Burmister")->XMin, Find(words, "coefficient")->XMax);
    const QString text = RunTool("pdftotext", {ja, "-"});
    for (const char* expected :
         {"試験条件", "サンプリング間隔", "50 μs", "アンプ入力設定", "荷重計", "測定フルスケール"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
}

} // namespace
