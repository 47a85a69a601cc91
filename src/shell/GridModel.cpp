#include "GridModel.h"

#include <QFont>
#include <algorithm>

GridModel::GridModel(QObject* parent) : QAbstractTableModel(parent) {}

void GridModel::Resize(int rows, int cols)
{
    rows = std::max(0, rows);
    cols = std::max(0, cols);
    if (rows == m_rows && cols == m_cols)
        return;
    beginResetModel();
    std::vector<Cell> cells(static_cast<size_t>(rows) * cols);
    for (int r = 0; r < std::min(rows, m_rows); ++r)
        for (int c = 0; c < std::min(cols, m_cols); ++c)
            cells[static_cast<size_t>(r) * cols + c] = m_cells[static_cast<size_t>(r) * m_cols + c];
    m_cells.swap(cells);
    m_rows = rows;
    m_cols = cols;
    m_colWidths.resize(cols, 0);
    m_rowHeights.resize(rows, 0);
    endResetModel();
    Clamp();
    emit geometryChanged();
}

void GridModel::Clamp()
{
    const int maxRow = std::max(0, m_rows - 1);
    const int maxCol = std::max(0, m_cols - 1);
    m_row = std::clamp(m_row, 0, maxRow);
    m_col = std::clamp(m_col, 0, maxCol);
    m_rowSel = std::clamp(m_rowSel, 0, maxRow);
    m_colSel = std::clamp(m_colSel, 0, maxCol);
}

void GridModel::SetRows(int rows)
{
    Resize(rows, m_cols);
}
void GridModel::SetCols(int cols)
{
    Resize(m_rows, cols);
}

GridModel::Cell* GridModel::CellAt(int row, int col)
{
    if (row < 0 || col < 0 || row >= m_rows || col >= m_cols)
        return nullptr;
    return &m_cells[static_cast<size_t>(row) * m_cols + col];
}

const GridModel::Cell* GridModel::CellAt(int row, int col) const
{
    return const_cast<GridModel*>(this)->CellAt(row, col);
}

QString GridModel::Text(int row, int col) const
{
    const Cell* cell = CellAt(row, col);
    return cell ? cell->Text : QString();
}

void GridModel::SetText(int row, int col, const QString& text)
{
    if (Cell* cell = CellAt(row, col)) {
        cell->Text = text;
        const QModelIndex i = index(row, col);
        emit dataChanged(i, i);
    }
}

Qt::Alignment GridModel::Alignment(int row, int col) const
{
    const Cell* cell = CellAt(row, col);
    return cell ? cell->Align : (Qt::AlignLeft | Qt::AlignVCenter);
}

void GridModel::SetAlignment(int row, int col, Qt::Alignment alignment)
{
    if (Cell* cell = CellAt(row, col)) {
        cell->Align = alignment;
        const QModelIndex i = index(row, col);
        emit dataChanged(i, i);
    }
}

double GridModel::CellFontSize(int row, int col) const
{
    const Cell* cell = CellAt(row, col);
    return (cell && cell->FontSize > 0) ? cell->FontSize : m_fontSize;
}

void GridModel::SetCellFontSize(int row, int col, double points)
{
    if (Cell* cell = CellAt(row, col)) {
        cell->FontSize = points;
        const QModelIndex i = index(row, col);
        emit dataChanged(i, i);
    }
}

void GridModel::SetFontName(const QString& name)
{
    m_fontName = name;
    emit geometryChanged();
}

void GridModel::SetFontSize(double points)
{
    m_fontSize = points;
    emit geometryChanged();
}

int GridModel::ColWidth(int col) const
{
    return (col >= 0 && col < m_cols) ? m_colWidths[col] : 0;
}

void GridModel::SetColWidth(int col, int twips)
{
    if (col >= 0 && col < m_cols) {
        m_colWidths[col] = twips;
        emit geometryChanged();
    }
}

int GridModel::RowHeight(int row) const
{
    return (row >= 0 && row < m_rows) ? m_rowHeights[row] : 0;
}

void GridModel::SetRowHeight(int row, int twips)
{
    if (row >= 0 && row < m_rows) {
        m_rowHeights[row] = twips;
        emit geometryChanged();
    }
}

void GridModel::SetRow(int row)
{
    m_row = m_rowSel = row;
    m_colSel = m_col;
    Clamp();
    emit selectionMoved();
}

void GridModel::SetCol(int col)
{
    m_col = m_colSel = col;
    m_rowSel = m_row;
    Clamp();
    emit selectionMoved();
}

void GridModel::SetRowSel(int row)
{
    m_rowSel = row;
    Clamp();
    emit selectionMoved();
}

void GridModel::SetColSel(int col)
{
    m_colSel = col;
    Clamp();
    emit selectionMoved();
}

void GridModel::SetSelection(int row, int col, int rowSel, int colSel)
{
    m_row = row;
    m_col = col;
    m_rowSel = rowSel;
    m_colSel = colSel;
    Clamp();
    emit selectionMoved();
}

void GridModel::PutCell(int col, int row, const QString& text)
{
    SetCol(col);
    SetRow(row);
    SetText(row, col, text);
}

GridRange GridModel::ChosenRange() const
{
    GridRange r;
    if (m_row == m_rowSel && m_col == m_colSel) {
        r.FirstCol = 0;
        r.LastCol = m_cols - 1;
        r.FirstRow = 0;
        r.LastRow = m_rows - 1;
        r.Widened = true;
        return r;
    }
    r.FirstCol = std::min(m_col, m_colSel);
    r.LastCol = std::max(m_col, m_colSel);
    r.FirstRow = std::min(m_row, m_rowSel);
    r.LastRow = std::max(m_row, m_rowSel);
    return r;
}

void GridModel::RestoreSelection(int row, int col, int rowSel, int colSel)
{
    SetCol(col);
    SetRow(row);
    SetColSel(colSel);
    SetRowSel(rowSel);
}

int GridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int GridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_cols;
}

QVariant GridModel::data(const QModelIndex& index, int role) const
{
    const Cell* cell = CellAt(index.row(), index.column());
    if (!cell)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return cell->Text;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(cell->Align);
    case Qt::FontRole: {
        QFont font(m_fontName);
        font.setPointSizeF(CellFontSize(index.row(), index.column()));
        return font;
    }
    default:
        return {};
    }
}
