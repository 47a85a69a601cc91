#include "GridSelection.h"

#include "shell/GridModel.h"

SavedSelection SavedSelection::Of(const GridModel& grid)
{
    return SavedSelection{grid.Row(), grid.Col(), grid.RowSel(), grid.ColSel()};
}

void SettleSelection(GridModel& grid, const GridRange& range, const SavedSelection& before)
{
    if (range.Widened) {
        grid.SetCol(range.LastCol);
        grid.SetRow(range.LastRow);
    } else {
        grid.RestoreSelection(before.Row, before.Col, before.RowSel, before.ColSel);
    }
}
