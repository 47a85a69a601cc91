// The measurement screen end to end: the real window on the real serial line to the
// logger simulator, from the connection check to live readings and back.
#include "Press.h"
#include "SimProcess.h"
#include "TempHome.h"
#include "WaitFor.h"
#include "screens/gui/frmMemoryCardData2.h"
#include "serial/QSerialLink.h"
#include "shell/AppContext.h"
#include "shell/gui/GridView.h"

#include <QPointer>
#include <QPushButton>
#include <gtest/gtest.h>

namespace
{

class ScreenOnTheLine : public testing::Test
{
protected:
    void SetUp() override
    {
        context.G.UiLanguage = 1;
        InitGlobalValues(context.G);
        ResetFontSpecs(context.G);
        context.G.AppFolder = home.Path() + "/";
        context.UserFolder = home.UserFolder();
        context.G.DataFolder = home.UserFolder() + "data/";
        context.Messages = &messages;
        context.Time = &clock;
    }
    void Start(QStringList options)
    {
        options << "--com"
                << "1"
                << "--no-pace";
        ASSERT_TRUE(sim.Start(options)) << sim.ErrorText().toStdString();
        link = std::make_unique<QSerialLink>(context.Port, context.UserFolder, messages);
        context.Link = link.get();
    }
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

    TempHome home;
    SimProcess sim;
    AppContext context;
    RecordingMessages messages;
    FixedClock clock{QDateTime(QDate(2024, 5, 1), QTime(9, 30))};
    std::unique_ptr<QSerialLink> link;

private:
    std::vector<QPointer<frmMemoryCardData2>> m_opened;
};

TEST_F(ScreenOnTheLine, ConnectsReadsAndShowsLiveValuesForChannelsOneTwoAndFour)
{
    Start({"--channels", "1,2,4", "--noise", "0", "--offset", "1=400", "--offset", "2=-12",
           "--offset", "4=30"});
    auto screen = Open();
    ASSERT_TRUE(WaitFor([&] { return screen && screen->cmdMeasure->isVisible(); }, 20000));
    GridModel& monitor = screen->MonitorGrid();
    ASSERT_EQ(monitor.Rows(), 3);
    EXPECT_EQ(monitor.Text(0, 0), QStringLiteral("Load P0"));
    EXPECT_EQ(monitor.Text(1, 0), QStringLiteral("Acc. A0"));
    EXPECT_EQ(monitor.Text(2, 0), QStringLiteral("Acc. A2"));
    EXPECT_EQ(screen->ResultGrid().Cols(), 7);
    EXPECT_EQ(screen->ResultGrid().Text(0, 6), QStringLiteral("Disp. D2"));

    // 400 counts x 2.5 N, -12 and 30 counts x 0.05 m/s2.
    ASSERT_TRUE(WaitFor([&] { return !monitor.Text(2, 1).isEmpty(); }, 20000));
    EXPECT_EQ(monitor.Text(0, 1), QStringLiteral("1000"));
    EXPECT_EQ(monitor.Text(1, 1), QStringLiteral("-0.6"));
    EXPECT_EQ(monitor.Text(2, 1), QStringLiteral("1.5"));
    EXPECT_TRUE(messages.Shown.empty());

    Press(screen->cmdReturn);
    ASSERT_TRUE(WaitFor([&] { return screen.isNull(); }));
    EXPECT_FALSE(link->PortOpened());
    const QStringList commands = sim.Commands();
    EXPECT_EQ(commands.first(), QStringLiteral("RES"));
    EXPECT_TRUE(commands.contains("PON"));
    EXPECT_EQ(commands.last(), QStringLiteral("MDT"));
}

TEST_F(ScreenOnTheLine, SilentLoggerSendsTheOperatorBackToTheMainMenu)
{
    Start({"--fault", "silent"});
    auto screen = Open();
    ASSERT_TRUE(WaitFor([&] { return screen.isNull(); }, 20000));
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Text.En, QStringLiteral("QL-860H Not Connected!"));
    EXPECT_FALSE(link->PortOpened());
}

TEST_F(ScreenOnTheLine, LineDroppedDuringTheMonitorEndsWithTheCommunicationError)
{
    Start({});
    auto screen = Open();
    ASSERT_TRUE(WaitFor([&] { return screen && screen->MonitorMode == 1; }, 20000));
    ASSERT_TRUE(sim.Control("fault hangup-after 0"));
    ASSERT_TRUE(WaitFor([&] { return screen.isNull(); }, 20000));
    ASSERT_FALSE(messages.Shown.empty());
    EXPECT_EQ(messages.Shown.back().Title.En, QStringLiteral("RS-232C ERROR"));
    EXPECT_FALSE(link->PortOpened());
}

} // namespace
