#include "frmStart.h"

#include "results/ResultsContext.h"
#include "screens/RunTexts.h"

#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

frmStart::frmStart(ResultsContext& context, QWidget* parent)
    : QDialog(parent), m_context(context), m_run(context, ArmRefusalMessage)
{
    CreateControls();
    connect(&Interval, &QTimer::timeout, this, &frmStart::OnTick);
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        m_run.Cancel();
        ShowView();
    });
    connect(cmdStart, &QPushButton::clicked, this, [this] {
        m_run.StartPressed();
        ShowView();
    });
    // The transfer blocks the loop: what it is about to do is painted first.
    m_run.Repaint = [this] {
        ShowView();
        repaint();
    };
    Interval.setInterval(MeasurementRun::TimerIntervalMs);
    m_run.Open();
    ShowView();
}

void frmStart::CreateControls()
{
    const Globals& g = m_context.G;
    const RunCaptions& c = RunFormCaptions();
    const UiLanguage lang = g.UiLanguage;
    setWindowTitle(g.AppTitle);
    QFont font(g.UiFontName);
    font.setPointSizeF(g.LargeFontSpec.Size > 0 ? g.LargeFontSpec.Size : 12.0);
    setFont(font);

    cmdCancel = new QPushButton(c.Cancel.Pick(lang), this);
    cmdStart = new QPushButton(c.Start.Pick(lang), this);
    Label1 = new QLabel(c.FileNo.Pick(lang), this);
    lblFileNo = new QLabel(this);
    lblFileNo->setFrameShape(QFrame::Panel);
    lblFileNo->setFrameShadow(QFrame::Sunken);
    lblFileNo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblFileNo->setMinimumWidth(90);
    Label2 = new QLabel(c.Measuring.Pick(lang), this);
    lblStatus = new QLabel(this);
    lblStatus->setWordWrap(true);
    lblMessage = new QLabel(this);
    pbMeasure = new QProgressBar(this);
    pbDataTrans = new QProgressBar(this);
    for (QProgressBar* bar : {pbMeasure, pbDataTrans}) {
        bar->setRange(0, 100);
        bar->setValue(0);
        bar->setTextVisible(false);
    }
    for (QPushButton* b : {cmdCancel, cmdStart})
        b->setMinimumSize(130, 36); // large enough for gloved hands in the field

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(18, 14, 18, 14);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(10);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(lblFileNo, 0, 1);
    grid->addWidget(cmdStart, 0, 3);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(pbMeasure, 1, 1, 1, 3);
    grid->addWidget(pbDataTrans, 2, 1, 1, 3);
    grid->addWidget(lblStatus, 3, 0, 1, 4);
    grid->addWidget(lblMessage, 4, 0, 1, 3);
    grid->addWidget(cmdCancel, 4, 3);
    grid->setColumnStretch(2, 1);
    setMinimumWidth(460);
}

void frmStart::ShowView()
{
    const RunView& v = m_run.View();
    lblFileNo->setText(v.MeasNoText);
    lblStatus->setText(RunStatusText(v, m_context.G.UiLanguage));
    lblMessage->setText(RunSecondLineText(v, m_context.G.UiLanguage));
    pbMeasure->setValue(v.Progress);
    // Without Start the focus rests on the form itself, where Enter presses nothing: not on
    // the cancel command, where the next Enter would cancel the run just armed. Tab reaches it.
    if (!v.StartShown && (!focusWidget() || focusWidget() == cmdStart))
        setFocus();
    cmdStart->setVisible(v.StartShown);
    cmdCancel->setVisible(v.CancelShown);
    if (v.TimerRunning && !Interval.isActive())
        Interval.start();
    else if (!v.TimerRunning && Interval.isActive())
        Interval.stop();
    if (v.Closed && !m_inTick)
        done(m_run.Outcome() == RunOutcome::Measured ? Accepted : Rejected);
}

void frmStart::OnTick()
{
    m_inTick = true;
    m_run.Tick();
    m_inTick = false;
    ShowView();
}

void frmStart::reject()
{
    // Escape and the close box: the same as the cancel command, unless the transfer runs.
    if (m_run.View().Closed) {
        QDialog::reject();
        return;
    }
    if (m_run.State() == RunState::Transferring)
        return;
    m_run.Cancel();
    ShowView();
}
