#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <vector>

// The rectangle a copy or printout covers, in grid rows and columns, inclusive.
struct GridRange {
    int FirstCol = 0;
    int LastCol = -1;
    int FirstRow = 0;
    int LastRow = -1;
    bool Widened = false; // one cell was selected and stands for the whole grid
};

// A grid of text cells with the semantics the screens and reports rely on: a current
// cell (Row, Col) and a selection end (RowSel, ColSel), per-cell text, alignment and
// font size, column widths and row heights in twips. Header rows are ordinary cells.
// As in the grids the program was designed on, making a cell current collapses the
// selection onto it; SetRowSel / SetColSel then extend it.
//
// It is plain logic (QtCore only): a view shows it and reports the operator's
// selection back through SetSelection.
class GridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit GridModel(QObject* parent = nullptr);

    int Rows() const { return m_rows; }
    int Cols() const { return m_cols; }
    void SetRows(int rows);
    void SetCols(int cols);

    QString Text(int row, int col) const;
    void SetText(int row, int col, const QString& text);
    Qt::Alignment Alignment(int row, int col) const;
    void SetAlignment(int row, int col, Qt::Alignment alignment);
    double CellFontSize(int row, int col) const; // the grid's size unless the cell has its own
    void SetCellFontSize(int row, int col, double points);

    QString FontName() const { return m_fontName; }
    void SetFontName(const QString& name);
    double FontSize() const { return m_fontSize; }
    void SetFontSize(double points);
    int ColWidth(int col) const; // twips
    void SetColWidth(int col, int twips);
    int RowHeight(int row) const; // twips, 0 = the view's default
    void SetRowHeight(int row, int twips);

    // Current cell and selection end.
    int Row() const { return m_row; }
    int Col() const { return m_col; }
    int RowSel() const { return m_rowSel; }
    int ColSel() const { return m_colSel; }
    void SetRow(int row);
    void SetCol(int col);
    void SetRowSel(int row);
    void SetColSel(int col);
    // What the operator selected: anchor (current) cell and far corner.
    void SetSelection(int row, int col, int rowSel, int colSel);

    // Writes text into (row, col) and leaves that cell current (column first, then row),
    // so that the caller can set its alignment or font size next.
    void PutCell(int col, int row, const QString& text);

    // The range a copy or printout covers: one selected cell stands for the whole grid,
    // any other selection for the rectangle it spans, whichever way it was made.
    GridRange ChosenRange() const;
    // Puts the selection back as it was before a walk over the cells moved it.
    void RestoreSelection(int row, int col, int rowSel, int colSel);

    // QAbstractTableModel
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

signals:
    void selectionMoved();
    void geometryChanged();

private:
    struct Cell {
        QString Text;
        Qt::Alignment Align = Qt::AlignLeft | Qt::AlignVCenter;
        double FontSize = 0.0; // 0: the grid's
    };
    Cell* CellAt(int row, int col);
    const Cell* CellAt(int row, int col) const;
    void Resize(int rows, int cols);
    void Clamp();

    int m_rows = 0;
    int m_cols = 0;
    std::vector<Cell> m_cells; // row-major
    std::vector<int> m_colWidths;
    std::vector<int> m_rowHeights;
    QString m_fontName;
    double m_fontSize = 9.0;
    int m_row = 0, m_col = 0, m_rowSel = 0, m_colSel = 0;
};
