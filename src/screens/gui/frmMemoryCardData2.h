#pragma once

#include "shell/GridModel.h"

#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>

struct ResultsContext;
class GridView;
class LiveMonitor;
class MeasurementCommands;
class PositionsIndicator;
class QLabel;
class QPushButton;

// The working screen of a test day: results grid, diameter and Poisson line, live
// monitor grid, status line and the two rows of commands. The connection check and the
// live monitor run on its timer through LiveMonitor; the handlers of the commands call
// into the logger, results and printing logic.
class frmMemoryCardData2 : public QWidget
{
    Q_OBJECT
public:
    explicit frmMemoryCardData2(ResultsContext& context, QWidget* parent = nullptr);
    ~frmMemoryCardData2() override;

    // Controls, by the names the screen has always given them.
    QPushButton* cmdNo = nullptr;      // "Meas. No.": the measurement-number dialog
    QPushButton* cmdInitial = nullptr; // "Balance": balances the logger's channels
    QPushButton* cmdMeasure = nullptr; // "Start": the run form
    QPushButton* cmdSetting = nullptr; // "Setting": the settings display
    QPushButton* cmdPrint = nullptr;   // "Print": the report of the results grid
    QPushButton* cmdReturn = nullptr;  // "Main Menu": leaves the screen
    QLabel* Label6 = nullptr;          // caption over the results grid
    std::array<QLabel*, 2> Label2{};   // "Diameter", "mm   Poisson's Ratio"
    QLabel* lblDia = nullptr;          // the plate diameter
    QLabel* lblPoi = nullptr;          // Poisson's ratio
    QLabel* Label1 = nullptr;          // status line
    GridView* MSFData = nullptr;       // results grid
    GridView* MSFMonit = nullptr;      // live monitor grid
    // GPS: whether the drops get their positions.
    PositionsIndicator* lblPositions = nullptr;

    QLabel* StatusLine() const { return Label1; }

    GridModel& ResultGrid() { return m_resultGrid; }
    GridModel& MonitorGrid() { return m_monitorGrid; }
    ResultsContext& Context() { return m_context; }

    // 100 ms for the connection check, then 1000 ms for the monitor polls. A run or a
    // sub-screen stops it and restarts it with start(), keeping its interval.
    QTimer Interval;
    int16_t MonitorMode = 0;     // 0: next tick checks the connection; 1: next tick polls
    float HeaderRowHeight = 0.f; // twips, both header rows of the results grid

    // Builds the empty results grid (headings, widths, column count) and lays the screen
    // out for the active channels.
    void SetupResultGrid();
    // Lays the window and its controls out for the active channels (twips, see
    // MeasurementLayout).
    void ArrangeMeasurementScreen();

    // Closes the port and leaves the screen; the main menu shows itself again when the
    // screen is gone. Also the way out after a lost logger.
    void cmdReturn_Click();

    // Today's results from the daily file, and into the results grid when there are any.
    void LoadTodaysResults();
    void FillResultGridIfAny();

    // The commands and the grid's keys: each hands over to MeasurementCommands and to the
    // logger, results and printing logic.
    void cmdMeasure_Click();
    void cmdInitial_Click();
    void cmdNo_Click();
    void cmdSetting_Click();
    void cmdPrint_Click();
    void MSFData_KeyDown(int key, Qt::KeyboardModifiers modifiers);

protected:
    // Closing (Main Menu, a lost logger or the window's close box) stops the timer and
    // closes the port; during a tick it waits for the tick to end.
    void closeEvent(QCloseEvent* event) override;

private:
    class Screen;
    friend class Screen;

    void CreateControls();
    void SetCaptionsAndFonts();
    void ReadPortSettingsAgain();
    void PlaceControls(int windowWidth, int windowHeight);
    void CompleteScreen();
    void BuildMonitorGrid();
    void ApplyOfferedCommands(bool connected);
    void OnIntervalTick();

    ResultsContext& m_context;
    GridModel m_resultGrid;
    GridModel m_monitorGrid;
    std::unique_ptr<Screen> m_screen;
    std::unique_ptr<MeasurementCommands> m_commands;
    std::unique_ptr<LiveMonitor> m_monitor;
    int m_windowWidthTwips = 0;
    int m_windowHeightTwips = 0;
};
