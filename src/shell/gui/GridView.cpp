#include "GridView.h"

#include "shell/GridModel.h"
#include "shell/Twips.h"

#include <QFontMetricsF>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace
{
// A cell whose text would be cut at its column's edge is drawn a little smaller, so that
// no figure is lost: the column widths are fixed, the faces of the two languages are not.
class FittingDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem fitted(option);
        QStyledItemDelegate::initStyleOption(&fitted, index);
        const double room = fitted.rect.width() - 6.0; // the style's text margins
        const double natural = fitted.font.pointSizeF();
        double points = natural;
        const double smallest = natural * 0.7;
        while (points > smallest && room > 0 &&
               QFontMetricsF(fitted.font).horizontalAdvance(fitted.text) > room) {
            points -= 0.5;
            fitted.font.setPointSizeF(points);
        }
        m_points = points < natural ? points : 0.0;
        QStyledItemDelegate::paint(painter, option, index);
        m_points = 0.0;
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (m_points > 0)
            option->font.setPointSizeF(m_points);
    }

private:
    mutable double m_points = 0.0; // the fitted size while one cell is painted
};
} // namespace

GridView::GridView(GridModel* model, QWidget* parent) : QTableView(parent), m_model(model)
{
    setItemDelegate(new FittingDelegate(this));
    setModel(model);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    // Tab leaves the grid for the next control, as it leaves every other control; the arrow
    // keys move between cells.
    setTabKeyNavigation(false);
    connect(model, &GridModel::geometryChanged, this, &GridView::ApplyGeometry);
    connect(model, &QAbstractItemModel::modelReset, this, &GridView::ApplyGeometry);
    connect(model, &GridModel::selectionMoved, this, &GridView::ShowModelSelection);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            &GridView::TakeViewSelection);
    connect(model, &QAbstractItemModel::modelReset, this, [this] {
        connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
                &GridView::TakeViewSelection, Qt::UniqueConnection);
    });
    ApplyGeometry();
}

void GridView::ApplyGeometry()
{
    QFont f = font();
    if (!m_model->FontName().isEmpty())
        f.setFamily(m_model->FontName());
    f.setPointSizeF(m_model->FontSize());
    setFont(f);
    for (int c = 0; c < m_model->Cols(); ++c) {
        if (m_model->ColWidth(c) > 0)
            setColumnWidth(c, TwipsToPixels(m_model->ColWidth(c)));
    }
    for (int r = 0; r < m_model->Rows(); ++r) {
        if (m_model->RowHeight(r) > 0)
            setRowHeight(r, TwipsToPixels(m_model->RowHeight(r)));
    }
}

void GridView::ShowModelSelection()
{
    if (m_syncing || m_model->Rows() == 0 || m_model->Cols() == 0)
        return;
    m_syncing = true;
    const QModelIndex anchor = m_model->index(m_model->Row(), m_model->Col());
    const QModelIndex far = m_model->index(m_model->RowSel(), m_model->ColSel());
    m_anchor = anchor;
    selectionModel()->setCurrentIndex(far, QItemSelectionModel::NoUpdate);
    selectionModel()->select(QItemSelection(anchor, far), QItemSelectionModel::ClearAndSelect);
    m_syncing = false;
}

void GridView::TakeViewSelection()
{
    if (m_syncing)
        return;
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return;
    if (!m_anchor.isValid())
        m_anchor = current;
    m_syncing = true;
    m_model->SetSelection(m_anchor.row(), m_anchor.column(), current.row(), current.column());
    m_syncing = false;
}

void GridView::mousePressEvent(QMouseEvent* event)
{
    const QModelIndex pressed = indexAt(event->position().toPoint());
    if (pressed.isValid() && !(event->modifiers() & Qt::ShiftModifier))
        m_anchor = pressed;
    QTableView::mousePressEvent(event);
    TakeViewSelection();
}

namespace
{
bool MovesBetweenCells(int key)
{
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    default:
        return false;
    }
}
} // namespace

void GridView::keyPressEvent(QKeyEvent* event)
{
    // A command key held down acts once.
    if (!event->isAutoRepeat())
        emit KeyDown(event->key(), event->modifiers());
    // Every other key is the owner's command (KeyDown) or nothing, and goes no further: the
    // view would shrink the selection on Space or replace the owner's copy on Ctrl+C, and
    // the window would press a button on Enter or close on Escape.
    if (!MovesBetweenCells(event->key())) {
        event->accept();
        return;
    }
    const QModelIndex before = currentIndex();
    QTableView::keyPressEvent(event);
    if (currentIndex() != before && !(event->modifiers() & Qt::ShiftModifier))
        m_anchor = currentIndex();
    TakeViewSelection();
}
