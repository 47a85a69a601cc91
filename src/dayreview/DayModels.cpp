#include "DayModels.h"

#include "shell/Formatting.h"

#include <QColor>
#include <QFileInfo>

#include <algorithm>

DayListModel::DayListModel(UiLanguage uiLanguage, QObject* parent)
    : QAbstractTableModel(parent), m_language(uiLanguage)
{
}

void DayListModel::SetDays(std::vector<DaySummary> days)
{
    beginResetModel();
    m_days = std::move(days);
    endResetModel();
}

void DayListModel::AddDays(std::vector<DaySummary> days)
{
    std::sort(days.begin(), days.end(), ListedBefore);
    // The days mostly come in the list's order, so they go in as a few runs of rows.
    for (size_t first = 0; first < days.size();) {
        const size_t at =
            std::upper_bound(m_days.begin(), m_days.end(), days[first], ListedBefore) -
            m_days.begin();
        size_t end = first + 1;
        while (end < days.size() && (at == m_days.size() || ListedBefore(days[end], m_days[at])))
            ++end;
        beginInsertRows({}, int(at), int(at + end - first) - 1);
        m_days.insert(m_days.begin() + qsizetype(at),
                      std::make_move_iterator(days.begin() + qsizetype(first)),
                      std::make_move_iterator(days.begin() + qsizetype(end)));
        endInsertRows();
        first = end;
    }
}

const DaySummary* DayListModel::Day(int row) const
{
    return row >= 0 && row < int(m_days.size()) ? &m_days[row] : nullptr;
}

int DayListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_days.size());
}

int DayListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 7;
}

QVariant DayListModel::data(const QModelIndex& index, int role) const
{
    const DaySummary* d = Day(index.row());
    if (!d)
        return {};
    if (role == Qt::TextAlignmentRole)
        return index.column() == 1 || index.column() == 3 || index.column() == 4
                   ? int(Qt::AlignRight | Qt::AlignVCenter)
                   : int(Qt::AlignLeft | Qt::AlignVCenter);
    if (role == Qt::ToolTipRole)
        return QFileInfo(d->Path).fileName() + QLatin1Char('\n') + d->Problem.Pick(m_language);
    if (role != Qt::DisplayRole)
        return {};
    const QString none = QStringLiteral("------");
    switch (index.column()) {
    case 0:
        return d->Date.isValid() ? DayText(d->Date, m_language) : QFileInfo(d->Path).fileName();
    case 1:
        return d->Problem.En.isEmpty() ? QVariant(d->Results) : QVariant(none);
    case 2:
        if (!d->Problem.En.isEmpty())
            return d->Problem.Pick(m_language);
        if (d->Skipped > 0)
            return Tr(m_language, "%1 行を読み飛ばし", "%1 line(s) skipped").arg(d->Skipped);
        return d->Results == 0 ? NoResultsYet().Pick(m_language) : QString();
    case 3:
        return d->Header.HasDiameter ? QString::number(d->Header.Diameter) : none;
    case 4:
        return d->Header.HasPoisson ? FormatNumber(d->Header.Poisson, QStringLiteral("0.000"))
                                    : none;
    case 5:
        return CalcTypeName(d->CalcTypes, m_language);
    case 6:
        return d->HeadingLanguage == 0   ? QString::fromUtf8("日本語")
               : d->HeadingLanguage == 1 ? QStringLiteral("English")
                                         : QString();
    }
    return {};
}

QVariant DayListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char* const ja[] = {"日付",       "結果数",       "備考",        "載荷板直径(mm)",
                                     "ポアソン比", "E の計算方法", "見出しの言語"};
    static const char* const en[] = {
        "Date",          "Results",         "Note", "Plate dia.(mm)", "Poisson's ratio",
        "E calculation", "Heading language"};
    return section >= 0 && section < 7 ? Tr(m_language, ja[section], en[section]) : QVariant();
}

DayTableModel::DayTableModel(UiLanguage uiLanguage, QObject* parent)
    : QAbstractTableModel(parent), m_language(uiLanguage),
      m_day(std::make_shared<const ReviewedDay>(DayFile{}, uiLanguage))
{
}

void DayTableModel::SetDay(DayFile file)
{
    beginResetModel();
    m_day = std::make_shared<const ReviewedDay>(std::move(file), m_language);
    endResetModel();
}

int DayTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_day->Results();
}

int DayTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || m_day->Results() == 0 ? 0 : int(m_day->Columns().size());
}

QVariant DayTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_day->Results())
        return {};
    const ReviewRow& row = m_day->File().Rows[index.row()];
    const ReviewColumn& column = m_day->Columns().at(index.column());
    const bool marked = m_day->Marked(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return CellText(row, column);
    case SortRole:
        return CellSortKey(row, column);
    case MarkedRole:
        return marked;
    case Qt::BackgroundRole:
        return marked ? QVariant(QColor(QRgb(MarkedTint))) : QVariant();
    case Qt::ToolTipRole:
        return marked ? QVariant(MarkLegend(*m_day)) : QVariant();
    case Qt::TextAlignmentRole:
        return column.What == ReviewColumn::Kind::Value ? int(Qt::AlignRight | Qt::AlignVCenter)
                                                        : int(Qt::AlignCenter);
    }
    return {};
}

QVariant DayTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    const std::vector<ReviewColumn>& columns = m_day->Columns();
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < int(columns.size()))
        return columns[section].Heading;
    return QAbstractTableModel::headerData(section, orientation, role);
}

StatisticsModel::StatisticsModel(UiLanguage uiLanguage, QObject* parent)
    : QAbstractTableModel(parent), m_language(uiLanguage)
{
}

void StatisticsModel::Show(const ReviewedDay& day, const DaySelection& selection)
{
    beginResetModel();
    m_cells.clear();
    if (day.Results() > 0)
        m_cells = StatisticsLines(day, selection);
    m_caption = StatisticsCaption(day, selection);
    if (const QString note = FormulaNote(day, selection); !note.isEmpty())
        m_caption += QStringLiteral("\n") + note;
    endResetModel();
}

int StatisticsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_cells.size());
}

int StatisticsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 6;
}

QVariant StatisticsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_cells.size()))
        return {};
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::DisplayRole)
        return m_cells[index.row()].at(index.column() + 1);
    return {};
}

QVariant StatisticsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal)
        return StatisticsHeadings(m_language).value(section + 1);
    return section < int(m_cells.size()) ? m_cells[section].at(0) : QVariant();
}
