#include "frmMemoryCardData2.h"

#include "logger/BalanceAndMeasNo.h"
#include "logger/LiveMonitor.h"
#include "printing/ResultCopy.h"
#include "printing/ResultReport.h"
#include "printing/gui/PrintOutput.h"
#include "results/ResultGrid.h"
#include "results/ResultsContext.h"
#include "results/ResultsFile.h"
#include "screens/MeasurementCommands.h"
#include "screens/MeasurementLayout.h"
#include "screens/MeasurementScreen.h"
#include "screens/gui/PositionsIndicator.h"
#include "screens/gui/frmInitial.h"
#include "screens/gui/frmList.h"
#include "screens/gui/frmNo.h"
#include "screens/gui/frmStart.h"
#include "serial/PortSettings.h"
#include "shell/Twips.h"
#include "shell/gui/GridView.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <functional>

// The window's side of the connection check and monitor.
class frmMemoryCardData2::Screen : public MonitorScreen, public MeasurementWindow
{
public:
    explicit Screen(frmMemoryCardData2& window) : m_window(window) {}
    bool TimerActive() const override { return m_window.Interval.isActive(); }
    void StopTimer() override { m_window.Interval.stop(); }
    void StartTimer() override { m_window.Interval.start(); }
    void StartTimer(int intervalMs) override
    {
        m_window.Interval.setInterval(intervalMs);
        m_window.Interval.start();
    }
    void ShowPrint() override { m_window.cmdPrint->show(); }
    void Close() override { m_window.close(); }
    void ShowConnected() override
    {
        m_window.StatusLine()->setText(ConnectedStatusText().Pick(m_window.Context().G.UiLanguage));
        m_window.StatusLine()->repaint();
    }
    void CompleteScreen() override { m_window.CompleteScreen(); }
    void LeaveScreen() override { m_window.cmdReturn_Click(); }

private:
    frmMemoryCardData2& m_window;
};

namespace
{

void Place(QWidget* widget, const TwipsRect& r)
{
    widget->setGeometry(TwipsToPixels(r.Left), TwipsToPixels(r.Top), TwipsToPixels(r.Width),
                        TwipsToPixels(r.Height));
}

// The screen steps aside while one of its dialogs, made and run by `execDialog`, is open, and
// comes back after it. The monitor may leave the screen meanwhile (a lost logger), which
// destroys it: then false, and nothing of the screen may be touched any more.
bool ExecWhileHidden(QWidget* screen, const std::function<void()>& execDialog)
{
    screen->hide();
    const QPointer<QWidget> alive(screen);
    execDialog();
    if (!alive)
        return false;
    screen->show();
    return true;
}

void Caption(QWidget* widget, const QString& fontName, const CaptionAndFont& c)
{
    QFont font(fontName);
    font.setPointSizeF(c.Points);
    widget->setFont(font);
    if (auto* button = qobject_cast<QPushButton*>(widget))
        button->setText(c.Text);
    else if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(c.Text);
}

} // namespace

frmMemoryCardData2::frmMemoryCardData2(ResultsContext& context, QWidget* parent)
    : QWidget(parent), m_context(context), m_screen(std::make_unique<Screen>(*this)),
      m_commands(std::make_unique<MeasurementCommands>(context, m_resultGrid, *m_screen))
{
    CreateControls();
    m_windowWidthTwips = LoadWidthTwips;
    m_windowHeightTwips = LoadHeightTwips;
    SetCaptionsAndFonts();
    LoadTodaysResults();
    ReadPortSettingsAgain();
    ResetFontSpecs(m_context.G);
    PrepareTestDay(m_context);
    // The screen was laid out for a usual title bar: a taller one takes its extra twips.
    m_windowHeightTwips += m_context.G.CaptionHeightExtra;
    PlaceControls(m_windowWidthTwips, m_windowHeightTwips);
    ApplyOfferedCommands(false);

    m_monitor = std::make_unique<LiveMonitor>(m_context.Link, *m_context.Messages, m_context.G,
                                              m_context.Logger, m_monitorGrid, *m_screen);
    connect(&Interval, &QTimer::timeout, this, &frmMemoryCardData2::OnIntervalTick);
    MonitorMode = 0;
    Interval.setInterval(CheckIntervalMs);
    Interval.start();
}

frmMemoryCardData2::~frmMemoryCardData2() = default;

void frmMemoryCardData2::CreateControls()
{
    cmdSetting = new QPushButton(this);
    cmdPrint = new QPushButton(this);
    cmdNo = new QPushButton(this);
    cmdMeasure = new QPushButton(this);
    cmdInitial = new QPushButton(this);
    cmdReturn = new QPushButton(this);
    Label6 = new QLabel(this);
    Label2[0] = new QLabel(this);
    lblDia = new QLabel(this);
    Label2[1] = new QLabel(this);
    lblPoi = new QLabel(this);
    Label1 = new QLabel(this);
    lblDia->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblPoi->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    MSFData = new GridView(&m_resultGrid, this);
    MSFMonit = new GridView(&m_monitorGrid, this);
    lblPositions = new PositionsIndicator(m_context, this);
    // Titles and readings are cut at the cell's edge rather than shortened with dots.
    MSFData->setTextElideMode(Qt::ElideNone);
    MSFMonit->setTextElideMode(Qt::ElideNone);
    // The monitor is sized to hold its rows exactly; it never scrolls.
    MSFMonit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MSFMonit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MSFMonit->setFocusPolicy(Qt::NoFocus);
    MSFMonit->hide();

    connect(cmdNo, &QPushButton::clicked, this, &frmMemoryCardData2::cmdNo_Click);
    connect(cmdInitial, &QPushButton::clicked, this, &frmMemoryCardData2::cmdInitial_Click);
    connect(cmdMeasure, &QPushButton::clicked, this, &frmMemoryCardData2::cmdMeasure_Click);
    connect(cmdSetting, &QPushButton::clicked, this, &frmMemoryCardData2::cmdSetting_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmMemoryCardData2::cmdPrint_Click);
    connect(cmdReturn, &QPushButton::clicked, this, &frmMemoryCardData2::cmdReturn_Click);
    connect(MSFData, &GridView::KeyDown, this, &frmMemoryCardData2::MSFData_KeyDown);
}

void frmMemoryCardData2::SetCaptionsAndFonts()
{
    const Globals& g = m_context.G;
    const MeasurementCaptions c = CaptionsFor(
        g.UiLanguage, g.AppTitle, g.LargeFontSpec.Size > 0 ? g.LargeFontSpec.Size : 12.0);
    setWindowTitle(c.WindowTitle);
    QFont windowFont(g.UiFontName);
    if (c.WindowPoints > 0)
        windowFont.setPointSizeF(c.WindowPoints);
    setFont(windowFont);
    Caption(cmdNo, g.UiFontName, c.No);
    Caption(cmdInitial, g.UiFontName, c.Initial);
    Caption(cmdMeasure, g.UiFontName, c.Measure);
    Caption(cmdSetting, g.UiFontName, c.Setting);
    Caption(cmdPrint, g.UiFontName, c.Print);
    Caption(cmdReturn, g.UiFontName, c.Return);
    Caption(Label6, g.UiFontName, c.ResultCaption);
    Caption(Label2[0], g.UiFontName, c.DiameterCaption);
    Caption(lblDia, g.UiFontName, c.DiameterValue);
    Caption(Label2[1], g.UiFontName, c.RatioCaption);
    Caption(lblPoi, g.UiFontName, c.RatioValue);
    Caption(Label1, g.UiFontName, c.Status);
    lblPositions->SetCaptionFont(Label2[1]->font()); // the caption beside it
    m_resultGrid.SetFontName(g.UiFontName);
    m_resultGrid.SetFontSize(c.ResultGridPoints);
    m_monitorGrid.SetFontName(g.UiFontName);
    m_monitorGrid.SetFontSize(c.MonitorGridPoints);
}

void frmMemoryCardData2::ReadPortSettingsAgain()
{
    // The settings window may have changed fwd.rs since start-up.
    ReadPortSettings(m_context.Port, m_context.G.AppFolder);
}

void frmMemoryCardData2::PlaceControls(int w, int h)
{
    const int c = m_context.G.CaptionHeightExtra;
    const MeasurementPlaces p = PlaceMeasurementControls(w, h, c);
    resize(ClientSizeOfWindow(w, h, c));
    Place(Label6, p.ResultCaption);
    Place(MSFData, p.ResultGrid);
    Place(Label2[0], p.DiameterCaption);
    Place(lblDia, p.DiameterValue);
    Place(Label2[1], p.RatioCaption);
    Place(lblPoi, p.RatioValue);
    Place(Label1, p.Status);
    Place(lblPositions, p.Positions);
    Place(cmdSetting, p.Setting);
    Place(cmdPrint, p.Print);
    Place(cmdNo, p.No);
    Place(cmdMeasure, p.Measure);
    Place(cmdInitial, p.Initial);
    Place(cmdReturn, p.Return);
    MSFMonit->move(TwipsToPixels(p.Monitor.Left), TwipsToPixels(p.Monitor.Top));
}

void frmMemoryCardData2::ApplyOfferedCommands(bool connected)
{
    const OfferedCommands o = CommandsOffered(connected, m_context.Results.ResultCount);
    cmdNo->setVisible(o.No);
    cmdInitial->setVisible(o.Initial);
    cmdMeasure->setVisible(o.Measure);
    cmdSetting->setVisible(o.Setting);
    cmdPrint->setVisible(o.Print);
    cmdReturn->setVisible(o.Return);
    for (QWidget* w : std::initializer_list<QWidget*>{Label6, Label2[0], Label2[1], lblDia, lblPoi})
        w->setVisible(connected);
}

void frmMemoryCardData2::SetupResultGrid()
{
    const LoggerSettings& s = m_context.Logger;
    PutFixedHeadings(m_resultGrid, s.ChannelCount, m_context.G.UiLanguage);
    ArrangeMeasurementScreen();
    m_resultGrid.SetRowHeight(0, int(HeaderRowHeight));
    m_resultGrid.SetRowHeight(1, int(HeaderRowHeight));
    PutChannelHeadings(m_resultGrid, s, m_context.G.UiLanguage);
    MSFData->resize(TwipsToPixels(m_windowWidthTwips - 250), MSFData->height());
}

void frmMemoryCardData2::ArrangeMeasurementScreen()
{
    const QScreen* display = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect area = display ? display->availableGeometry() : QRect(0, 0, 1280, 1024);
    const MeasurementArrangement a = ArrangeMeasurement(
        PixelsToTwips(area.width()), PixelsToTwips(area.height()), m_windowWidthTwips,
        m_windowHeightTwips, m_context.Logger.ChannelCount, m_context.G.CaptionHeightExtra);
    m_windowWidthTwips = a.WindowWidth;
    m_windowHeightTwips = a.WindowHeight;
    HeaderRowHeight = a.HeaderRowHeight;
    PlaceControls(a.WindowWidth, a.WindowHeight);
    move(area.left() + TwipsToPixels(a.WindowLeft), y());
    cmdSetting->hide();
    cmdMeasure->hide();
    cmdInitial->hide();
    cmdPrint->hide();
    cmdNo->show();
    for (QWidget* w : std::initializer_list<QWidget*>{Label6, Label2[0], Label2[1], lblDia, lblPoi})
        w->hide();
}

void frmMemoryCardData2::CompleteScreen()
{
    const LoggerSettings& s = m_context.Logger;
    SetupResultGrid();
    StatusLine()->clear();
    ApplyOfferedCommands(true);
    lblDia->setText(DiameterText(s));
    lblPoi->setText(RatioText(s));
    BuildMonitorGrid();
    if (m_context.G.DebugMode == 1)
        m_resultGrid.SetRows(m_context.Results.ResultCount + 2);
    FillResultGridIfAny();
}

void frmMemoryCardData2::BuildMonitorGrid()
{
    const LoggerSettings& s = m_context.Logger;
    PutMonitorNames(m_monitorGrid, s, m_context.G.UiLanguage);
    const MonitorGeometry g =
        MonitorGridGeometry(m_windowHeightTwips, m_context.G.CaptionHeightExtra,
                            m_monitorGrid.Rows(), PixelsToTwips(MSFMonit->x()));
    for (int r = 0; r < m_monitorGrid.Rows(); ++r)
        m_monitorGrid.SetRowHeight(r, g.RowHeight);
    Place(MSFMonit, g.Grid);
    MSFMonit->show();
}

void frmMemoryCardData2::OnIntervalTick()
{
    m_commands->Tick([this] { m_monitor->Tick(MonitorMode); });
}

void frmMemoryCardData2::cmdReturn_Click()
{
    close();
}

void frmMemoryCardData2::closeEvent(QCloseEvent* event)
{
    if (m_commands->MayClose())
        event->accept();
    else
        event->ignore();
}

void frmMemoryCardData2::LoadTodaysResults()
{
    ::LoadTodaysResults(m_context);
}

void frmMemoryCardData2::FillResultGridIfAny()
{
    if (m_context.Results.ResultCount > 0)
        FillResultGrid(m_resultGrid, m_context.Results, m_context.Logger, int(HeaderRowHeight));
}

void frmMemoryCardData2::cmdMeasure_Click()
{
    const auto run = [this]() -> std::optional<RunResult> {
        ResultsContext& context = m_context;
        RunResult result;
        if (!ExecWhileHidden(this, [&context, &result] {
                frmStart form(context);
                form.exec();
                result = form.Result();
            }))
            return std::nullopt;
        return result;
    };
    m_commands->Measure(run, int(HeaderRowHeight));
}

void frmMemoryCardData2::cmdInitial_Click()
{
    // The monitor keeps polling while the question is open and may leave the screen: the
    // confirmation holds on to the context, not to the screen.
    ResultsContext& context = m_context;
    Balance(context, [&context] { return frmInitial::Ask(context, nullptr); });
}

void frmMemoryCardData2::cmdNo_Click()
{
    ResultsContext& context = m_context;
    ExecWhileHidden(this, [&context] {
        // Not a child of the screen: the monitor may leave the screen while it is open.
        frmNo dialog(context);
        dialog.exec();
    });
}

void frmMemoryCardData2::cmdSetting_Click()
{
    m_commands->Paused([this] {
        ResultsContext& context = m_context;
        return ExecWhileHidden(this, [&context] {
            frmList list(context);
            list.exec();
        });
    });
}

namespace
{

// The report of the results grid's selection, for either way of printing it.
PrintOutput::Printout ResultReportOf(ResultsContext& context, GridModel& grid)
{
    return [&context, &grid](PrintPage& page) {
        const SystemClock systemClock;
        const Clock& clock = context.Time ? *context.Time : static_cast<const Clock&>(systemClock);
        return PrintResults(page, grid, context.Logger, context.G, clock);
    };
}

} // namespace

void frmMemoryCardData2::cmdPrint_Click()
{
    m_commands->Paused([this] {
        PrintOutput(m_context, this)
            .Print(QStringLiteral("Report"), ResultReportOf(m_context, ResultGrid()));
        return true;
    });
}

void frmMemoryCardData2::MSFData_KeyDown(int key, Qt::KeyboardModifiers)
{
    // The key alone decides: Shift, Ctrl and Alt make no difference.
    if (key == Qt::Key_C && m_context.Clipboard) {
        CopyResults(*m_context.Clipboard, ResultGrid(), m_context.Logger, m_context.G,
                    m_context.DailyFile);
    } else if (key == Qt::Key_P) {
        // Printing from the key leaves the monitor running.
        PrintOutput(m_context, this)
            .PrintWithDialog(QStringLiteral("Report"), ResultReportOf(m_context, ResultGrid()));
    }
}
