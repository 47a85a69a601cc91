#pragma once

#include "logger/MeasurementRun.h"

#include <QDialog>
#include <QTimer>

struct ResultsContext;
class QLabel;
class QProgressBar;
class QPushButton;

// The run form: shows the measurement number, the recording progress and the transfer
// while MeasurementRun drives the logger on the form's 500 ms timer. Shown modally by the
// measurement screen; it closes itself when the run is over.
class frmStart : public QDialog
{
    Q_OBJECT
public:
    explicit frmStart(ResultsContext& context, QWidget* parent = nullptr);

    QPushButton* cmdCancel = nullptr;    // back to the monitor
    QPushButton* cmdStart = nullptr;     // starts by hand a run whose set-up stopped at an error
    QLabel* Label1 = nullptr;            // "File No."
    QLabel* lblFileNo = nullptr;         // the measurement number of the drop
    QLabel* Label2 = nullptr;            // "Measuring"
    QLabel* lblStatus = nullptr;         // what the run is doing
    QLabel* lblMessage = nullptr;        // the second line: "Transfer Data"
    QProgressBar* pbMeasure = nullptr;   // the recording
    QProgressBar* pbDataTrans = nullptr; // the transfer
    QTimer Interval;

    MeasurementRun& Run() { return m_run; }
    RunOutcome Outcome() const { return m_run.Outcome(); }
    RunResult Result() const { return m_run.Result(); }

protected:
    // Escape and the close box act as the cancel command (QDialog's close event calls it).
    void reject() override;

private:
    void CreateControls();
    void ShowView();
    void OnTick();

    ResultsContext& m_context;
    MeasurementRun m_run;
    bool m_inTick = false;
};
