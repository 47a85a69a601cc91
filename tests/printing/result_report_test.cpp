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
    explicit Report(int cols = 6, int results = 3, int16_t language = English)
        : G(GlobalsIn(language)), Settings(SettingsWith({1, 2, 3, 4, 5, 6}))
    {
        FillResultGrid(Grid, cols, results);
    }
    bool Print() { return PrintResults(Page, Grid, Settings, G, Time); }

    // Boxes of the table (those below the amp input table), in drawing order.
    std::vector<RecordingPage::Op> CellBoxes() const
    {
        std::vector<RecordingPage::Op> boxes;
        bool newPage = false;
        for (const auto& op : Page.Ops) {
            newPage = newPage || op.What == Kind::NewPage;
            if (op.What == Kind::Box && (newPage || PageY(op) >= FirstRowY - 1 - 0.01f))
                boxes.push_back(op);
        }
        return boxes;
    }

    Globals G;
    LoggerSettings Settings;
    GridModel Grid;
    RecordingPage Page;
    FixedClock Time{ResetTime()};
};

// ---- Range and orientation ------------------------------------------------------------

TEST(ResultReport, OneSelectedCellPrintsTheWholeGridAndEndsOnItsLastCell)
{
    Report r(6, 3); // 5 rows
    r.Grid.SetSelection(3, 2, 3, 2);
    ASSERT_TRUE(r.Print());
    const auto boxes = r.CellBoxes();
    ASSERT_EQ(boxes.size(), 30u);
    EXPECT_FLOAT_EQ(PageY(boxes.front()), FirstRowY - 1);
    EXPECT_FLOAT_EQ(boxes.back().Y2 + Shift, FirstRowY + 4 * 5 + 4);
    EXPECT_EQ(r.Grid.Row(), 4);
    EXPECT_EQ(r.Grid.Col(), 5);
    EXPECT_EQ(r.Grid.RowSel(), 4);
    EXPECT_EQ(r.Grid.ColSel(), 5);
}

TEST(ResultReport, EightColumnsArePortraitAndMoreAreLandscape)
{
    const struct {
        int GridCols, FirstCol, LastCol;
        PageOrientation Expected;
    } cases[] = {
        {10, 0, 7, PageOrientation::Portrait}, {10, 0, 8, PageOrientation::Landscape},
        {10, 2, 9, PageOrientation::Portrait}, {10, 9, 0, PageOrientation::Landscape},
        {6, 0, 5, PageOrientation::Portrait},
    };
    for (const auto& c : cases) {
        Report r(c.GridCols, 4);
        r.Grid.SetSelection(2, c.FirstCol, 4, c.LastCol);
        ASSERT_TRUE(r.Print());
        EXPECT_EQ(r.Page.Setup.Orientation, c.Expected) << c.FirstCol << ".." << c.LastCol;
    }
    Report whole(10, 4);
    whole.Grid.SetSelection(0, 0, 0, 0);
    ASSERT_TRUE(whole.Print());
    EXPECT_EQ(whole.Page.Setup.Orientation, PageOrientation::Landscape);
}

TEST(ResultReport, ASelectedRangePrintsOnlyItsCellsAndIsSelectedAgainAfterwards)
{
    Report r(6, 5);
    // Rows 2 to 4, columns 0 to 5, made from the bottom-right corner upwards.
    r.Grid.SetSelection(4, 5, 2, 0);
    ASSERT_TRUE(r.Print());
    const auto boxes = r.CellBoxes();
    ASSERT_EQ(boxes.size(), 18u);
    EXPECT_EQ(r.Page.FindText("K"), nullptr); // no title row
    EXPECT_EQ(r.Page.FindText("MN/m"), nullptr);
    EXPECT_NE(r.Page.FindText("r2c0"), nullptr);
    EXPECT_NE(r.Page.FindText("r4c5"), nullptr);
    EXPECT_EQ(r.Page.FindText("r5c0"), nullptr);
    EXPECT_EQ(r.Page.Setup.Orientation, PageOrientation::Portrait);
    EXPECT_EQ(r.Grid.Row(), 4);
    EXPECT_EQ(r.Grid.Col(), 5);
    EXPECT_EQ(r.Grid.RowSel(), 2);
    EXPECT_EQ(r.Grid.ColSel(), 0);
}

TEST(ResultReport, ASelectionMadeUpwardsIsTheRectangleItCovers)
{
    // Offsets -2 and +2 sum to zero, yet three rows and three columns are selected.
    Report r(6, 5);
    r.Grid.SetSelection(5, 1, 3, 3);
    ASSERT_TRUE(r.Print());
    EXPECT_EQ(r.CellBoxes().size(), 9u);
    EXPECT_NE(r.Page.FindText("r3c1"), nullptr);
    EXPECT_NE(r.Page.FindText("r5c3"), nullptr);
    EXPECT_EQ(r.Page.FindText("r2c1"), nullptr);

    // Upwards over one column: the rows it spans, not an empty table.
    Report column(6, 5);
    column.Grid.SetSelection(6, 2, 3, 2);
    ASSERT_TRUE(column.Print());
    EXPECT_EQ(column.CellBoxes().size(), 4u);
    EXPECT_EQ(column.Grid.Row(), 6);
    EXPECT_EQ(column.Grid.RowSel(), 3);
}

// ---- What the page holds -----------------------------------------------------------------

TEST(ResultReport, TitleAndPrintingTimeHeadThePageInEachLanguage)
{
    for (int16_t language : {English, Japanese}) {
        Report r(6, 2, language);
        r.Time.Set(QDateTime(QDate(2021, 4, 7), QTime(13, 5, 9)));
        r.Settings.TestDate = QDateTime(QDate(2020, 1, 1), QTime(0, 0)); // not what is shown
        ASSERT_TRUE(r.Print());
        const auto* title = TextAt(r.Page, 10, 8);
        const auto* date = TextAt(r.Page, 160, 8);
        ASSERT_NE(title, nullptr);
        ASSERT_NE(date, nullptr);
        if (language == English) {
            EXPECT_EQ(title->Text, "VX-2968 Data Measuring Software for QL-860H Measured Data.");
            EXPECT_EQ(date->Text, "04/07/2021 13:05:09");
        } else {
            EXPECT_EQ(title->Text,
                      QString::fromUtf8("QL-860H用データ処理ソフトウェア VX-2968 計測データ"));
            EXPECT_EQ(date->Text, "2021/04/07 13:05:09");
        }
        EXPECT_NE(
            r.Page.FindText(language == English ? "Test Condition" : QString::fromUtf8("試験条件")),
            nullptr);
    }
}

TEST(ResultReport, KAndEHeadingsCarryLoweredAndRaisedIndexesWhateverTheCellsHold)
{
    Report r(6, 1);
    r.Grid.SetText(0, 4, "anything");
    r.Grid.SetText(1, 5, "else");
    r.Grid.SetSelection(0, 0, 2, 5);
    ASSERT_TRUE(r.Print());
    // Column 4 spans 110 to 130, column 5 130 to 150.
    const struct {
        float X, Y;
        const char* Text;
        int Size;
    } expected[] = {
        {EndingAt(120, "K"), 125, "K", 10},       {120, 126.5f, "NWR", 6},
        {EndingAt(140, "E"), 125, "E", 10},       {140, 126.5f, "NWR", 6},
        {EndingAt(123, "MN/m"), 130, "MN/m", 10}, {123, 130, "3", 6},
        {EndingAt(143, "MN/m"), 130, "MN/m", 10}, {143, 130, "2", 6},
    };
    for (const auto& e : expected) {
        const auto* t = TextAt(r.Page, e.X, e.Y);
        ASSERT_NE(t, nullptr) << e.Text << " at " << e.X;
        EXPECT_EQ(t->Text, e.Text);
        EXPECT_EQ(t->Size, e.Size);
    }
    EXPECT_EQ(r.Page.FindText("anything"), nullptr);
    EXPECT_EQ(r.Page.FindText("else"), nullptr);
}

TEST(ResultReport, CellsAreAlignedByTheirGridRowAndColumn)
{
    Report r(7, 1);
    r.Grid.SetText(2, 0, "  12 ");
    r.Grid.SetText(2, 1, " 2021/04/07 13:05:09 ");
    r.Grid.SetText(2, 2, "  1500");
    r.Grid.SetText(2, 6, " 0.123");
    r.Grid.SetSelection(0, 0, 2, 6);
    ASSERT_TRUE(r.Print());
    // Titles and units centred; results trimmed: number left, time centred, values right.
    const struct {
        float X, Y;
        const char* Text;
    } expected[] = {
        {Centred(25, "No."), 125, "No."},
        {Centred(50, "Date Time"), 125, "Date Time"},
        {Centred(80, "N"), 130, "N"},
        {20.5f, 135, "12"},
        {Centred(50, "2021/04/07 13:05:09"), 135, "2021/04/07 13:05:09"},
        {EndingAt(88.5f, "1500"), 135, "1500"},
        {EndingAt(150 + 22 - 1.5f, "0.123"), 135, "0.123"},
    };
    for (const auto& e : expected) {
        const auto* t = TextAt(r.Page, e.X, e.Y);
        ASSERT_NE(t, nullptr) << e.Text;
        EXPECT_EQ(t->Text, e.Text);
    }
}

TEST(ResultReport, ABlankCellGetsItsBoxAndNoText)
{
    Report r(6, 1);
    r.Grid.SetText(2, 3, "   ");
    r.Grid.SetText(0, 1, "");
    r.Grid.SetSelection(0, 0, 2, 5);
    ASSERT_TRUE(r.Print());
    EXPECT_EQ(r.CellBoxes().size(), 18u);
    EXPECT_TRUE(TextsAtY(r.Page, 135).size() == 5u); // six cells, one blank
    EXPECT_EQ(TextsAtY(r.Page, 125).size(), 5u);     // "Date Time" gone; the NWR indexes sit lower
}

TEST(ResultReport, RowsThatWouldRunOffTheSheetContinueOnANewOne)
{
    // Landscape, 210 mm high: rows from 125 every 5 mm; the 16th would end past 200.
    Report r(10, 20);
    r.Grid.SetSelection(0, 0, 0, 0);
    ASSERT_TRUE(r.Print());
    EXPECT_EQ(r.Page.Setup.Orientation, PageOrientation::Landscape);
    EXPECT_EQ(r.Page.Pages(), 2);
    const auto boxes = r.CellBoxes();
    EXPECT_EQ(boxes.size(), 22u * 10u); // every row once
    for (const auto& box : boxes)
        EXPECT_LE(box.Y2 + Shift, 210 - 10 + 0.01f);
    // Row 15 (grid row 15) opens the second sheet at the top.
    bool afterBreak = false;
    for (const auto& op : r.Page.Ops) {
        if (op.What == Kind::NewPage)
            afterBreak = true;
        if (afterBreak && op.What == Kind::Box) {
            EXPECT_FLOAT_EQ(PageY(op), 20 - 1);
            break;
        }
    }
    const auto* firstOnSecond = r.Page.FindText("r15c0");
    ASSERT_NE(firstOnSecond, nullptr);
    EXPECT_FLOAT_EQ(PageY(*firstOnSecond), 20);
}

TEST(ResultReport, AFullDayFitsOnOnePortraitSheet)
{
    Report r(8, 11); // the most results the table holds, with both heading rows
    r.Grid.SetSelection(1, 1, 1, 1);
    ASSERT_TRUE(r.Print());
    EXPECT_EQ(r.Page.Pages(), 1);
}

TEST(ResultReport, APageThatCannotBeginLeavesTheSelectionAlone)
{
    Report r(6, 3);
    r.Page.FailBegin = true;
    r.Grid.SetSelection(4, 3, 2, 1);
    EXPECT_FALSE(r.Print());
    EXPECT_TRUE(r.Page.Ops.empty());
    EXPECT_EQ(r.Grid.Row(), 4);
    EXPECT_EQ(r.Grid.Col(), 3);
    EXPECT_EQ(r.Grid.RowSel(), 2);
    EXPECT_EQ(r.Grid.ColSel(), 1);
}

} // namespace
