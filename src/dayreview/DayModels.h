#pragma once

#include "DayTexts.h"
#include "days/DayIndex.h"

#include <QAbstractTableModel>
#include <memory>

// The list of days, newest first: date, results, a note (why a file could not be read,
// lines skipped, no results yet), plate diameter, Poisson's ratio, calculation type and
// heading language.
class DayListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit DayListModel(UiLanguage uiLanguage, QObject* parent = nullptr);
    void SetDays(std::vector<DaySummary> days);
    // Puts `days` in their places in the list, so that the rows already there (and a day
    // the operator chose among them) stay as they are.
    void AddDays(std::vector<DaySummary> days);
    const DaySummary* Day(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    UiLanguage m_language;
    std::vector<DaySummary> m_days;
};

// A day's results with the file's own columns; the sort role holds what each column
// sorts by, and rows whose K or E stands out are tinted. It holds the day shown, reviewed
// once, for the window and its outputs.
class DayTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int SortRole = Qt::UserRole + 1;
    static constexpr int MarkedRole = Qt::UserRole + 2;

    explicit DayTableModel(UiLanguage uiLanguage, QObject* parent = nullptr);
    void SetDay(DayFile file);
    const ReviewedDay& Day() const { return *m_day; }
    std::shared_ptr<const ReviewedDay> SharedDay() const { return m_day; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    UiLanguage m_language;
    std::shared_ptr<const ReviewedDay> m_day;
};

// The statistics of the day or of the chosen rows, one line per quantity.
class StatisticsModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit StatisticsModel(UiLanguage uiLanguage, QObject* parent = nullptr);
    void Show(const ReviewedDay& day, const DaySelection& selection);
    QString Caption() const { return m_caption; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    UiLanguage m_language;
    std::vector<QStringList> m_cells;
    QString m_caption;
};
