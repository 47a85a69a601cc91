#pragma once

class GridModel;
struct GridRange;

// The selection of a grid as the operator made it: anchor (current) cell and far corner.
struct SavedSelection {
    int Row = 0, Col = 0, RowSel = 0, ColSel = 0;
    static SavedSelection Of(const GridModel& grid);
};

// After a copy or printout of `range`: the selection as it was before, or, when one cell
// stood for the whole grid, the last cell of the walk over it (the bottom-right cell).
void SettleSelection(GridModel& grid, const GridRange& range, const SavedSelection& before);
