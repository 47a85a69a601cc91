// Printing as the operator meets it: the printer or PDF output of the report and its
// failures, the printer dialog, and the measurement screen's Print button, P key and
// Setting button (offscreen, debug mode, a results file of the day).
#include "../printing/PdfTools.h"
#include "../printing/PrintFixtures.h"
#include "Press.h"

#include "TempHome.h"
#include "WaitFor.h"
#include "printing/ResultReport.h"
#include "printing/gui/PrintOutput.h"
#include "screens/gui/frmList.h"
#include "screens/gui/frmMemoryCardData2.h"
#include "shell/AppContext.h"
#include "shell/Startup.h"
#include "shell/gui/GridView.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPointer>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <gtest/gtest.h>

using namespace fixtures;
using namespace pdftools;

namespace
{

// Page 1 of `pdf` rendered by pdftoppm at 25.4 pixels per inch: one pixel a millimetre.
QImage Rendered(const QString& pdf, const QString& stem)
{
    RunTool("pdftoppm", {"-r", "25.4", "-png", "-f", "1", "-l", "1", "-singlefile", pdf, stem});
    return QImage(stem + ".png");
}

bool HasInk(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom() && y < image.height(); ++y)
        for (int x = area.left(); x <= area.right() && x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                return true;
    return false;
}

class Printouts : public testing::Test
{
protected:
    void SetUp() override
    {
        context.G = GlobalsIn(English);
        ResetFontSpecs(context.G);
        context.G.AppFolder = home.Path() + "/";
        context.UserFolder = home.UserFolder();
        QDir().mkpath(context.UserFolder);
        context.G.DataFolder = MakeDataFolder(context.UserFolder);
        context.Logger = SettingsWith({1, 2, 4, 6});
        context.Messages = &messages;
        context.Time = &clock;
        context.Clipboard = &clipboard;
        FillResultGrid(grid, 8, 4);
    }
    PrintOutput::Printout Report()
    {
        return [this](PrintPage& page) {
            ++printouts;
            return PrintResults(page, grid, context.Logger, context.G, clock);
        };
    }

    TempHome home;
    AppContext context;
    RecordingMessages messages;
    MemoryClipboard clipboard;
    FixedClock clock{QDateTime(QDate(2024, 5, 1), QTime(9, 30, 15))};
    GridModel grid;
    int printouts = 0;
};

// ---- Output ------------------------------------------------------------------------------

TEST_F(Printouts, WithoutPrinterTheReportIsAPdfInTheUserFolderAndRendersOnItsPlaces)
{
    PrintOutput output(context);
    output.PrinterInstalled = [] { return false; };
    grid.SetSelection(0, 0, 0, 0);
    ASSERT_EQ(output.Print("Report", Report()), PrintOutcome::SavedAsPdf);
    const QString pdf = home.UserFolder() + "Report_20240501_093015.pdf";
    EXPECT_EQ(output.LastPdfPath(), pdf);
    ASSERT_TRUE(QFile::exists(pdf));
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Icon, MessageIcon::Information);
    EXPECT_TRUE(messages.Shown[0].Text.En.contains(pdf));
    EXPECT_TRUE(messages.Shown[0].Text.Ja.contains(pdf));

    // A millimetre a pixel: the title line, the amp table's boxes from 79 mm, the result
    // rows from 124 to 154 mm (six rows), and a blank sheet below them.
    const QImage page = Rendered(pdf, home.Path() + "/report");
    ASSERT_FALSE(page.isNull());
    EXPECT_EQ(page.width(), 210);
    EXPECT_NEAR(page.height(), 297, 1); // pdftoppm rounds the sheet's 841.89 points up
    EXPECT_TRUE(HasInk(page, QRect(10, 6, 60, 4)));
    EXPECT_TRUE(HasInk(page, QRect(18, 78, 2, 2)));
    EXPECT_TRUE(HasInk(page, QRect(20, 124, 150, 31)));
    EXPECT_FALSE(HasInk(page, QRect(0, 157, 210, 140)));
    EXPECT_FALSE(HasInk(page, QRect(0, 0, 8, 297))); // nothing left of the margin
}

TEST_F(Printouts, TheDialogCancelledPrintsNothingAndTheChosenPrinterGetsThePage)
{
    const QString file = home.Path() + "/printer.pdf";
    bool confirm = false;
    PrintOutput output(context);
    output.PrinterInstalled = [] { return true; };
    output.AskPrinter = [&](QPrinter& printer) {
        printer.setOutputFileName(file); // the chosen printer writes into a file
        return confirm;
    };
    grid.SetSelection(4, 3, 2, 1);
    EXPECT_EQ(output.PrintWithDialog("Report", Report()), PrintOutcome::Cancelled);
    EXPECT_EQ(printouts, 0);
    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_EQ(std::vector<int>({grid.Row(), grid.Col(), grid.RowSel(), grid.ColSel()}),
              std::vector<int>({4, 3, 2, 1}));

    // Confirmed: the real printer page puts texts where the PDF page does.
    confirm = true;
    grid.SetSelection(0, 0, 0, 0);
    ASSERT_EQ(output.PrintWithDialog("Report", Report()), PrintOutcome::Printed);
    EXPECT_TRUE(messages.Shown.empty());
    const auto words = WordsOf(file);
    const Word* sampling = Find(words, "Sampling");
    const Word* title = Find(words, "VX-2968");
    ASSERT_TRUE(sampling && title);
    EXPECT_NEAR(sampling->XMin, 20 * PointsPerMm, 1.0);
    EXPECT_NEAR(sampling->YMin, 25 * PointsPerMm, 1.5);
    EXPECT_NEAR(title->XMin, 10 * PointsPerMm, 1.0);
    EXPECT_NEAR(title->YMin, 8 * PointsPerMm, 1.5);
    EXPECT_EQ(PageSize(file), "595 x 842"); // 8 columns: portrait
}

TEST_F(Printouts, APrinterOrFileThatFailsIsReportedOnEveryPath)
{
    const auto failingPrinter = [&](PrintOutput& output) {
        output.PrinterInstalled = [] { return true; };
        output.AskPrinter = [](QPrinter&) { return true; };
        output.PreparePrinter = [&](QPrinter& printer) {
            printer.setOutputFileName(home.Path() + "/gone/printer.pdf");
        };
    };
    for (bool withDialog : {false, true}) {
        messages.Shown.clear();
        PrintOutput output(context);
        failingPrinter(output);
        const PrintOutcome outcome = withDialog ? output.PrintWithDialog("Report", Report())
                                                : output.Print("Report", Report());
        EXPECT_EQ(outcome, PrintOutcome::Failed) << withDialog;
        ASSERT_EQ(messages.Shown.size(), 1u) << withDialog;
        EXPECT_EQ(messages.Shown[0].Title.En, "Print Error");
        EXPECT_EQ(messages.Shown[0].Title.Ja, QString::fromUtf8("印刷エラー"));
    }
    // No printer, and a user folder below a plain file: the PDF cannot be saved either.
    messages.Shown.clear();
    home.WriteFile("blocker", "not a folder");
    context.UserFolder = home.Path() + "/blocker/VX-2968/";
    PrintOutput output(context);
    output.PrinterInstalled = [] { return false; };
    EXPECT_EQ(output.Print("Report", Report()), PrintOutcome::Failed);
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Icon, MessageIcon::Exclamation);
    EXPECT_TRUE(messages.Shown[0].Text.En.contains("could not be saved"));
    EXPECT_TRUE(output.LastPdfPath().isEmpty());
}

// ---- The measurement screen --------------------------------------------------------------

class ScreenPrintouts : public Printouts
{
protected:
    void SetUp() override
    {
        Printouts::SetUp();
        context.G.DebugMode = 1; // four channels, no logger
        QFile f(context.G.DataFolder + "20240501.csv");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Dia=300,Poi=0.350\r\nheading\r\n"
                "00003,2024/05/01 08:00:00,30000,1.000,300,60,0.500,0.250,,,,BO\r\n"
                "00004,2024/05/01 08:10:00,20000,0.500,566,117,0.400,0.200,,,,BO\r\n");
    }
    void TearDown() override { delete screen.data(); }
    bool OpenConnected()
    {
        screen = new frmMemoryCardData2(context);
        screen->show();
        return WaitFor([&] { return screen->cmdPrint->isVisible(); });
    }
    // The tests that print through the screen's own output need a machine without printer,
    // or they would send paper to it.
    static bool PrinterPresent() { return !QPrinterInfo::defaultPrinter().isNull(); }

    QPointer<frmMemoryCardData2> screen;
};

TEST_F(ScreenPrintouts, PrintButtonSavesTheWholeGridAndEndsOnItsLastCell)
{
    if (PrinterPresent())
        GTEST_SKIP() << "a printer is installed";
    ASSERT_TRUE(OpenConnected());
    GridModel& results = screen->ResultGrid();
    ASSERT_EQ(results.Rows(), 4);
    results.SetSelection(2, 2, 2, 2);
    Press(screen->cmdPrint);
    const QString pdf = home.UserFolder() + "Report_20240501_093015.pdf";
    ASSERT_TRUE(QFile::exists(pdf));
    const QString text = RunTool("pdftotext", {"-layout", pdf, "-"});
    EXPECT_TRUE(text.contains("00004")) << text.toStdString();
    EXPECT_TRUE(text.contains("Disp. D4"));
    EXPECT_EQ(results.Row(), 3);
    EXPECT_EQ(results.Col(), results.Cols() - 1);
    EXPECT_FALSE(screen->Interval.isActive()); // debug mode's idle timer stays idle
}

TEST_F(ScreenPrintouts, PKeyPrintsTheSelectionWithAnyModifier)
{
    if (PrinterPresent())
        GTEST_SKIP() << "a printer is installed";
    ASSERT_TRUE(OpenConnected());
    GridModel& results = screen->ResultGrid();
    int n = 0;
    for (Qt::KeyboardModifiers modifiers :
         {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::ControlModifier)}) {
        results.SetSelection(3, 0, 2, 5); // rows 2 and 3, made upwards
        FocusOn(screen->MSFData);
        TypeKey(Qt::Key_P, modifiers);
        const QString pdf = home.UserFolder() + "Report_20240501_093015" +
                            (n++ ? QString("_2") : QString()) + ".pdf";
        ASSERT_TRUE(QFile::exists(pdf)) << pdf.toStdString();
        const QString text = RunTool("pdftotext", {pdf, "-"});
        EXPECT_TRUE(text.contains("00003"));
        EXPECT_FALSE(text.contains("K-NWR")); // the heading rows are not in the range
        EXPECT_EQ(results.Row(), 3);
        EXPECT_EQ(results.RowSel(), 2);
        EXPECT_EQ(results.ColSel(), 5);
    }
}

TEST_F(ScreenPrintouts, SettingButtonShowsTheSettingsWhileTheScreenIsHidden)
{
    ASSERT_TRUE(OpenConnected());
    bool hidden = false;
    QString rows;
    WhenModalShown<frmList>([&](frmList* list) {
        hidden = !screen->isVisible();
        rows = list->ListGrid().Text(8, 0) + list->ListGrid().Text(8, 4);
        Press(list->Command1[0]);
    });
    Press(screen->cmdSetting);
    EXPECT_TRUE(hidden);
    EXPECT_EQ(rows, "CH6"); // CH1, CH2, CH4 and CH6: the fourth channel column is CH6
    EXPECT_TRUE(screen->isVisible());
}

} // namespace
