// The measurement screen and the windows it opens, as real widgets (offscreen) pressed as
// the operator presses them, against a scripted logger: what the screen offers before and
// after the connection, Setting, Print and Main Menu.
#include "LargeOffscreenScreen.h"
#include "Press.h"
#include "ScreenDay.h"
#include "SimProcess.h"
#include "WaitFor.h"
#include "printing/ResultReport.h"
#include "printing/gui/PrintOutput.h"
#include "screens/MeasurementScreen.h"
#include "screens/gui/frmList.h"
#include "screens/gui/frmMemoryCardData2.h"
#include "serial/QSerialLink.h"
#include "shell/Twips.h"
#include "shell/gui/GridView.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
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
    void TearDown() override { delete screen.data(); }
    // The simulator on COM1 with `channels`, and the real line to it.
    void Connect(const char* channels)
    {
        sim = std::make_unique<SimProcess>();
        ASSERT_TRUE(sim->Start({"--com", "1", "--channels", channels, "--no-pace"}))
            << sim->ErrorText().toStdString();
        line = std::make_unique<QSerialLink>(context.Port, context.UserFolder, messages);
        context.Link = line.get();
    }
    bool Open(QPushButton* frmMemoryCardData2::*offered = &frmMemoryCardData2::cmdMeasure)
    {
        screen = new frmMemoryCardData2(context);
        screen->setAttribute(Qt::WA_DeleteOnClose); // as the main menu opens it
        screen->show();
        return WaitFor([&] { return (screen->*offered)->isVisible(); });
    }
    std::unique_ptr<SimProcess> sim;
    std::unique_ptr<QSerialLink> line;
    QPointer<frmMemoryCardData2> screen;
};

TEST_F(MeasurementWindow, OffersMeasNoAndMainMenuThenTheRestForTheChannelsFound)
{
    const struct {
        UiLanguage Language;
        int16_t Debug;
        const char* Channels;
        int Width;
        const char *LastHeadings, *LastNames, *Dia;
    } cases[] = {
        {UiLanguage::English, 0, "1,2", 9350, "K-NWR|E-NWR", "Load P0|Acc. A0", "300"},
        {UiLanguage::English, 0, "1,2,4,6", 12150, "Disp. D2|Disp. D4", "Acc. A2|Acc. A4", "300"},
        {UiLanguage::Japanese, 0, "1,2", 9350, "変位 D0|K-NWR|E-NWR", "荷重 P0|加速度 A0", "300"},
        // Debug mode: four channels of its own, and the logger left alone.
        {UiLanguage::English, 1, "1,2", 12150, "Disp. D2|Disp. D4", "Acc. A0|Acc. A2|Acc. A4",
         "90"},
    };
    for (const auto& c : cases) {
        PrepareContext(context, home, messages, clock, c.Language);
        context.G.DebugMode = c.Debug;
        Connect(c.Channels);
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
        EXPECT_EQ(sim->Commands().isEmpty(), c.Debug == 1);
        delete screen.data();
    }
}

TEST_F(MeasurementWindow, TodaysResultsThenSettingPrintAndMainMenu)
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "a printer is installed: Print would send paper to it";
    context.G.DebugMode = 1; // CH1, CH2, CH4 and CH6, no logger
    Connect("1,2");          // on the line, but left alone
    WriteTodaysResults();
    ASSERT_TRUE(Open(&frmMemoryCardData2::cmdPrint));
    GridModel& results = screen->ResultGrid();
    EXPECT_EQ(Cells(results, 2, 0, 2, true), "00004|00003");
    EXPECT_EQ(results.Text(3, 1), "05/01/2024 08:00:00");
    EXPECT_EQ(results.RowHeight(2), int(screen->HeaderRowHeight));

    QString shown;
    WhenModalShown<frmList>([&](frmList* list) {
        shown = QString::number(screen->isVisible()) + "|" + Cells(list->ListGrid(), 8, 0, 5);
        Press(list->BackButton());
    });
    Press(screen->cmdSetting);
    EXPECT_EQ(shown, "0|CH|1|2|4|6"); // the screen hidden meanwhile
    EXPECT_TRUE(screen->isVisible());

    results.SetSelection(2, 2, 2, 2); // one cell: the whole grid
    Press(screen->cmdPrint);
    EXPECT_TRUE(QFile::exists(home.UserFolder() + "Report_20240501_093015.pdf"));
    EXPECT_EQ(results.Row(), 3);
    EXPECT_EQ(results.Col(), results.Cols() - 1);

    line->Connect(true);
    Press(screen->cmdReturn);
    EXPECT_TRUE(WaitFor([&] { return screen.isNull(); }));
    EXPECT_FALSE(line->PortOpened());
}

// The printer's way: the dialog cancelled prints nothing, and a printer or file that fails
// is reported whichever way the printout went.
TEST_F(MeasurementWindow, PrinterDialogAndFailures)
{
    GridModel grid;
    PutFixedHeadings(grid, 2, UiLanguage::English);
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
