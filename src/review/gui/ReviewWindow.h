#pragma once

#include "dayreview/gui/DayListView.h"

#include "dayreview/DayModels.h"

#include <QMainWindow>
#include <memory>

class ReviewOutput;

struct AppContext;
class QLabel;
class QSortFilterProxyModel;
class QTabWidget;
class QTableView;
class PointsView;
class DayChartView;

// The review window: the list of days on the left, the chosen day on the right as its
// table, its statistics and its chart; the menus open folders and files and write the
// report, the Excel file and the clipboard text. Folders and files can be dropped on it.
class ReviewWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit ReviewWindow(AppContext& context, QWidget* parent = nullptr);
    ~ReviewWindow() override;

    // Lists the days of `folder` (or of its data folder), filling the list step by step.
    void OpenFolder(const QString& folder);
    // Lists and opens the one file.
    void OpenFile(const QString& path);
    bool Listing() const { return m_dayView->Listing(); }

    QTableView* DayList() const { return m_dayView; }
    QTableView* Table() const { return m_tableView; }
    QTableView* Statistics() const { return m_statsView; }
    QTabWidget* Tabs() const { return m_tabs; }
    QLabel* Note() const { return m_note; }
    PointsView* Points() const { return m_points; }
    const DayTableModel& Day() const { return m_table; }
    QLabel* Legend() const { return m_legend; }
    QLabel* LeftOut() const { return m_leftOut; }
    // The chosen rows in the order shown; empty when none is chosen, which stands for the
    // whole day.
    std::vector<int> ChosenRows() const;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void ListingFinished();
    void FitPanels();
    void ShowDay(int listRow);
    void ShowDayLines();
    void TakeChoice();
    void CopyRows();
    void ChooseFolder();
    void ChooseFile();

    AppContext& m_context;
    std::unique_ptr<ReviewOutput> m_output;
    UiLanguage m_language;
    QString m_shownFolder;
    DayTableModel m_table;
    StatisticsModel m_stats;
    DaySelection m_selection;
    QSortFilterProxyModel* m_sorted;
    DayListView* m_dayView;
    QTableView* m_tableView;
    QTableView* m_statsView;
    QTabWidget* m_tabs;
    QLabel* m_settings;
    QLabel* m_note;
    QLabel* m_legend;
    QLabel* m_leftOut;
    QLabel* m_statsCaption;
    DayChartView* m_chart;
    PointsView* m_points;
};
