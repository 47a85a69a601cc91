#pragma once

#include "LotSession.h"

#include <QAbstractTableModel>

// The lot's points, one row each; failing points tinted.
class PointsModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    PointsModel(const LotSession& lot, int16_t uiLanguage, QObject* parent = nullptr);
    void Refresh();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const LotSession& m_lot;
    int16_t m_language;
    QStringList m_headings;
};

// The drops of one point, every one with whether it is used and why not.
class PointDropsModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    PointDropsModel(const LotSession& lot, int16_t uiLanguage, QObject* parent = nullptr);
    void ShowPoint(int point);
    int Point() const { return m_point; }
    // The lot's index of the drop in `row`, -1 for none.
    int DropAt(int row) const;
    // The row of the lot's drop `drop`, -1 when it is not in the point shown.
    int RowOf(int drop) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const std::vector<PointDrop>* Drops() const;

    const LotSession& m_lot;
    int16_t m_language;
    QStringList m_headings;
    int m_point = -1;
};
