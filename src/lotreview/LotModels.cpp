#include "LotModels.h"

#include "lotreport/LotTexts.h"

#include "lot/DropSpread.h"
#include "record/PlaceFormat.h"

#include <QBrush>

#include <cstdlib>

namespace
{

// The columns of DropCells in the order shown: No, moment, the time since the drop before, K,
// E, use, P0, D0, formula, file.
constexpr int SincePrevious = -1;
constexpr int DropColumns[] = {0, 1, SincePrevious, 5, 6, 2, 3, 4, 7, 8};

// The seconds since the drop before in the same file, and why a point starts or runs on there:
// the figure that gives a wrong join or split away.
QString SincePreviousText(const LotSession& lot, const std::vector<PointDrop>& point, int row,
                          UiLanguage language)
{
    const std::vector<LotDrop>& drops = lot.Drops();
    const int i = point[size_t(row)].Index;
    if (i == 0 || drops[size_t(i - 1)].File != drops[size_t(i)].File)
        return QStringLiteral("—");
    const qint64 seconds = std::llabs(drops[size_t(i - 1)].When.secsTo(drops[size_t(i)].When));
    const bool gap = seconds > lot.Document().Rules.GapSeconds;
    const QString text = QString::number(seconds);
    if (row == 0)
        return text +
               (gap ? Tr(language, " (間隔)", " (gap)") : Tr(language, " (分割)", " (split)"));
    return gap ? text + Tr(language, " (結合)", " (joined)") : text;
}

// A heading's unit on a line of its own, so that a column is as narrow as its numbers.
QStringList Wrapped(QStringList headings)
{
    for (QString& h : headings) {
        const qsizetype unit = h.indexOf(QLatin1Char('('));
        if (unit > 0)
            h = h.left(unit).trimmed() + QLatin1Char('\n') + h.mid(unit);
    }
    return headings;
}

} // namespace

PointsModel::PointsModel(const LotSession& lot, UiLanguage uiLanguage, QObject* parent)
    : QAbstractTableModel(parent), m_lot(lot), m_language(uiLanguage),
      m_headings(Wrapped(PointHeadings(uiLanguage)))
{
}

void PointsModel::Refresh()
{
    beginResetModel();
    endResetModel();
}

void PointsModel::Update()
{
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

int PointsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_lot.Points().size());
}

int PointsModel::columnCount(const QModelIndex& parent) const
{
    // The place ends the row once the lot has anything to place its points from, and the
    // station and offset once it has a centreline.
    const bool place = m_lot.Places().HasSource();
    const bool station = place && !m_lot.Places().Stations().empty();
    return parent.isValid() ? 0 : int(m_headings.size()) + (place ? 1 : 0) + (station ? 2 : 0);
}

QVariant PointsModel::StationData(const PointStation& along, int column, int role) const
{
    const bool offset = column == StationColumn() + 1;
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::ToolTipRole && along.Ambiguous)
        return Tr(m_language, "道路の別の部分も同じくらい近くにあります。近い方の測点番号です。",
                  "Another part of the road lies as near: this is the nearer one's station.");
    if (role == Qt::ToolTipRole)
        return along.Why.Pick(m_language);
    if (role != Qt::DisplayRole)
        return {};
    if (!along.HasStation)
        return offset ? QString() : along.Short.Pick(m_language);
    if (offset)
        return GridMetresText(along.Offset);
    return along.Ambiguous ? along.Text + QStringLiteral(" *") : along.Text;
}

QVariant PointsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::BackgroundRole && m_lot.VerdictOf(index.row()).Result == Verdict::Fail)
        return QBrush(FailingTint);
    if (index.column() >= StationColumn())
        return StationData(m_lot.Places().Stations().at(size_t(index.row())), index.column(), role);
    if (role == Qt::DisplayRole && index.column() == m_headings.size())
        return PointPlaceText(m_lot, index.row(), m_language);
    if (role == Qt::DisplayRole)
        return PointCells(m_lot, index.row(), m_language).value(index.column());
    if (role == Qt::BackgroundRole && m_lot.VerdictOf(index.row()).Result == Verdict::Fail)
        return QBrush(FailingTint);
    if (role == Qt::ToolTipRole)
        return PointNote(m_lot.Points()[index.row()], m_language);
    if (role == Qt::TextAlignmentRole && index.column() != 1)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant PointsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    if (section == StationColumn())
        return Tr(m_language, "測点番号", "Station");
    if (section == StationColumn() + 1)
        return Tr(m_language, "離れ (m)\n右が正", "Offset (m)\nright +");
    return section == m_headings.size() ? Tr(m_language, "測位 (ばらつき)", "Place (spread)")
                                        : m_headings.value(section);
}

PointDropsModel::PointDropsModel(const LotSession& lot, UiLanguage uiLanguage, QObject* parent)
    : QAbstractTableModel(parent), m_lot(lot), m_language(uiLanguage),
      m_headings(Wrapped(DropHeadings(uiLanguage)))
{
    QStringList shown;
    for (int c : DropColumns)
        shown << (c == SincePrevious ? Tr(uiLanguage, "前の打撃から\n(秒)", "Since previous\n(s)")
                                     : m_headings.value(c));
    m_headings = shown;
}

const std::vector<PointDrop>* PointDropsModel::Drops() const
{
    const auto& points = m_lot.Points();
    return m_point >= 0 && m_point < int(points.size()) ? &points[m_point].Drops : nullptr;
}

void PointDropsModel::ShowPoint(int point)
{
    beginResetModel();
    m_point = point;
    const auto* drops = Drops();
    m_far = drops ? FarDrops(m_lot.Drops(), m_lot.Points()[size_t(point)]) : std::vector<bool>();
    endResetModel();
}

int PointDropsModel::DropAt(int row) const
{
    const auto* drops = Drops();
    return drops && row >= 0 && row < int(drops->size()) ? (*drops)[row].Index : -1;
}

int PointDropsModel::RowOf(int drop) const
{
    const auto* drops = Drops();
    for (int r = 0; drops && r < int(drops->size()); ++r) {
        if ((*drops)[r].Index == drop)
            return r;
    }
    return -1;
}

int PointDropsModel::rowCount(const QModelIndex& parent) const
{
    const auto* drops = Drops();
    return parent.isValid() || !drops ? 0 : int(drops->size());
}

int PointDropsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_headings.size());
}

QVariant PointDropsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const PointDrop& d = (*Drops())[index.row()];
    const int column = DropColumns[index.column()];
    if (role == Qt::DisplayRole && column == SincePrevious)
        return SincePreviousText(m_lot, *Drops(), index.row(), m_language);
    if (role == Qt::DisplayRole)
        return DropCells(m_lot, d, m_language).value(column);
    if (role == Qt::BackgroundRole && m_far[size_t(index.row())])
        return QBrush(FarTint);
    if (role == Qt::BackgroundRole && d.State != DropState::Used)
        return QBrush(LeftOutTint);
    if (role == Qt::TextAlignmentRole && (column == SincePrevious || (column >= 3 && column <= 6)))
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant PointDropsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    return m_headings.value(section);
}
