#pragma once

#include "printing/gui/PrintOutput.h"
#include "shell/GridModel.h"

#include <QDialog>
#include <array>

struct ResultsContext;
class GridView;
class QPushButton;

// The settings display: the logger's settings and the calculation parameters as one
// table, with a way back to the measurement screen, a printout of the settings page and,
// with the C key, a copy of the table.
class frmList : public QDialog
{
    Q_OBJECT
public:
    explicit frmList(ResultsContext& context, QWidget* parent = nullptr);

    std::array<QPushButton*, 2> Command1{}; // 0: back to the measurement screen, 1: print
    GridView* MSFList = nullptr;
    GridModel& ListGrid() { return m_grid; }
    // Where the settings page goes (tests point it elsewhere).
    PrintOutput Printing;

    void Command1_Click(int index);
    void MSFList_KeyDown(int key, Qt::KeyboardModifiers modifiers);

private:
    void SetCaptionsAndFonts();
    void PlaceControls();
    int RowHeightFor(int row) const; // twips

    ResultsContext& m_context;
    GridModel m_grid;
};
