#include "shell/GridModel.h"

#include <gtest/gtest.h>

namespace
{

TEST(GridModel, PutCellWritesAndLeavesTheCellCurrent)
{
    GridModel g;
    g.SetRows(3);
    g.SetCols(6);
    g.PutCell(4, 1, "MN/m3");
    EXPECT_EQ(g.Text(1, 4), "MN/m3");
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(g.Col(), 4);
    g.SetAlignment(g.Row(), g.Col(), Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(g.Alignment(1, 4), Qt::AlignRight | Qt::AlignVCenter);
    g.SetCellFontSize(1, 4, 12);
    g.SetFontSize(14);
    EXPECT_DOUBLE_EQ(g.CellFontSize(1, 4), 12);
    EXPECT_DOUBLE_EQ(g.CellFontSize(0, 0), 14);
}

TEST(GridModel, MakingACellCurrentCollapsesTheSelection)
{
    GridModel g;
    g.SetRows(5);
    g.SetCols(5);
    g.SetSelection(1, 1, 3, 3);
    g.SetRow(2);
    EXPECT_EQ(g.RowSel(), 2);
    EXPECT_EQ(g.ColSel(), 1);
}

TEST(GridModel, OneCellStandsForTheWholeGrid)
{
    GridModel g;
    g.SetRows(3);
    g.SetCols(6);
    g.SetSelection(2, 3, 2, 3);
    const GridRange r = g.ChosenRange();
    EXPECT_TRUE(r.Widened);
    EXPECT_EQ(r.FirstRow, 0);
    EXPECT_EQ(r.LastRow, 2);
    EXPECT_EQ(r.FirstCol, 0);
    EXPECT_EQ(r.LastCol, 5);
}

TEST(GridModel, ASelectionMadeUpwardsOrLeftwardsIsTheRectangleItSpans)
{
    GridModel g;
    g.SetRows(12);
    g.SetCols(6);
    // Rows 4 up to 2 and columns 0 to 2: the offsets sum to zero, yet it is no single cell.
    g.SetSelection(4, 0, 2, 2);
    GridRange r = g.ChosenRange();
    EXPECT_FALSE(r.Widened);
    EXPECT_EQ(r.FirstRow, 2);
    EXPECT_EQ(r.LastRow, 4);
    EXPECT_EQ(r.FirstCol, 0);
    EXPECT_EQ(r.LastCol, 2);

    // Upwards over one column still covers its rows.
    g.SetSelection(5, 1, 2, 1);
    r = g.ChosenRange();
    EXPECT_FALSE(r.Widened);
    EXPECT_EQ(r.FirstRow, 2);
    EXPECT_EQ(r.LastRow, 5);
    EXPECT_EQ(r.FirstCol, 1);
    EXPECT_EQ(r.LastCol, 1);
}

TEST(GridModel, RestoreSelectionPutsBackAnchorAndFarCorner)
{
    GridModel g;
    g.SetRows(6);
    g.SetCols(6);
    g.RestoreSelection(4, 5, 2, 0);
    EXPECT_EQ(g.Row(), 4);
    EXPECT_EQ(g.Col(), 5);
    EXPECT_EQ(g.RowSel(), 2);
    EXPECT_EQ(g.ColSel(), 0);
}

TEST(GridModel, ShrinkingKeepsTextsAndSelectionInside)
{
    GridModel g;
    g.SetRows(4);
    g.SetCols(4);
    g.SetText(1, 1, "kept");
    g.SetText(3, 3, "gone");
    g.SetSelection(3, 3, 3, 3);
    g.SetRows(2);
    g.SetCols(2);
    EXPECT_EQ(g.Text(1, 1), "kept");
    EXPECT_EQ(g.Text(3, 3), "");
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(g.ColSel(), 1);
    g.SetRows(4);
    EXPECT_EQ(g.Text(3, 1), ""); // regrown rows start empty
}

} // namespace
