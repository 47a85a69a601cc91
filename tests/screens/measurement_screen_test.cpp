// The measurement screen as real widgets (offscreen): start-up, the commands offered before
// and after the connection, the layout for the channels found, the monitor and the way back.
#include "../logger/FakeLogger.h"
#include "LargeOffscreenScreen.h"
#include "Press.h"
#include "ScriptedLink.h"
#include "TempHome.h"
#include "WaitFor.h"
#include "screens/MeasurementScreen.h"
#include "screens/gui/frmMemoryCardData2.h"
#include "shell/AppContext.h"
#include "shell/Twips.h"
#include "shell/gui/GridView.h"

#include <QEventLoop>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace
{

class MeasurementScreen : public testing::Test
{
protected:
    void SetUp() override
    {
        context.G.UiLanguage = 1;
        InitGlobalValues(context.G);
        ResetFontSpecs(context.G);
        context.G.AppFolder = home.Path() + "/";
        context.UserFolder = home.UserFolder();
        context.Link = &link;
        context.Messages = &messages;
        context.Time = &clock;
        link.Otherwise = [this](const QString& cmd) { return logger(cmd); };
        logger.Wide = {{"VS", "QL-860H FW Ver 2.1A"}, {"SEA?", "1"}, {"MDT", "+001234,+000056"}};
        logger.Words = {{47, "300"}, {48, "350"},   {51, "5000"}, {52, "10000"},
                        {53, "20"},  {54, "20000"}, {57, "1"}};
    }

    // The screen, shown; it deletes itself when closed, as when the main menu opens it.
    QPointer<frmMemoryCardData2> Open()
    {
        auto* screen = new frmMemoryCardData2(context);
        screen->setAttribute(Qt::WA_DeleteOnClose);
        screen->show();
        m_opened.push_back(screen);
        return screen;
    }
    // A screen still open at the end would keep polling this test's context.
    void TearDown() override
    {
        for (const QPointer<frmMemoryCardData2>& screen : m_opened)
            delete screen.data();
    }
    static bool Connected(frmMemoryCardData2* s) { return s && s->cmdMeasure->isVisible(); }
    static QStringList Row(GridModel& grid, int row)
    {
        QStringList texts;
        for (int c = 0; c < grid.Cols(); ++c)
            texts << grid.Text(row, c);
        return texts;
    }

    TempHome home;
    AppContext context;
    FakeLogger logger;
    ScriptedLink link;
    RecordingMessages messages;
    FixedClock clock{QDateTime(QDate(2024, 5, 1), QTime(9, 30))};

private:
    std::vector<QPointer<frmMemoryCardData2>> m_opened;
};

TEST_F(MeasurementScreen, OffersOnlyMeasNoAndMainMenuUntilConnected)
{
    link.Silent("RES"); // the check fails, but the first look is before it
    auto screen = Open();
    EXPECT_TRUE(screen->cmdNo->isVisible());
    EXPECT_TRUE(screen->cmdReturn->isVisible());
    for (QWidget* w :
         {static_cast<QWidget*>(screen->cmdInitial), static_cast<QWidget*>(screen->cmdMeasure),
          static_cast<QWidget*>(screen->cmdSetting), static_cast<QWidget*>(screen->cmdPrint),
          static_cast<QWidget*>(screen->Label6), static_cast<QWidget*>(screen->lblDia),
          static_cast<QWidget*>(screen->lblPoi), static_cast<QWidget*>(screen->MSFMonit)})
        EXPECT_FALSE(w->isVisible()) << w->metaObject()->className();
    EXPECT_TRUE(screen->MSFData->isVisible());
    EXPECT_EQ(screen->MonitorMode, 0);
    EXPECT_EQ(screen->Interval.interval(), 100);
    EXPECT_TRUE(screen->Interval.isActive());
    EXPECT_TRUE(link.Sent.empty()); // nothing before the first tick
    EXPECT_EQ(screen->width(), TwipsToPixels(9900));
    // Today's test conditions start from their defaults.
    EXPECT_EQ(context.Logger.PlateDiameter, 90);
    EXPECT_EQ(context.Logger.MaxChannel, 6);
    EXPECT_EQ(context.Logger.TestDate, clock.Now());
}

TEST_F(MeasurementScreen, TwoChannelsGiveTheNarrowWindowAndSixColumns)
{
    auto screen = Open();
    ASSERT_TRUE(WaitFor([&] { return Connected(screen); }));
    EXPECT_EQ(screen->width(), TwipsToPixels(9350));
    GridModel& grid = screen->ResultGrid();
    EXPECT_EQ(grid.Cols(), 6);
    EXPECT_EQ(grid.Rows(), 2);
    EXPECT_EQ(Row(grid, 0),
              (QStringList{"No.", "Date Time", "Load P0", "Disp. D0", "K-NWR", "E-NWR"}));
    EXPECT_EQ(Row(grid, 1), (QStringList{"", "", "N", "mm", "MN/m3", "MN/m2"}));
    EXPECT_EQ(grid.Alignment(1, 4), Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(grid.ColWidth(1), 2800);
    EXPECT_EQ(grid.FontSize(), 14.0);
    EXPECT_EQ(grid.RowHeight(0), int(screen->HeaderRowHeight));
    EXPECT_EQ(grid.RowHeight(0), (6670 - 2600) / 12 - 8);
    EXPECT_EQ(screen->MSFData->width(), TwipsToPixels(9350 - 250));
}

TEST_F(MeasurementScreen, FourChannelsNameTheirDisplacementsByChannelNumber)
{
    logger.Present = {1, 2, 4, 6};
    auto screen = Open();
    ASSERT_TRUE(WaitFor([&] { return Connected(screen); }));
    EXPECT_EQ(screen->width(), TwipsToPixels(12150));
    GridModel& grid = screen->ResultGrid();
    ASSERT_EQ(grid.Cols(), 8);
    EXPECT_EQ(grid.Text(0, 6), QStringLiteral("Disp. D2"));
    EXPECT_EQ(grid.Text(0, 7), QStringLiteral("Disp. D4"));
    EXPECT_EQ(grid.Text(1, 7), QStringLiteral("mm"));
    EXPECT_EQ(grid.ColWidth(7), 1400);
    GridModel& monitor = screen->MonitorGrid();
    ASSERT_EQ(monitor.Rows(), 4);
    EXPECT_EQ(monitor.Text(3, 0), QStringLiteral("Acc. A4"));
    EXPECT_EQ(screen->MSFMonit->height(), TwipsToPixels(4 * 240));
}

TEST_F(MeasurementScreen, ConnectionCompletesTheScreenAndTheMonitorShowsReadings)
{
    logger.Present = {1, 2, 4};
    auto screen = Open();
    ASSERT_TRUE(WaitFor([&] { return Connected(screen); }));
    EXPECT_TRUE(screen->cmdSetting->isVisible());
    EXPECT_TRUE(screen->cmdInitial->isVisible());
    EXPECT_FALSE(screen->cmdPrint->isVisible()); // nothing measured today
    EXPECT_TRUE(screen->Label6->isVisible());
    EXPECT_TRUE(screen->Label2[0]->isVisible());
    EXPECT_EQ(screen->lblDia->text(), QStringLiteral("300"));
    EXPECT_EQ(screen->lblPoi->text(), QStringLiteral("0.350"));
    EXPECT_TRUE(screen->Label1->text().isEmpty());
    EXPECT_EQ(screen->MonitorMode, 1);
    EXPECT_EQ(screen->Interval.interval(), 1000);

    GridModel& monitor = screen->MonitorGrid();
    ASSERT_EQ(monitor.Rows(), 3);
    EXPECT_EQ(Row(monitor, 0), (QStringList{"Load P0", "", " N"}));
    EXPECT_EQ(monitor.Text(1, 0), QStringLiteral("Acc. A0"));
    EXPECT_EQ(monitor.Text(2, 0), QStringLiteral("Acc. A2"));
    EXPECT_EQ(monitor.Text(2, 2), QStringLiteral(" m/s2"));

    // The first poll, a second later: 1234 x (50 / 2 / 10) x 1000 N and 56 x (1000 / 2000 / 10).
    ASSERT_TRUE(WaitFor([&] { return !monitor.Text(0, 1).isEmpty(); }));
    EXPECT_EQ(monitor.Text(0, 1), QStringLiteral("3085000"));
    EXPECT_EQ(monitor.Text(1, 1), QStringLiteral("2.8"));
    EXPECT_TRUE(messages.Shown.empty());
}

TEST_F(MeasurementScreen, ResultsOfTheDayOfferPrintOnceConnected)
{
    context.Results.ResultCount = 0;
    auto screen = Open();
    // Results read at load (the results side fills them in) count once the check is done.
    context.Results.ResultCount = 3;
    ASSERT_TRUE(WaitFor([&] { return Connected(screen); }));
    EXPECT_TRUE(screen->cmdPrint->isVisible());
}

TEST_F(MeasurementScreen, MainMenuClosesThePortAndTheScreen)
{
    auto screen = Open();
    ASSERT_TRUE(WaitFor([&] { return Connected(screen); }));
    ASSERT_TRUE(link.PortOpened());
    Press(screen->cmdReturn);
    ASSERT_TRUE(WaitFor([&] { return screen.isNull(); }));
    EXPECT_FALSE(link.PortOpened());
}

// A line whose pause runs the event loop, as the real one does, and lets the operator act
// in it.
class LineWithLivePause : public ScriptedLink
{
public:
    std::function<void()> DuringPause;
    void Wait(int32_t ms) override
    {
        ScriptedLink::Wait(ms);
        QEventLoop loop;
        QTimer::singleShot(0, &loop, [this] {
            if (DuringPause)
                DuringPause();
        });
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
};

TEST_F(MeasurementScreen, MainMenuPressedDuringTheCheckClosesOnceTheTickIsOver)
{
    LineWithLivePause line;
    line.Otherwise = [this](const QString& cmd) { return logger(cmd); };
    context.Link = &line;
    auto screen = Open();
    line.DuringPause = [&] {
        if (screen)
            Press(screen->cmdReturn);
    };
    ASSERT_TRUE(WaitFor([&] { return screen.isNull(); }));
    // The check ran to its end on a live screen, then the screen went and the port closed.
    EXPECT_EQ(line.Sent.back(), QStringLiteral("TRM21"));
    EXPECT_FALSE(line.PortOpened());
    EXPECT_TRUE(messages.Shown.empty());
}

TEST_F(MeasurementScreen, DebugModeShowsFourChannelsWithoutALogger)
{
    context.G.DebugMode = 1;
    context.Link = nullptr; // no line at all
    auto screen = Open();
    ASSERT_TRUE(WaitFor([&] { return Connected(screen); }));
    EXPECT_EQ(screen->width(), TwipsToPixels(12150));
    EXPECT_EQ(screen->ResultGrid().Cols(), 8);
    EXPECT_EQ(screen->ResultGrid().Text(0, 6), QStringLiteral("Disp. D2"));
    EXPECT_EQ(screen->ResultGrid().Text(0, 7), QStringLiteral("Disp. D4"));
    GridModel& monitor = screen->MonitorGrid();
    ASSERT_EQ(monitor.Rows(), 4);
    EXPECT_EQ(monitor.Text(2, 0), QStringLiteral("Acc. A2"));
    for (int r = 0; r < 4; ++r)
        EXPECT_TRUE(monitor.Text(r, 1).isEmpty());
    EXPECT_FALSE(screen->Interval.isActive()); // idle
    EXPECT_EQ(screen->lblDia->text(), QStringLiteral("90"));
    EXPECT_EQ(screen->lblPoi->text(), QStringLiteral("0.300"));
    EXPECT_DOUBLE_EQ(context.Logger.Channel[1].Coefficient, 20.0 / 1060.0 / 5.0);
    EXPECT_TRUE(link.Sent.empty());
    EXPECT_TRUE(messages.Shown.empty());
    screen->close();
}

TEST_F(MeasurementScreen, JapaneseCaptionsAndFonts)
{
    context.G.UiLanguage = 0;
    InitGlobalValues(context.G);
    ResetFontSpecs(context.G);
    auto screen = Open();
    EXPECT_EQ(screen->windowTitle(),
              QString::fromUtf8(" 計測") + QString(10, ' ') + context.G.AppTitle);
    EXPECT_EQ(screen->cmdMeasure->text(), QString::fromUtf8("計\u3000\u3000測"));
    EXPECT_EQ(screen->cmdPrint->text(), QString::fromUtf8("印\u3000\u3000刷"));
    EXPECT_EQ(screen->cmdReturn->text(), QString::fromUtf8("メインメニュー"));
    EXPECT_EQ(screen->Label2[1]->text(), QString::fromUtf8("mm   ポアソン比"));
    EXPECT_EQ(screen->cmdNo->font().pointSizeF(), 12.0);
    EXPECT_EQ(screen->Label6->font().pointSizeF(), 14.0);
    EXPECT_EQ(screen->cmdReturn->font().family(), QString::fromUtf8("ＭＳ Ｐ明朝"));
    ASSERT_TRUE(WaitFor([&] { return Connected(screen); }));
    EXPECT_EQ(screen->ResultGrid().Text(0, 2), QString::fromUtf8("荷重 P0"));
    EXPECT_EQ(screen->MonitorGrid().Text(1, 0), QString::fromUtf8("加速度 A0"));
}

TEST(MeasurementCaptionsTable, EnglishFontsFollowTheLargeFont)
{
    const MeasurementCaptions c = CaptionsFor(1, "VX-2968", 12.0);
    EXPECT_EQ(c.WindowTitle, QStringLiteral(" Measure          VX-2968"));
    EXPECT_EQ(c.WindowPoints, 9.0);
    EXPECT_EQ(c.No.Text, QStringLiteral("Meas. No."));
    EXPECT_EQ(c.No.Points, 10.0);
    EXPECT_EQ(c.DiameterCaption.Points, 14.0);
    EXPECT_EQ(c.RatioCaption.Points, 12.0);
    EXPECT_EQ(c.MonitorGridPoints, 9.0);
}

} // namespace
