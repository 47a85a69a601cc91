#pragma once

#include "lotsession/LotSession.h"

#include <QAbstractTableModel>

#include <QColor>

// The tints of the lot's tables, for them and for the legends that explain them.
inline const QColor FailingTint(255, 215, 205);
inline const QColor LeftOutTint(225, 225, 225);
inline const QColor FarTint(255, 235, 160);

// The lot's points, one row each; failing points tinted.
class PointsModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    PointsModel(const LotSession& lot, UiLanguage uiLanguage, QObject* parent = nullptr);
    // The points formed anew.
    void Refresh();
    // The same points with new values (a location, a point left out): the choice stays.
    void Update();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    // The station's column, after the place's; the offset's follows it.
    int StationColumn() const { return int(m_headings.size()) + 1; }
    QVariant StationData(const PointStation& along, int column, int role) const;

    const LotSession& m_lot;
    UiLanguage m_language;
    QStringList m_headings;
};

// The drops of one point, every one with whether it is used and why not; K and E come first
// after the moment, so that they are seen however narrow the table. A drop far from the
// point's other used drops is tinted (DropSpread).
class PointDropsModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    PointDropsModel(const LotSession& lot, UiLanguage uiLanguage, QObject* parent = nullptr);
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
    UiLanguage m_language;
    QStringList m_headings;
    int m_point = -1;
    std::vector<bool> m_far;
};
