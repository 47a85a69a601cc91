// The measurement screen and the windows it opens, as real widgets (offscreen) pressed as
// the operator presses them, against a scripted logger: what the screen offers before and
// after the connection, Balance, Meas. No., Setting, Print and Main Menu.
#include "FakeLogger.h"
#include "LargeOffscreenScreen.h"
#include "Press.h"
#include "ScreenDay.h"
#include "ScriptedLink.h"
#include "WaitFor.h"
#include "printing/ResultReport.h"
#include "printing/gui/PrintOutput.h"
#include "screens/MeasurementScreen.h"
#include "screens/gui/frmInitial.h"
#include "screens/gui/frmList.h"
#include "screens/gui/frmMemoryCardData2.h"
#include "screens/gui/frmNo.h"
#include "shell/Twips.h"
#include "shell/gui/GridView.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace
{

// `count` cells from (row, col) rightwards, or downwards from the last row up.
QString Cells(GridModel& grid, int row, int col, int count, bool down = false)
{
    QStringList texts;
    for (int i = 0; i < count; ++i)
        texts << grid.Text(down ? row + i : row, down ? col : col + i);
    return texts.join('|');
}

class MeasurementWindow : public testing::Test, public ScreenDay<>
{
protected:
    void SetUp() override
    {
        context.Link = &link;
        link.Otherwise = [this](const QString& cmd) { return logger(cmd); };
        logger.Wide = {{"VS", "QL-860H"}, {"SEA?", "2"}, {"MDT", "+000010,+000020"}};
        logger.Words = {{47, "300"},   {48, "350"}, {51, "5000"},
                        {52, "10000"}, {53, "20"},  {54, "20000"}};
    }
    void TearDown() override { delete screen.data(); }
    bool Open(QPushButton* frmMemoryCardData2::*offered = &frmMemoryCardData2::cmdMeasure)
    {
        screen = new frmMemoryCardData2(context);
        screen->setAttribute(Qt::WA_DeleteOnClose); // as the main menu opens it
        screen->show();
        return WaitFor([&] { return (screen->*offered)->isVisible(); });
    }
    size_t Count(const QString& cmd) const
    {
        return std::count(link.Sent.begin(), link.Sent.end(), cmd);
    }

    FakeLogger logger;
    ScriptedLink link;
    QPointer<frmMemoryCardData2> screen;
};

TEST_F(MeasurementWindow, OffersMeasNoAndMainMenuThenTheRestForTheChannelsFound)
{
    const struct {
        int16_t Language, Debug;
        std::set<int> Channels;
        int Width;
        const char *LastHeadings, *LastNames, *Dia;
    } cases[] = {
        {1, 0, {1, 2}, 9350, "K-NWR|E-NWR", "Load P0|Acc. A0", "300"},
        {1, 0, {1, 2, 4, 6}, 12150, "Disp. D2|Disp. D4", "Acc. A2|Acc. A4", "300"},
        {0, 0, {1, 2}, 9350, "変位 D0|K-NWR|E-NWR", "荷重 P0|加速度 A0", "300"},
        {1, 1, {}, 12150, "Disp. D2|Disp. D4", "Acc. A0|Acc. A2|Acc. A4", "90"}, // no logger
    };
    for (const auto& c : cases) {
        PrepareContext(context, home, messages, clock, c.Language);
        context.G.DebugMode = c.Debug;
        logger.Present = c.Channels;
        link.Sent.clear();
        screen = new frmMemoryCardData2(context);
        screen->show();
        // The first look, before the connection check.
        for (QWidget* w : std::initializer_list<QWidget*>{screen->cmdInitial, screen->cmdMeasure,
                                                          screen->cmdSetting, screen->cmdPrint,
                                                          screen->lblDia, screen->MSFMonit})
            EXPECT_FALSE(w->isVisible()) << w->metaObject()->className();
        EXPECT_TRUE(screen->cmdNo->isVisible() && screen->cmdReturn->isVisible());
        EXPECT_EQ(screen->Interval.interval(), 100);
        ASSERT_TRUE(WaitFor([&] { return screen->cmdMeasure->isVisible(); })) << c.LastNames;
        EXPECT_TRUE(screen->cmdSetting->isVisible() && screen->cmdInitial->isVisible());
        EXPECT_FALSE(screen->cmdPrint->isVisible()); // nothing measured today
        EXPECT_EQ(screen->width(), TwipsToPixels(c.Width));
        const QString headings = QString::fromUtf8(c.LastHeadings),
                      names = QString::fromUtf8(c.LastNames);
        const int h = int(headings.count('|')) + 1, n = int(names.count('|')) + 1;
        GridModel &grid = screen->ResultGrid(), &monitor = screen->MonitorGrid();
        EXPECT_EQ(Cells(grid, 0, grid.Cols() - h, h), headings);
        EXPECT_EQ(Cells(monitor, monitor.Rows() - n, 0, n, true), names);
        EXPECT_EQ(screen->lblDia->text(), c.Dia);
        EXPECT_EQ(screen->Interval.isActive(), c.Debug == 0); // debug mode stays idle
        EXPECT_EQ(link.Sent.empty(), c.Debug == 1);
        delete screen.data();
    }
}

TEST_F(MeasurementWindow, BalanceAsksFirstAndMeasNoHidesTheScreen)
{
    ASSERT_TRUE(Open());
    const std::function<void(frmInitial*)> answers[] = {
        [](frmInitial* d) { Press(d->Command1[0]); },
        [](frmInitial* d) { d->close(); }, // the close box is no way to balance by accident
        [](frmInitial* d) { Press(d->Command1[1]); }};
    for (const auto& answer : answers) {
        WhenModalShown(answer);
        Press(screen->cmdInitial);
    }
    EXPECT_EQ(Count("BAL"), 1u);

    bool hidden = false;
    WhenModalShown<frmNo>([&](frmNo* d) {
        hidden = !screen->isVisible() && screen->Interval.isActive(); // the monitor goes on
        d->txtNo->setText("40000");
        Press(d->Command1[0]);
        EXPECT_TRUE(d->isVisible()); // the operator corrects the entry
        Press(d->Command1[1]);
    });
    Press(screen->cmdNo);
    EXPECT_TRUE(hidden && screen->isVisible());
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Text.En, "Inputed No. is out of range!");
}

TEST_F(MeasurementWindow, TodaysResultsThenSettingPrintAndMainMenu)
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "a printer is installed: Print would send paper to it";
    context.G.DebugMode = 1; // CH1, CH2, CH4 and CH6, no logger
    WriteTodaysResults();
    ASSERT_TRUE(Open(&frmMemoryCardData2::cmdPrint));
    GridModel& results = screen->ResultGrid();
    EXPECT_EQ(Cells(results, 2, 0, 2, true), "00004|00003");
    EXPECT_EQ(results.Text(3, 1), "05/01/2024 08:00:00");
    EXPECT_EQ(results.RowHeight(2), int(screen->HeaderRowHeight));

    QString shown;
    WhenModalShown<frmList>([&](frmList* list) {
        shown = QString::number(screen->isVisible()) + "|" + Cells(list->ListGrid(), 8, 0, 5);
        Press(list->Command1[0]);
    });
    Press(screen->cmdSetting);
    EXPECT_EQ(shown, "0|CH|1|2|4|6"); // the screen hidden meanwhile
    EXPECT_TRUE(screen->isVisible());

    results.SetSelection(2, 2, 2, 2); // one cell: the whole grid
    Press(screen->cmdPrint);
    EXPECT_TRUE(QFile::exists(home.UserFolder() + "Report_20240501_093015.pdf"));
    EXPECT_EQ(results.Row(), 3);
    EXPECT_EQ(results.Col(), results.Cols() - 1);

    link.Connect(true);
    Press(screen->cmdReturn);
    EXPECT_TRUE(WaitFor([&] { return screen.isNull(); }));
    EXPECT_FALSE(link.PortOpened());
}

TEST_F(MeasurementWindow, TheSettingsWindowShowsEveryRowPrintsAndReturns)
{
    context.Logger = SettingsWith({1, 2, 4});
    frmList list(context);
    list.show();
    EXPECT_EQ(list.windowTitle(), " Display Setting");
    EXPECT_TRUE(list.isModal());
    // Every row is in view, and titles too long for their column wrap, not cut.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    EXPECT_EQ(list.MSFList->verticalScrollBar()->maximum(), 0);
    const QFontMetrics metrics(list.MSFList->font());
    for (int r = 0; r < 16; ++r) {
        const bool wraps = metrics.horizontalAdvance(list.ListGrid().Text(r, 0)) >
                           list.MSFList->columnWidth(0) - 6;
        EXPECT_GE(list.MSFList->rowHeight(r) / metrics.lineSpacing(), wraps ? 2 : 1) << r;
    }
    // Without a printer the table becomes a PDF, and the window stays.
    list.Printing.PrinterInstalled = [] { return false; };
    Press(list.Command1[1]);
    EXPECT_TRUE(list.isVisible() &&
                QFile::exists(home.UserFolder() + "Settings_20240501_093015.pdf"));
    Press(list.Command1[0]);
    EXPECT_FALSE(list.isVisible());
    EXPECT_EQ(list.result(), QDialog::Accepted);
}

// The printer's way: the dialog cancelled prints nothing, and a printer or file that fails
// is reported whichever way the printout went.
TEST_F(MeasurementWindow, PrinterDialogAndFailures)
{
    GridModel grid;
    PutFixedHeadings(grid, 2, 1);
    int printouts = 0;
    const PrintOutput::Printout report = [&](PrintPage& page) {
        ++printouts;
        return PrintResults(page, grid, context.Logger, context.G, clock);
    };
    PrintOutput output(context);
    output.PrinterInstalled = [] { return true; };
    output.AskPrinter = [](QPrinter&) { return false; };
    EXPECT_EQ(output.PrintWithDialog("Report", report), PrintOutcome::Cancelled);
    EXPECT_EQ(printouts, 0);
    EXPECT_TRUE(messages.Shown.empty());

    output.AskPrinter = [](QPrinter&) { return true; };
    output.PreparePrinter = [&](QPrinter& printer) {
        printer.setOutputFileName(home.Path() + "/gone/printer.pdf");
    };
    EXPECT_EQ(output.PrintWithDialog("Report", report), PrintOutcome::Failed);
    EXPECT_EQ(output.Print("Report", report), PrintOutcome::Failed);
    // No printer, and a user folder below a plain file: the PDF cannot be saved either.
    home.WriteFile("blocker", "not a folder");
    context.UserFolder = home.Path() + "/blocker/VX-2968/";
    output.PrinterInstalled = [] { return false; };
    EXPECT_EQ(output.Print("Report", report), PrintOutcome::Failed);
    ASSERT_EQ(messages.Shown.size(), 3u);
    for (const auto& shown : messages.Shown)
        EXPECT_TRUE(shown.Title.En == "Print Error" ||
                    shown.Text.En.contains("could not be saved"));
    EXPECT_TRUE(output.LastPdfPath().isEmpty());
}

} // namespace
