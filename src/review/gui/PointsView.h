#pragma once

#include "review/LotModels.h"

#include <QWidget>
#include <functional>
#include <memory>

struct AppContext;
class LotChartView;
class LotOutput;
class LotFieldsPanel;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTableView;

// The Points view beside the day's table: the lot's header and requirement, its points,
// the drops of the chosen point with split, join, exclude and include, the lot's summary
// and verdict, and the chart of the points' K or E.
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
    void NewLot();
    void OpenLot();
    void SaveLot();
    void SaveLotAs();
    void AddShownDay();

    const LotSession& Lot() const { return m_lot; }
    QTableView* PointsTable() const { return m_pointsView; }
    QTableView* DropsTable() const { return m_dropsView; }
    QLabel* Summary() const { return m_summary; }
    LotOutput& Output() const { return *m_output; }

    // Tests and scripted use: the file the next open or save uses instead of asking.
    QString NextPath;

private:
    QString AskPath(bool save);
    void Tell(const Bilingual& title, const Bilingual& text, bool problem);
    void Refresh(int keepDrop = -1);
    void ShowPoint(int point);
    void ShowSummary();
    int ChosenDrop() const;
    void ApplyFields();
    void Split();
    void Join();
    void Exclude();
    void Include();

    AppContext& m_context;
    int16_t m_language;
    std::function<QString()> m_shownDay;
    LotSession m_lot;
    PointsModel m_points;
    PointDropsModel m_drops;
    LotFieldsPanel* m_fields;
    QLabel* m_title;
    QTableView* m_pointsView;
    QTableView* m_dropsView;
    QComboBox* m_reason;
    QLineEdit* m_reasonText;
    QLabel* m_summary;
    QComboBox* m_chartValue;
    LotChartView* m_chart;
    std::unique_ptr<LotOutput> m_output;
};
