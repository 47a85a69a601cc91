#pragma once

#include "LotPreferences.h"
#include "siteplan/gui/SitePlanView.h"

#include "lotreview/LotModels.h"

#include <QWidget>
#include <functional>

struct AppContext;
class LotChartView;
class LotFieldsPanel;
class LotPlacesPanel;
class LotProblemsPanel;
class LotReportActions;
class LotWatch;
class PointMarkPanel;
class QComboBox;
class QLabel;
class QMenu;
class QTableView;

// The Points view beside the day's table: the lot's header and rules, its points, the
// chosen point's location or why it is left out, its drops with split, join, exclude and
// include, the lot's summary and verdict (or what keeps it from one), and the chart of the
// points' K or E, and the site plan of the points.
class PointsView : public QWidget
{
    Q_OBJECT
public:
    // `shownDay` gives the path of the day the window shows (empty for none).
    PointsView(AppContext& context, std::function<QString()> shownDay, QWidget* parent = nullptr);
    ~PointsView() override;

    // File > New Lot, Open Lot, Save Lot, Save Lot As and the lot's outputs.
    void AddLotActions(QMenu* file);
    // Asks before unsaved work on the lot is dropped; true when it may go.
    bool MayDiscardLot();
    // A new lot as begun, with the office's last rules, is no work yet.
    bool HasUnsavedWork() const;
    void NewLot();
    void OpenLot();
    void SaveLot();
    void SaveLotAs();
    void AddShownDay();

    const LotSession& Lot() const { return m_lot; }
    QTableView* PointsTable() const { return m_pointsView; }
    QTableView* DropsTable() const { return m_dropsView; }
    QLabel* Summary() const { return m_summary; }
    QLabel* VerdictLine() const { return m_verdict; }
    SitePlanView* SitePlan() const { return m_plan; }
    // The points where they lie; data without a placed point shows that there is no plan.
    void ShowSitePlan(const SitePlanData& data) { m_plan->Show(data); }

signals:
    // A lot was begun or opened: the window shows it.
    void LotShown();

private:
    QString AskPath(bool save);
    void Tell(const Bilingual& title, const Bilingual& text, bool problem);
    void Refresh(int keepDrop = -1);
    void ShowPoint(int point);
    void ShowSummary();
    int ChosenDrop() const;
    void ApplyFields();
    void TakeFields();
    void MarkChanged();
    void Split(const QString& reason);
    void Join(const QString& reason);
    void Exclude(ExclusionReason reason, const QString& text);
    void Include();

    AppContext& m_context;
    UiLanguage m_language;
    std::function<QString()> m_shownDay;
    LotSession m_lot;
    LotPreferences m_preferences;
    QByteArray m_begun; // a new lot as begun, until it is saved
    PointsModel m_points;
    PointDropsModel m_drops;
    LotFieldsPanel* m_fields;
    LotPlacesPanel* m_places;
    LotProblemsPanel* m_problems;
    PointMarkPanel* m_mark;
    QLabel* m_title;
    QTableView* m_pointsView;
    QTableView* m_dropsView;
    QLabel* m_summary;
    QLabel* m_verdict;
    QComboBox* m_chartValue;
    LotChartView* m_chart;
    SitePlanView* m_plan;
    LotWatch* m_watch;
    LotReportActions* m_reports;
};
