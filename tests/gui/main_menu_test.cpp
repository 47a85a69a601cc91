#include "Press.h"
#include "ScriptedLink.h"
#include "WaitFor.h"
#include "shell/AppContext.h"
#include "shell/gui/frmAbout.h"
#include "shell/gui/frmMainMenu.h"
#include "shell/gui/frmSelDebug.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

namespace
{

struct MenuFixture : ::testing::Test {
    AppContext context;
    ScriptedLink link;

    void SetUp() override
    {
        context.G.UiLanguage = 1;
        InitGlobalValues(context.G);
        context.Link = &link;
    }
    std::unique_ptr<frmMainMenu> Menu()
    {
        auto menu = std::make_unique<frmMainMenu>(
            context, [](AppContext&) { return new QWidget; }, nullptr);
        menu->show();
        return menu;
    }
};

TEST_F(MenuFixture, TitleAndCaptionsFollowTheLanguage)
{
    auto en = Menu();
    EXPECT_EQ(en->windowTitle(), " Main Menu            VX-2968");
    EXPECT_EQ(en->cmdMenu[0]->text(), "Measure");
    EXPECT_EQ(en->cmdMenu[1]->text(), "Setting RS-232C");
    EXPECT_EQ(en->cmdMenu[2]->text(), "End Program");
    EXPECT_EQ(en->cmdMenu[0]->font().pointSize(), 14);

    context.G.UiLanguage = 0;
    InitGlobalValues(context.G);
    auto ja = Menu();
    EXPECT_EQ(ja->windowTitle(),
              QString::fromUtf8(" メインメニュー") + QString(12, ' ') + "VX-2968");
    EXPECT_EQ(ja->cmdMenu[0]->text(), QString::fromUtf8("計　　　　測"));
    EXPECT_EQ(ja->cmdMenu[1]->text(), QString::fromUtf8("ＲＳ－２３２Ｃ"));
    EXPECT_EQ(ja->cmdMenu[2]->text(), QString::fromUtf8("終　　　　了"));
    EXPECT_EQ(ja->cmdMenu[2]->font().family(), QString::fromUtf8("ＭＳ Ｐ明朝"));
}

TEST_F(MenuFixture, BannerIsDrawnOnceAfterLoadAndAgainWhenAScreenReturns)
{
    auto menu = Menu();
    ASSERT_TRUE(WaitFor([&] { return menu->BannerDraws() == 1; }));
    EXPECT_FALSE(menu->picBanner->pixmap().isNull());

    Press(menu->cmdMenu[0]); // opens the stand-in screen and hides the menu
    EXPECT_FALSE(menu->isVisible());
    QWidget* screen = QApplication::topLevelWidgets().last();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != menu.get() && w->isVisible())
            screen = w;
    const int before = menu->BannerDraws();
    screen->close();
    ASSERT_TRUE(WaitFor([&] { return menu->isVisible() && menu->BannerDraws() == before + 1; }));
}

TEST_F(MenuFixture, DebugGestureNeedsTheMiddleButtonWithShiftCtrlAndAlt)
{
    auto menu = Menu();
    EXPECT_FALSE(
        menu->BackgroundPressed(Qt::MiddleButton, Qt::ShiftModifier | Qt::ControlModifier));
    EXPECT_FALSE(menu->BackgroundPressed(Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier |
                                                              Qt::AltModifier));
    EXPECT_FALSE(menu->BackgroundPressed(Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier |
                                                             Qt::AltModifier));

    bool shown = false;
    WhenModalShown<frmSelDebug>([&](frmSelDebug* d) {
        shown = true;
        EXPECT_EQ(d->windowTitle(), "VX-2968 Debug Mode Select");
        EXPECT_FALSE(d->chkDebug->isChecked());
        d->chkDebug->setChecked(true);
        Press(d->cmdOk);
    });
    EXPECT_TRUE(menu->BackgroundPressed(Qt::MiddleButton,
                                        Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
    EXPECT_TRUE(shown);
    EXPECT_EQ(context.G.DebugMode, 1);
}

TEST_F(MenuFixture, CancelInTheDebugDialogChangesNothingWhateverTheBoxShows)
{
    auto menu = Menu();
    context.G.DebugMode = 0;
    WhenModalShown<frmSelDebug>([](frmSelDebug* d) {
        d->chkDebug->setChecked(true);
        Press(d->cmdCancel);
    });
    menu->BackgroundPressed(Qt::MiddleButton,
                            Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(context.G.DebugMode, 0);

    context.G.DebugMode = 1;
    WhenModalShown<frmSelDebug>([](frmSelDebug* d) {
        EXPECT_TRUE(d->chkDebug->isChecked());
        d->chkDebug->setChecked(false);
        Press(d->cmdOk);
    });
    menu->BackgroundPressed(Qt::MiddleButton,
                            Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(context.G.DebugMode, 0);
}

// The logo lies beneath the buttons like every picture, and still takes its own gesture.
TEST_F(MenuFixture, DoubleClickOnTheLogoShowsTheVersion)
{
    auto menu = Menu();
    bool shown = false;
    WhenModalShown<frmAbout>([&](frmAbout*) {
        shown = true;
        TypeKey(Qt::Key_Return); // its one button
    });
    DoublePress(menu->imgLogo);
    EXPECT_TRUE(shown);
}

TEST_F(MenuFixture, EndProgramReleasesThePort)
{
    link.Connect(true);
    auto menu = Menu();
    Press(menu->cmdMenu[2]);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_FALSE(link.PortOpened());
}

TEST_F(MenuFixture, ScreensNotYetAvailableAreNotOffered)
{
    auto menu = Menu();
    EXPECT_TRUE(menu->cmdMenu[0]->isEnabled());
    EXPECT_FALSE(menu->cmdMenu[1]->isEnabled());
}

TEST_F(MenuFixture, TheDebugGestureWorksOnTheBackgroundOnlyNotOnTheBannerOrTheLogo)
{
    auto menu = Menu();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu.get()));
    const Qt::KeyboardModifiers all = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
    int opened = 0; // dialogs the gesture opened, each closed again at once
    const struct {
        const char* Place;
        QPoint At;
        int Opens;
    } cases[] = {
        {"banner", menu->picBanner->geometry().center(), 0},
        {"logo", menu->imgLogo->geometry().center(), 0},
        {"background", QPoint(menu->width() - 3, menu->height() - 3), 1},
    };
    for (const auto& c : cases) {
        const int before = opened;
        WhenModalShown<frmSelDebug>(
            [&](frmSelDebug* d) {
                ++opened;
                d->reject();
            },
            2000);
        PressAtWindowPoint(menu.get(), c.At, Qt::MiddleButton, all);
        EXPECT_EQ(opened - before, c.Opens) << c.Place;
    }
}

TEST(VersionWindow, ShowsNameVersionAndTheDateInTheLanguagesOrder)
{
    Globals g;
    g.UiLanguage = 1;
    InitGlobalValues(g);
    frmAbout en(g);
    EXPECT_EQ(en.windowTitle(), " Version     VX-2968");
    EXPECT_EQ(en.NameValue->text(), "VX-2968");
    EXPECT_EQ(en.VersionValue->text(), "2.2.0");
    EXPECT_EQ(en.DateValue->text(), "04/07/2021");

    g.UiLanguage = 0;
    InitGlobalValues(g);
    frmAbout ja(g);
    EXPECT_EQ(ja.windowTitle(), QString::fromUtf8(" バージョン") + QString(8, ' ') + g.AppTitle);
    EXPECT_EQ(ja.DateValue->text(), "2021/04/07");
}

} // namespace
