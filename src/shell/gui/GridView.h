#pragma once

#include <QModelIndex>
#include <QTableView>

class GridModel;

// Shows a GridModel as a plain grid without headers: widths and heights in twips, the
// model's fonts and alignments. The operator's selection is written back into the model
// as anchor cell and far corner, so that copy and print see which way it was made.
class GridView : public QTableView
{
    Q_OBJECT
public:
    explicit GridView(GridModel* model, QWidget* parent = nullptr);
    GridModel* Model() const { return m_model; }

signals:
    // Every key pressed while the grid has the focus (once while it is held).
    void KeyDown(int key, Qt::KeyboardModifiers modifiers);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // Letters are the owner's commands (C copies, P prints) or nothing: the view's
    // type-ahead would move the current cell and shrink the selection they act on.
    void keyboardSearch(const QString&) override {}

private:
    void ApplyGeometry();
    void ShowModelSelection();
    void TakeViewSelection();

    GridModel* m_model;
    QModelIndex m_anchor;
    bool m_syncing = false;
};
