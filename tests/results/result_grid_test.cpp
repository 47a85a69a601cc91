#include "logger/LoggerSettings.h"
#include "results/ResultGrid.h"
#include "results/ResultsTable.h"
#include "shell/GridModel.h"

#include <gtest/gtest.h>

namespace
{

class ResultGridTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (int ch : {1, 2, 4, 6})
            settings.Channel[ch].Active = true;
        grid.SetFontSize(14);
        grid.SetCols(8); // ChannelCount + 4, as the screen builds it
        grid.SetRows(2);
        grid.SetText(0, 0, "No.");
    }

    ResultEntry& Add(const char* no, double p, double d0, double k, double e)
    {
        ResultEntry& r = table.Entries[table.ResultCount++];
        r.No = no;
        r.DateTime =
            QStringLiteral("04/07/2021 13:05:%1").arg(table.ResultCount, 2, 10, QChar('0'));
        r.Answer.fill(-1);
        r.Answer[1] = p;
        r.Answer[2] = d0;
        r.K = k;
        r.E = e;
        return r;
    }

    QStringList Row(int row) const
    {
        QStringList cells;
        for (int c = 0; c < grid.Cols(); ++c)
            cells << grid.Text(row, c);
        return cells;
    }

    LoggerSettings settings;
    ResultsTable table;
    GridModel grid;
};

TEST_F(ResultGridTest, NewestResultComesFirstUnderTheHeadings)
{
    Add("00001", 30000, 1.0, 424.41, 87.75);
    ResultEntry& second = Add("00002", 12345, 1.52, 100.2, 50.5);
    second.Answer[4] = 0.88;
    second.Answer[6] = 0.0004; // rounds to 0.000 but is above 0: a value, not dashes
    FillResultGrid(grid, table, settings, 300);
    ASSERT_EQ(grid.Rows(), 4);
    EXPECT_EQ(grid.Text(0, 0), "No."); // the headings are left alone
    EXPECT_EQ(Row(2), QStringList({"00002", "04/07/2021 13:05:02", "12345", "1.520", "100", "51",
                                   "0.880", "0.000"}));
    EXPECT_EQ(Row(3), QStringList({"00001", "04/07/2021 13:05:01", "30000", "1.000", "424", "88",
                                   "------", "------"}));
    EXPECT_EQ(grid.RowHeight(2), 300);
    EXPECT_EQ(grid.RowHeight(3), 300);
}

TEST_F(ResultGridTest, UndefinedGroundValuesShowCalcErrorTwoPointsSmaller)
{
    Add("00001", 0, 0.0000005, -1, -1);
    FillResultGrid(grid, table, settings, 300);
    EXPECT_EQ(grid.Text(2, 2), "------"); // P0 of 0
    EXPECT_EQ(grid.Text(2, 3), "0.000");  // D0 above 0, however small
    EXPECT_EQ(grid.Text(2, 4), " Calc Error");
    EXPECT_EQ(grid.Text(2, 5), " Calc Error");
    EXPECT_DOUBLE_EQ(grid.CellFontSize(2, 4), 12);
    EXPECT_DOUBLE_EQ(grid.CellFontSize(2, 5), 12);
    EXPECT_DOUBLE_EQ(grid.CellFontSize(2, 2), 14);

    // The next fill moves that row down; the cell now holding a number gets the grid's size.
    Add("00002", 30000, 1.0, 424, 88);
    FillResultGrid(grid, table, settings, 300);
    EXPECT_EQ(grid.Text(2, 4), "424");
    EXPECT_DOUBLE_EQ(grid.CellFontSize(2, 4), 14);
    EXPECT_EQ(grid.Text(3, 4), " Calc Error");
    EXPECT_DOUBLE_EQ(grid.CellFontSize(3, 4), 12);
}

TEST_F(ResultGridTest, EntriesWithoutNumberTakeNoRowAndLeaveNothingOld)
{
    Add("00001", 30000, 1.0, 424, 88);
    Add("00002", 30000, 1.0, 424, 88);
    Add("00003", 30000, 1.0, 424, 88);
    FillResultGrid(grid, table, settings, 300);
    table.Entries[1].No.clear();
    FillResultGrid(grid, table, settings, 300);
    EXPECT_EQ(grid.Text(2, 0), "00003");
    EXPECT_EQ(grid.Text(3, 0), "00001");
    EXPECT_EQ(Row(4), QStringList(8, QString())); // the row of the earlier fill is emptied
}

TEST_F(ResultGridTest, AGridBuiltForFewerChannelsIsNotWrittenPastItsEdge)
{
    grid.SetCols(6);
    ResultEntry& r = Add("00001", 30000, 1.0, 424, 88);
    r.Answer[4] = 0.5;
    FillResultGrid(grid, table, settings, 300);
    EXPECT_EQ(grid.Cols(), 6);
    EXPECT_EQ(grid.Text(2, 5), "88");
}

TEST_F(ResultGridTest, AnEmptyTableLeavesOnlyTheHeadings)
{
    Add("00001", 30000, 1.0, 424, 88);
    FillResultGrid(grid, table, settings, 300);
    table.ResultCount = 0;
    FillResultGrid(grid, table, settings, 300);
    EXPECT_EQ(grid.Rows(), 2);
}

} // namespace
