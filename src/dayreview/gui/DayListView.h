#pragma once

#include "dayreview/DayModels.h"
#include "days/DayIndex.h"

#include <QProgressBar>
#include <QTableView>
#include <QTimer>

// The list of days of a folder: it fills itself as the days are read on every core, newest
// first, and can be used while it does; it fits its columns to what it shows.
class DayListView : public QTableView
{
    Q_OBJECT
public:
    explicit DayListView(UiLanguage uiLanguage, QWidget* parent = nullptr);

    // Starts listing `paths`, dropping what was listed.
    void List(const QStringList& paths);
    bool Listing() const { return m_fill.isActive(); }
    const DaySummary* Day(int row) const { return m_days.Day(row); }
    int Days() const { return m_days.rowCount(); }
    // The width that shows every column whole.
    int WantedWidth() const;
    // How far the listing is, shown while it lasts; for the window's status line.
    QProgressBar* Progress() { return &m_progress; }

signals:
    // The columns were fitted again; the window may give the list its wanted width.
    void Fitted();
    void Finished();

private:
    void FillStep();
    void FitToContents();

    UiLanguage m_language;
    DayListModel m_days;
    DayIndex m_index;
    QTimer m_fill;
    QProgressBar m_progress;
};
