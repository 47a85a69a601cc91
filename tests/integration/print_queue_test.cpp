// Printing through a real print queue: a private cupsd with cups-pdf queues, reached by
// Qt's printer support as any printer is. A report of ten results goes through QPrinter to
// the queue, and the PDF that CUPS wrote is read back with a ruler.
#include "../printing/PdfTools.h"

#include "Press.h"
#include "PrivateCups.h"
#include "TestContext.h"
#include "WaitFor.h"
#include "screens/gui/frmList.h"
#include "screens/gui/frmMemoryCardData2.h"
#include "shell/gui/GridView.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QPrintDialog>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace pdftools;

namespace
{

// Ten results of the day, numbered 00001 to 00010.
void WriteTenResults(const QString& path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Dia=300,Poi=0.350\r\nheading\r\n");
    for (int i = 1; i <= 10; ++i)
        f.write(QStringLiteral("%1,2024/05/01 08:%2:00,30000,1.000,300,60,0.500,0.250,,,,BO\r\n")
                    .arg(i, 5, 10, QLatin1Char('0'))
                    .arg(i, 2, 10, QLatin1Char('0'))
                    .toLatin1());
}

// Where a word of a printed page stands, in millimetres from the sheet's top-left corner.
struct Placed {
    const char* Text;
    double XMm, YMm;
};

void ExpectPlaced(const QString& pdf, std::initializer_list<Placed> placed)
{
    const auto words = WordsOf(pdf);
    for (const Placed& p : placed) {
        const Word* w = Find(words, p.Text);
        ASSERT_NE(w, nullptr) << p.Text << " in " << pdf.toStdString();
        EXPECT_NEAR(w->XMin, p.XMm * PointsPerMm, 1.5) << p.Text;
        EXPECT_NEAR(w->YMin, p.YMm * PointsPerMm, 2.0) << p.Text;
    }
}

// The report's title line, then the table from 125 mm: grid row r at 125 + 5 r, the newest
// result first.
const std::initializer_list<Placed> TenResultReport = {
    {"VX-2968", 10, 8}, {"00010", 20.5, 135}, {"00001", 20.5, 180}};

TEST(PrintQueue, PagesGoThroughCupsToTheChosenQueueAndToAPdfFileOnlyWithoutOne)
{
    const QString unavailable = PrivateCups::Unavailable();
    if (!unavailable.isEmpty())
        GTEST_SKIP() << "no private print server here: " << unavailable.toStdString();
    PrivateCups cups; // from here on this process sees only the private server

    TempHome home;
    RecordingMessages messages;
    FixedClock clock{QDateTime(QDate(2024, 5, 1), QTime(9, 30, 15))};
    MemoryClipboard clipboard;
    ResultsContext context;
    PrepareContext(context, home, messages, clock);
    context.Clipboard = &clipboard;
    context.G.DebugMode = 1; // four channels, no logger
    WriteTenResults(context.G.DataFolder + "20240501.csv");

    auto screen = std::make_unique<frmMemoryCardData2>(context);
    screen->setAttribute(Qt::WA_DeleteOnClose, false);
    screen->show();
    ASSERT_TRUE(WaitFor([&] { return screen->cmdPrint->isVisible(); }));
    // No queue: the settings page (Setting, then Print, then back) is saved in the user
    // folder and the message says where.
    WhenModalShown<frmList>([&](frmList* list) {
        Press(list->PrintButton());
        Press(list->BackButton());
    });
    Press(screen->cmdSetting);
    const QString saved = home.UserFolder() + "Settings_20240501_093015.pdf";
    EXPECT_TRUE(QFile::exists(saved));
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_TRUE(messages.Shown[0].Text.En.contains(saved));

    // Two queues, A the default.
    ASSERT_TRUE(cups.Start()) << cups.ErrorText().toStdString();
    ASSERT_TRUE(cups.AddPdfQueue("A", true)) << cups.ErrorText().toStdString();
    ASSERT_TRUE(cups.AddPdfQueue("B", false)) << cups.ErrorText().toStdString();
    messages.Shown.clear();

    // The report of ten results with the P key: queue B chosen in the printer dialog.
    screen->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(screen.get()));
    screen->MSFData->setFocus();
    QString offered;
    WhenModalShown<QPrintDialog>([&](QPrintDialog* dialog) {
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
        auto* printers = dialog->findChild<QComboBox*>("printers");
        ASSERT_NE(printers, nullptr);
        offered = printers->currentText();
        printers->setFocus();
        for (int i = 0; i < printers->count() && printers->currentText() != cups.QueueName("B");
             ++i)
            TypeKey(Qt::Key_Down);
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        ASSERT_NE(buttons, nullptr);
        Press(buttons->button(QDialogButtonBox::Ok));
    });
    TypeKey(Qt::Key_P);
    EXPECT_EQ(offered, cups.QueueName("A")); // the dialog opens on the default
    const QString reportOnB = cups.WaitForPdf("B", 1);
    ASSERT_FALSE(reportOnB.isEmpty()) << cups.ErrorText().toStdString();
    ExpectPlaced(reportOnB, TenResultReport);

    // Later printouts go where the dialog sent the report.
    Press(screen->cmdPrint);
    ExpectPlaced(cups.WaitForPdf("B", 2), TenResultReport);
    EXPECT_EQ(cups.PdfCount("A"), 0);
    EXPECT_TRUE(messages.Shown.empty()); // printed: no word of a PDF file
}

} // namespace
