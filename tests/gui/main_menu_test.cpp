// The main menu pressed as the operator presses it: the banner, the debug gesture
// on its background, the logo's double click, End Program.
#include "Press.h"
#include "ScriptedLink.h"
#include "WaitFor.h"
#include "shell/AppContext.h"
#include "shell/gui/Application.h"
#include "shell/gui/frmAbout.h"
#include "shell/gui/frmMainMenu.h"
#include "shell/gui/frmSelDebug.h"

#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>
#include <gtest/gtest.h>

namespace
{

struct MainMenu : testing::Test {
    void SetUp() override
    {
        context.G.UiLanguage = UiLanguage::English;
        InitGlobalValues(context.G);
        menu->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu.get()));
    }
    AppContext context;
    ScriptedLink link;
    std::unique_ptr<frmMainMenu> menu = std::make_unique<frmMainMenu>(
        context, [](AppContext&) { return new QWidget; }, nullptr, [this] { link.Connect(false); });
};

TEST_F(MainMenu, TheDebugGestureIsTheMiddleButtonWithShiftCtrlAndAltOnTheBackgroundOnly)
{
    const Qt::KeyboardModifiers all = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
    const QPoint background(menu->width() - 3, menu->height() - 3);
    enum Answer { None, Cancel, Ok };
    const struct {
        QPoint At; // (0, 0): the gesture as the menu receives it
        Qt::MouseButton Button;
        Qt::KeyboardModifiers Modifiers;
        Answer Expected;
        bool Check;
        int16_t Mode; // debug mode after
    } cases[] = {
        {background, Qt::MiddleButton, Qt::ShiftModifier | Qt::ControlModifier, None, false, 0},
        {background, Qt::MiddleButton, Qt::ControlModifier | Qt::AltModifier, None, false, 0},
        {background, Qt::MiddleButton, Qt::AltModifier | Qt::ShiftModifier, None, false, 0},
        {background, Qt::MiddleButton, Qt::ShiftModifier, None, false, 0},
        {background, Qt::MiddleButton, Qt::ControlModifier, None, false, 0},
        {background, Qt::MiddleButton, Qt::AltModifier, None, false, 0},
        {background, Qt::RightButton, all, None, false, 0},
        {background, Qt::LeftButton, all, None, false, 0},
        {menu->picBanner->geometry().center(), Qt::MiddleButton, all, None, false, 0},
        {menu->imgLogo->geometry().center(), Qt::MiddleButton, all, None, false, 0},
        {background, Qt::MiddleButton, all, Cancel, true, 0}, // closed at once
        {{}, Qt::MiddleButton, all, Cancel, true, 0},         // whatever the box shows
        {{}, Qt::MiddleButton, all, Ok, true, 1},
        {{}, Qt::MiddleButton, all, Ok, false, 0},
    };
    // One watch for the whole table counts every dialog that opens and closes it as the row
    // says, so a dialog on a row that expects none is seen as surely as one that stays shut.
    const auto* c = cases;
    int opened = 0;
    QTimer watch;
    watch.callOnTimeout([&] {
        auto* d = qobject_cast<frmSelDebug*>(QApplication::activeModalWidget());
        if (!d || !d->isVisible())
            return;
        ++opened;
        EXPECT_EQ(d->chkDebug->isChecked(), context.G.DebugMode == 1);
        d->chkDebug->setChecked(c->Check);
        if (c->At.isNull())
            Press(c->Expected == Ok ? d->cmdOk : d->cmdCancel);
        else
            d->reject(); // the mouse is still down on the menu
    });
    watch.start(10);
    for (; c != std::end(cases); ++c) {
        opened = 0;
        if (c->At.isNull())
            menu->BackgroundPressed(c->Button, c->Modifiers);
        else
            PressAtWindowPoint(menu.get(), c->At, c->Button, c->Modifiers);
        EXPECT_EQ(opened, c->Expected == None ? 0 : 1) << c - cases;
        EXPECT_EQ(context.G.DebugMode, c->Mode) << c - cases;
    }
}

TEST_F(MainMenu, TheLogoShowsTheVersionAndEndProgramReleasesThePort)
{
    bool shown = false;
    WhenModalShown<frmAbout>([&](frmAbout* about) {
        shown = about->NameValue->text() == "VX-2968" && about->DateValue->text() == "04/07/2021";
        TypeKey(Qt::Key_Return); // its one button
    });
    DoublePress(menu->imgLogo);
    EXPECT_TRUE(shown);

    link.Connect(true);
    Press(menu->EndProgramButton());
    EXPECT_FALSE(menu->isVisible());
    EXPECT_FALSE(link.PortOpened());
}

} // namespace

namespace
{

// Qt's own buttons and dialogs speak the program's language: Japanese where it is chosen,
// and English untouched otherwise.
TEST(QtTexts, FollowTheProgramsLanguage)
{
    auto& app = *static_cast<QApplication*>(QCoreApplication::instance());
    const auto cancelText = [] {
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Cancel);
        return box.button(QMessageBox::Cancel)->text().remove('&');
    };
    InstallQtTranslations(app, UiLanguage::English);
    EXPECT_EQ(cancelText(), "Cancel");
    InstallQtTranslations(app, UiLanguage::Japanese);
    EXPECT_EQ(cancelText(), QString::fromUtf8("キャンセル"));
    for (QTranslator* t : app.findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
}

} // namespace
