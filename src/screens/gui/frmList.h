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

    // 0 "Measure": back to the measurement screen, 1 "Print": the settings page.
    std::array<QPushButton*, 2> Command1{};
    GridView* MSFList = nullptr; // the settings table
    QPushButton* BackButton() const { return Command1[0]; }
    QPushButton* PrintButton() const { return Command1[1]; }
    GridModel& ListGrid() { return m_grid; }
    // Where the settings page goes (tests point it elsewhere).
    PrintOutput Printing;

    // Either button by its index: 0 goes back, 1 prints the settings page.
    void Command1_Click(int index);
    void MSFList_KeyDown(int key, Qt::KeyboardModifiers modifiers);

private:
    void SetCaptionsAndFonts();
    void PlaceControls();
    int RowHeightFor(int row) const; // twips

    ResultsContext& m_context;
    GridModel m_grid;
};
