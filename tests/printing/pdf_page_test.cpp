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

class PdfPrintout : public ::testing::Test
{
protected:
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

TEST_F(PdfPrintout, SettingsPagePlacesTextsAtTheirMillimetres)
{
    const QString pdf = Path("settings.pdf");
    {
        PdfPage page(pdf);
        ASSERT_TRUE(PrintSettings(page, SettingsWith({1, 2, 4}), GlobalsIn(English)));
    }
    EXPECT_EQ(PageSize(pdf), "595 x 842"); // A4 portrait
    const auto words = WordsOf(pdf);
    ASSERT_FALSE(words.empty());

    // Labels at x 20 mm, values at 62 mm; the heading 5 mm further left.
    const struct {
        const char* Text;
        int Nth; // which of the words of that text
        double XMm, YMm;
    } placed[] = {
        {"Test", 0, 15, 20},    {"Sampling", 0, 20, 25}, {"Data", 0, 20, 30},  {"Amp", 0, 15, 75},
        {"Channel", 1, 20, 80}, {"H.P.F.", 0, 20, 115},  {"0.300", 0, 62, 55}, {"90", 0, 62, 50},
    };
    for (const auto& p : placed) {
        const Word* w = Find(words, p.Text, p.Nth);
        ASSERT_NE(w, nullptr) << p.Text;
        EXPECT_NEAR(w->XMin, p.XMm * PointsPerMm, 1.0) << p.Text;
        // The word box starts at the top of the line box, give or take the font's leading.
        EXPECT_NEAR(w->YMin, p.YMm * PointsPerMm, 1.5) << p.Text;
    }
    // The one label longer than its column is not overprinted by its value.
    const Word* label = Find(words, "coefficient");
    const Word* value = Find(words, "Burmister");
    ASSERT_NE(label, nullptr);
    ASSERT_NE(value, nullptr);
    EXPECT_GT(value->XMin, label->XMax);
    EXPECT_NEAR(value->YMin, label->YMin, 0.5);
    // A right-aligned cell ends at its column's right edge: CH1's "1000" at 50 + 18 mm.
    const Word* range = Find(words, "1000");
    ASSERT_NE(range, nullptr);
    EXPECT_NEAR(range->XMax, 68 * PointsPerMm, 1.0);
}

TEST_F(PdfPrintout, JapanesePageHoldsItsOwnTexts)
{
    const QString pdf = Path("settings-ja.pdf");
    {
        PdfPage page(pdf);
        ASSERT_TRUE(PrintSettings(page, SettingsWith({1, 2}), GlobalsIn(Japanese)));
    }
    const QString text = RunTool("pdftotext", {pdf, "-"});
    for (const char* expected : {"試験条件", "サンプリング間隔", "50 μs", "アンプ入力設定",
                                 "荷重計", "加速度計", "測定フルスケール"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
}

TEST_F(PdfPrintout, ReportOfTenResultsAndSixChannelsIsOneLandscapeSheet)
{
    const QString pdf = Path("report.pdf");
    GridModel grid;
    FillResultGrid(grid, 10, 10);
    grid.SetSelection(0, 0, 0, 0);
    FixedClock clock(ResetTime());
    {
        PdfPage page(pdf);
        ASSERT_TRUE(
            PrintResults(page, grid, SettingsWith({1, 2, 3, 4, 5, 6}), GlobalsIn(English), clock));
    }
    EXPECT_EQ(PageSize(pdf), "842 x 595");
    const auto words = WordsOf(pdf);
    const Word* title = Find(words, "VX-2968");
    ASSERT_NE(title, nullptr);
    EXPECT_NEAR(title->XMin, 10 * PointsPerMm, 1.0);
    const Word* date = Find(words, "04/07/2021");
    ASSERT_NE(date, nullptr);
    EXPECT_NEAR(date->XMin, 160 * PointsPerMm, 1.0);
    // The first table row at 125 mm, the last result row (grid row 11) at 180 mm.
    const Word* first = Find(words, "No.");
    const Word* last = Find(words, "r11c9");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(last, nullptr);
    EXPECT_NEAR(first->YMin, 125 * PointsPerMm, 1.5);
    EXPECT_NEAR(last->YMin, 180 * PointsPerMm, 1.5);
    // Right-aligned at the right edge of the last column less 1.5 mm: 20 + 10 + 40 + 80 + 88.
    EXPECT_NEAR(last->XMax, (238 - 1.5) * PointsPerMm, 1.0);
}

TEST_F(PdfPrintout, AFileThatCannotBeWrittenIsAFailedPrintout)
{
    PdfPage page(Path("no-such-folder/settings.pdf"));
    EXPECT_FALSE(PrintSettings(page, SettingsWith({1, 2}), GlobalsIn(English)));
}

} // namespace
