#include "PrintFixtures.h"

#include "printing/ResultReport.h"
#include "shell/Clock.h"

#include <gtest/gtest.h>

using namespace fixtures;
using Kind = RecordingPage::Kind;

namespace
{

constexpr float FirstRowY = 125; // the block returns 120, the table starts 5 below

struct Report {
    Report(int cols, int results, int16_t language = English)
        : G(GlobalsIn(language)), Settings(SettingsWith({1, 2, 3, 4, 5, 6}))
    {
        FillResultGrid(Grid, cols, results);
    }
    bool Print(int row, int col, int rowSel, int colSel)
    {
        Grid.SetSelection(row, col, rowSel, colSel);
        return PrintResults(Page, Grid, Settings, G, Time);
    }
    // The boxes of the table, below the amp input table or on a later sheet.
    std::vector<RecordingPage::Op> CellBoxes() const
    {
        std::vector<RecordingPage::Op> boxes;
        bool later = false;
        for (const auto& op : Page.Ops) {
            later = later || op.What == Kind::NewPage;
            if (op.What == Kind::Box && (later || PageY(op) >= FirstRowY - 1 - 0.01f))
                boxes.push_back(op);
        }
        return boxes;
    }
    std::vector<int> Selection() const
    {
        return {Grid.Row(), Grid.Col(), Grid.RowSel(), Grid.ColSel()};
    }
    QString TextAt(float x, float y) const
    {
        const auto* op = fixtures::TextAt(Page, x, y);
        return op ? op->Text + (op->Size == 6 ? "@6" : "") : QStringLiteral("<none>");
    }

    Globals G;
    LoggerSettings Settings;
    GridModel Grid;
    RecordingPage Page;
    FixedClock Time{ResetTime()};
};

TEST(ResultReport, OneSelectedCellPrintsTheWholeGridAndEndsOnItsLastCell)
{
    Report r(6, 3); // 5 rows
    ASSERT_TRUE(r.Print(3, 2, 3, 2));
    const auto boxes = r.CellBoxes();
    ASSERT_EQ(boxes.size(), 30u);
    EXPECT_FLOAT_EQ(PageY(boxes.front()), FirstRowY - 1);
    EXPECT_FLOAT_EQ(boxes.back().Y2 + Shift, FirstRowY + 4 * 5 + 4);
    EXPECT_EQ(r.Selection(), std::vector<int>({4, 5, 4, 5}));
}

TEST(ResultReport, AnyOtherSelectionPrintsItsRectangleAndIsGivenBack)
{
    const struct {
        int Row, Col, RowSel, ColSel;
        size_t Boxes;
        const char *First, *Last;
    } cases[] = {
        {2, 0, 4, 5, 18, "r2c0", "r4c5"}, // rows 2 to 4: no title or unit row
        {4, 5, 2, 0, 18, "r2c0", "r4c5"}, // the same, made upwards and leftwards
        {5, 1, 3, 3, 9, "r3c1", "r5c3"},  // offsets -2 and +2: still no single cell
        {6, 2, 3, 2, 4, "r3c2", "r6c2"},  // upwards over one column
    };
    for (const auto& c : cases) {
        Report r(6, 5);
        ASSERT_TRUE(r.Print(c.Row, c.Col, c.RowSel, c.ColSel));
        EXPECT_EQ(r.CellBoxes().size(), c.Boxes) << c.Row << "," << c.Col;
        EXPECT_NE(r.Page.FindText(c.First), nullptr) << c.First;
        EXPECT_NE(r.Page.FindText(c.Last), nullptr) << c.Last;
        EXPECT_EQ(r.Page.FindText("K"), nullptr);
        EXPECT_EQ(r.Page.Texts().back().Text, c.Last);
        EXPECT_EQ(r.Selection(), std::vector<int>({c.Row, c.Col, c.RowSel, c.ColSel}));
    }
}

TEST(ResultReport, EightColumnsArePortraitAndMoreAreLandscape)
{
    const struct {
        int GridCols, FirstCol, LastCol;
        PageOrientation Expected;
    } cases[] = {
        {10, 0, 7, PageOrientation::Portrait},  {10, 0, 8, PageOrientation::Landscape},
        {10, 2, 9, PageOrientation::Portrait},  {10, 9, 0, PageOrientation::Landscape},
        {10, 3, 3, PageOrientation::Landscape}, // one cell: the whole ten-column grid
        {8, 4, 4, PageOrientation::Portrait},
    };
    for (const auto& c : cases) {
        Report r(c.GridCols, 4);
        ASSERT_TRUE(r.Print(2, c.FirstCol, c.FirstCol == c.LastCol ? 2 : 4, c.LastCol));
        EXPECT_EQ(r.Page.Setup.Orientation, c.Expected) << c.FirstCol << ".." << c.LastCol;
        EXPECT_EQ(r.Page.Pages(), 1);
    }
}

TEST(ResultReport, TitleAndPrintingTimeHeadThePageInEachLanguage)
{
    Report en(6, 2, English), ja(6, 2, Japanese);
    for (Report* r : {&en, &ja}) {
        r->Settings.TestDate = QDateTime(QDate(2020, 1, 1), QTime(0, 0)); // not what is shown
        ASSERT_TRUE(r->Print(0, 0, 0, 0));
    }
    EXPECT_EQ(en.TextAt(10, 8), "VX-2968 Data Measuring Software for QL-860H Measured Data.");
    EXPECT_EQ(en.TextAt(160, 8), "04/07/2021 13:05:09");
    EXPECT_EQ(ja.TextAt(10, 8),
              QString::fromUtf8("QL-860H用データ処理ソフトウェア VX-2968 計測データ"));
    EXPECT_EQ(ja.TextAt(160, 8), "2021/04/07 13:05:09");
    EXPECT_EQ(ja.TextAt(15, 20), QString::fromUtf8("試験条件"));
}

TEST(ResultReport, CellsFollowTheRulesOfTheirGridRowAndColumn)
{
    Report r(7, 1);
    r.Grid.SetText(0, 4, "anything"); // K and E print their own headings
    r.Grid.SetText(1, 5, "else");
    r.Grid.SetText(0, 1, "");
    r.Grid.SetText(2, 0, "  12 ");
    r.Grid.SetText(2, 1, " 2021/04/07 13:05:09 ");
    r.Grid.SetText(2, 2, "  1500");
    r.Grid.SetText(2, 3, "   ");
    r.Grid.SetText(2, 6, " 0.123");
    ASSERT_TRUE(r.Print(0, 0, 2, 6));
    // Columns start at 20, 30, 70, 90, 110 (K), 130 (E), 150 (22 wide).
    const struct {
        float X, Y;
        const char* Text;
    } expected[] = {
        {Centred(25, "No."), 125, "No."},
        {EndingAt(120, "K"), 125, "K"},
        {120, 126.5f, "NWR@6"},
        {EndingAt(140, "E"), 125, "E"},
        {140, 126.5f, "NWR@6"},
        {Centred(80, "N"), 130, "N"},
        {EndingAt(123, "MN/m"), 130, "MN/m"},
        {123, 130, "3@6"},
        {EndingAt(143, "MN/m"), 130, "MN/m"},
        {143, 130, "2@6"},
        {20.5f, 135, "12"},
        {Centred(50, "2021/04/07 13:05:09"), 135, "2021/04/07 13:05:09"},
        {EndingAt(88.5f, "1500"), 135, "1500"},
        {EndingAt(170.5f, "0.123"), 135, "0.123"},
    };
    for (const auto& e : expected)
        EXPECT_EQ(r.TextAt(e.X, e.Y), e.Text) << e.Text;
    EXPECT_EQ(r.Page.FindText("anything"), nullptr);
    EXPECT_EQ(r.Page.FindText("else"), nullptr);
    // Every cell has its box, the empty and the blank ones too.
    EXPECT_EQ(r.CellBoxes().size(), 21u);
    EXPECT_EQ(TextsAtY(r.Page, 135).size(), 6u);
}

TEST(ResultReport, RowsThatWouldRunOffTheSheetContinueOnANewOne)
{
    // Landscape, 210 mm high: rows every 5 mm from 125; the 16th would end past 200.
    Report r(10, 20);
    ASSERT_TRUE(r.Print(0, 0, 0, 0));
    EXPECT_EQ(r.Page.Pages(), 2);
    const auto boxes = r.CellBoxes();
    EXPECT_EQ(boxes.size(), 22u * 10u); // every row once
    for (const auto& box : boxes)
        EXPECT_LE(box.Y2 + Shift, 200 + 0.01f);
    const auto* first = r.Page.FindText("r15c0"); // the first row of the second sheet
    ASSERT_NE(first, nullptr);
    EXPECT_FLOAT_EQ(PageY(*first), 20);
}

TEST(ResultReport, APageThatCannotBeginLeavesTheSelectionAlone)
{
    Report r(6, 3);
    r.Page.FailBegin = true;
    EXPECT_FALSE(r.Print(4, 3, 2, 1));
    EXPECT_TRUE(r.Page.Ops.empty());
    EXPECT_EQ(r.Selection(), std::vector<int>({4, 3, 2, 1}));
}

} // namespace
