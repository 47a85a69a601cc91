// The run form, the balance confirmation, the number dialog and the measurement screen's
// handlers as real widgets (offscreen), against a scripted logger.
#include "../logger/FakeLogger.h"
#include "Press.h"
#include "ScriptedLink.h"
#include "TempHome.h"
#include "WaitFor.h"
#include "results/ResultsFile.h"
#include "screens/gui/frmInitial.h"
#include "screens/gui/frmMemoryCardData2.h"
#include "screens/gui/frmNo.h"
#include "screens/gui/frmStart.h"
#include "shell/AppContext.h"
#include "shell/Startup.h"
#include "shell/gui/GridView.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <gtest/gtest.h>

#include "TestContext.h"

namespace
{

class RunWindows : public testing::Test
{
protected:
    void SetUp() override
    {
        PrepareContext(context, home, messages, clock);
        // What the connection check reads, for the forms opened on their own.
        context.Logger.RecordLength = 800;
        context.Logger.TriggerChannel = 1;
        context.Logger.Channel[1].TriggerLevel = 400;
        context.Link = &link;
        link.Otherwise = [this](const QString& cmd) { return logger(cmd); };
        logger.Wide = {{"VS", "QL-860H FW Ver 2.1A"},
                       {"SEA?", "2"},
                       {"MDT", "+000010,+000020"},
                       {"MNO?", "5,5"},
                       {"EOC", "800,800"},
                       {"ANS?", "30000,1000"}};
        logger.Words = {{47, "300"}, {48, "350"},   {51, "5000"}, {52, "10000"},
                        {53, "20"},  {54, "20000"}, {57, "1"}};
        logger.PerChannel[1]["MNO?"] = "5";
        logger.PerChannel[2]["MNO?"] = "5";
        logger.PerChannel[1]["MRY?"] = "800";
    }

    QPointer<frmMemoryCardData2> OpenConnected()
    {
        auto* screen = new frmMemoryCardData2(context);
        screen->setAttribute(Qt::WA_DeleteOnClose);
        screen->show();
        EXPECT_TRUE(WaitFor([&] { return screen->cmdMeasure->isVisible(); }));
        return screen;
    }
    QString TodaysFile() const { return context.G.DataFolder + "20240501.csv"; }
    QByteArray FileBytes() const
    {
        QFile f(TodaysFile());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    size_t Count(const QString& cmd) const
    {
        return std::count(link.Sent.begin(), link.Sent.end(), cmd);
    }

    TempHome home;
    AppContext context;
    FakeLogger logger;
    ScriptedLink link;
    RecordingMessages messages;
    FixedClock clock{QDateTime(QDate(2024, 5, 1), QTime(9, 30, 15))};
};

TEST_F(RunWindows, StartMeasuresStoresAndShowsTheResult)
{
    auto screen = OpenConnected();
    ASSERT_TRUE(screen);
    EXPECT_FALSE(screen->cmdPrint->isVisible()); // no file today yet
    context.Logger.MeasNo = 5;
    Press(screen->cmdMeasure); // the run form arms, sees 100 % and transfers by itself
    ASSERT_TRUE(screen);
    EXPECT_TRUE(screen->isVisible());
    EXPECT_TRUE(screen->cmdPrint->isVisible());
    EXPECT_TRUE(screen->Interval.isActive());
    GridModel& grid = screen->ResultGrid();
    ASSERT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.Text(2, 0), "00005");
    EXPECT_EQ(grid.Text(2, 1), "05/01/2024 09:30:15");
    EXPECT_EQ(grid.Text(2, 2), "30000");
    EXPECT_EQ(grid.Text(2, 3), "1.000");
    EXPECT_EQ(grid.Text(2, 4), "424");
    EXPECT_EQ(grid.Text(2, 5), "88"); // SEA? 2: Boussinesq
    EXPECT_EQ(FileBytes(),
              "Dia=300,Poi=0.350\r\n"
              "No,Date Time,Load P0(N),Disp. D0(mm),K-NWR(MN/m3),E-NWR(MN/m2),,,,,,E-CalcType\r\n"
              "00005,05/01/2024 09:30:15,30000,1.000,424,88,,,,,,BO\r\n");
    EXPECT_EQ(context.Logger.MeasNo, 6);
    EXPECT_EQ(Count("MNO6"), 2u); // every channel up to MaxChannel
    EXPECT_TRUE(messages.Shown.empty());
    screen->close();
}

TEST_F(RunWindows, TheCloseBoxOfTheRunFormCancelsToo)
{
    logger.Wide["EOC"] = "0,0";
    auto screen = OpenConnected();
    WhenModalShown<frmStart>([&](frmStart* form) {
        EXPECT_TRUE(WaitFor([&] { return form->Run().Armed(); }));
        form->close();
    });
    Press(screen->cmdMeasure);
    EXPECT_EQ(context.MeasurementDone, 0);
    EXPECT_EQ(context.Results.ResultCount, 0);
    screen->close();
}

TEST_F(RunWindows, ALoggerLostDuringTheRunLeavesTheScreen)
{
    auto screen = OpenConnected();
    WhenModalShown<frmStart>([&](frmStart*) { link.Silent("EOC"); });
    Press(screen->cmdMeasure);
    EXPECT_TRUE(WaitFor([&] { return screen.isNull(); }));
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Title.En, "RS-232C ERROR");
    EXPECT_FALSE(link.PortOpened());
}

TEST_F(RunWindows, TheRunFormShowsItsStatesInBothLanguages)
{
    for (int16_t lang : {int16_t(0), int16_t(1)}) {
        context.G.UiLanguage = lang;
        logger.Wide["EOC"] = "200,200";
        frmStart form(context);
        form.show();
        EXPECT_EQ(form.lblFileNo->text(), "5");
        EXPECT_FALSE(form.cmdStart->isVisible());
        EXPECT_EQ(form.cmdCancel->text(), lang == 0 ? QString::fromUtf8("計測モニタ") : "Measure");
        EXPECT_EQ(form.Label1->text(),
                  lang == 0 ? QString::fromUtf8("ファイルナンバ") : "File No.");
        EXPECT_TRUE(form.Interval.isActive());
        EXPECT_EQ(form.Interval.interval(), 500);
        ASSERT_TRUE(WaitFor([&] { return form.pbMeasure->value() == 25; }));
        EXPECT_EQ(form.pbDataTrans->value(), 0);
        Press(form.cmdCancel);
        EXPECT_FALSE(form.isVisible());
    }
}

TEST_F(RunWindows, DebugModeOffersOnlyCancel)
{
    context.G.DebugMode = 1;
    frmStart form(context);
    form.show();
    EXPECT_EQ(form.lblFileNo->text(), "200");
    EXPECT_EQ(form.lblStatus->text(), "Debug mode");
    EXPECT_FALSE(form.cmdStart->isVisible());
    EXPECT_TRUE(form.cmdCancel->isVisible());
    EXPECT_FALSE(form.Interval.isActive());
    EXPECT_TRUE(link.Sent.empty());
}

TEST_F(RunWindows, AnErrorReplyToTheNumberOffersStart)
{
    logger.Wide["MNO?"] = "ERR-001";
    logger.Wide["EOC"] = "0,0";
    frmStart form(context);
    form.show();
    EXPECT_TRUE(form.cmdStart->isVisible());
    EXPECT_FALSE(form.Interval.isActive());
    Press(form.cmdStart);
    EXPECT_FALSE(form.cmdStart->isVisible());
    EXPECT_TRUE(form.Interval.isActive());
    EXPECT_EQ(Count("DTG"), 1u);
    Press(form.cmdCancel);
}

TEST_F(RunWindows, BalanceAsksFirstAndCancelSendsNothing)
{
    auto screen = OpenConnected();
    link.Sent.clear();
    WhenModalShown<frmInitial>([](frmInitial* d) { Press(d->Command1[0]); });
    Press(screen->cmdInitial);
    EXPECT_EQ(Count("BAL"), 0u);
    WhenModalShown<frmInitial>([](frmInitial* d) { d->close(); });
    Press(screen->cmdInitial);
    EXPECT_EQ(Count("BAL"), 0u); // the close box is no way to balance by accident
    WhenModalShown<frmInitial>([](frmInitial* d) {
        EXPECT_EQ(d->windowTitle(), "Balancing");
        EXPECT_EQ(d->Label1->text(), "Balancing?");
        EXPECT_EQ(d->Command1[1]->text(), "OK");
        Press(d->Command1[1]);
    });
    Press(screen->cmdInitial);
    EXPECT_EQ(Count("BAL"), 1u);
    screen->close();
}

TEST_F(RunWindows, TheNumberDialogProposesCorrectsAndApplies)
{
    context.Logger.Channel[1].Active = true;
    context.Logger.Channel[2].Active = true;
    context.Logger.Channel[4].Active = true;
    logger.Wide["MNO?"] = "25";
    frmNo dialog(context);
    EXPECT_EQ(dialog.txtNo->text(), "25");
    EXPECT_EQ(dialog.txtNo->selectedText(), "25");
    EXPECT_EQ(dialog.txtNo->maxLength(), 5);
    dialog.show();

    dialog.txtNo->setText("40000");
    Press(dialog.Command1[0]);
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Text.En, "Inputed No. is out of range!");
    EXPECT_TRUE(dialog.isVisible()); // the operator corrects the entry

    link.Sent.clear();
    dialog.txtNo->setText(" 12 ");
    Press(dialog.Command1[0]);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(context.Logger.MeasNo, 12);
    EXPECT_EQ(link.Sent,
              (std::vector<QString>{"RES", "SET1", "MNO12", "RES", "SET2", "MNO12", "RES", "SET4",
                                    "MNO12", "RES", "SET1", "SET2", "SET4"}));
}

TEST_F(RunWindows, TheNumberDialogInJapaneseAndInDebugMode)
{
    context.G.UiLanguage = 0;
    InitGlobalValues(context.G);
    context.G.DebugMode = 1;
    frmNo dialog(context);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("計測No. 変更"));
    EXPECT_EQ(dialog.Label1[1]->text(), QString::fromUtf8("0～32767"));
    EXPECT_EQ(dialog.Command1[0]->text(), QString::fromUtf8("設定"));
    EXPECT_EQ(dialog.Command1[1]->font().pointSizeF(), 12.0);
    EXPECT_EQ(dialog.Command1[0]->font().pointSizeF(), 14.0);
    EXPECT_EQ(dialog.txtNo->text(), "1000");
    EXPECT_TRUE(link.Sent.empty());
}

TEST_F(RunWindows, MeasNoHidesTheScreenWhileTheDialogIsOpen)
{
    auto screen = OpenConnected();
    bool hidden = false;
    WhenModalShown<frmNo>([&](frmNo* d) {
        hidden = !screen->isVisible();
        EXPECT_TRUE(screen->Interval.isActive()); // the monitor goes on meanwhile
        Press(d->Command1[1]);
    });
    Press(screen->cmdNo);
    EXPECT_TRUE(hidden);
    EXPECT_TRUE(screen->isVisible());
    screen->close();
}

TEST_F(RunWindows, TodaysResultsAreShownOnceConnected)
{
    QFile f(TodaysFile());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Dia=300,Poi=0.350\r\nheading\r\n"
            "00003,2024/05/01 08:00:00,30000,1.000,-1,-1,,,,,,BO\r\n"
            "00004,05/01/2024 08:10:00,20000,0.500,566,117,,,,,,BO\r\n");
    f.close();
    auto screen = OpenConnected();
    EXPECT_EQ(context.DailyFile, TodaysFile());
    EXPECT_EQ(context.Results.ResultCount, 2);
    EXPECT_TRUE(screen->cmdPrint->isVisible());
    GridModel& grid = screen->ResultGrid();
    EXPECT_EQ(grid.Text(2, 0), "00004");
    EXPECT_EQ(grid.Text(3, 0), "00003");
    EXPECT_EQ(grid.Text(3, 1), "05/01/2024 08:00:00");
    EXPECT_EQ(grid.Text(3, 4), " Calc Error");
    EXPECT_EQ(grid.RowHeight(2), int(screen->HeaderRowHeight));
    screen->close();
}

} // namespace
