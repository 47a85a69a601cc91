#pragma once

// A table view's cells as the review windows' tests read and press them.

#include "Press.h"

#include <QTableView>
#include <gtest/gtest.h>

// Presses a cell of a table view where it is drawn, through the window, once scrolled into
// view as the operator scrolls to it.
inline void PressCell(QTableView* view, int row, int column = 0,
                      Qt::KeyboardModifiers modifiers = {})
{
    const QModelIndex index = view->model()->index(row, column);
    view->scrollTo(index);
    const QRect cell = view->visualRect(index);
    ASSERT_TRUE(cell.isValid() && view->viewport()->rect().contains(cell.center()))
        << "row " << row << " is not on the screen";
    QWidget* top = view->window();
    PressAtWindowPoint(top, view->viewport()->mapTo(top, cell.center()), Qt::LeftButton, modifiers);
}

inline QString Cell(QTableView* view, int row, int column)
{
    return view->model()->index(row, column).data().toString();
}
