// Window sizes given in twips are the outer window, caption included, in every window: at 15
// twips a pixel, a caption 150 twips taller than the usual 285 leaves 29 pixels less for the
// client area. The RS-232C window, whose size is nowhere given, holds every control below its
// caption whatever the caption's height.
#include "ScriptedLink.h"
#include "TempHome.h"
#include "TestContext.h"
#include "screens/gui/frmMemoryCardData2.h"
#include "serial/gui/frmRS232C.h"
#include "serial/gui/frmRSTest.h"
#include "shell/Twips.h"
#include "shell/gui/frmMainMenu.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace
{

TEST(WindowSizes, AreOuterSizesWithTheCaptionInEveryWindow)
{
    ASSERT_EQ(TwipsPerPixel(), 15.0);
    TempHome home;
    RecordingMessages messages;
    FixedClock clock{QDateTime(QDate(2024, 5, 1), QTime(9, 0))};
    ResultsContext context;
    PrepareContext(context, home, messages, clock);
    ScriptedLink link;
    context.Link = &link;
    context.G.DebugMode = 1;
    context.G.CaptionHeightExtra = 150;

    const struct {
        const char* Window;
        std::function<QWidget*()> Make;
        QSize Client; // pixels; empty: no size given
    } cases[] = {
        // 3100 x 3120 twips
        {"main menu", [&] { return new frmMainMenu(context, nullptr, nullptr); }, {207, 179}},
        // 6555 x 4905 twips
        {"test terminal", [&] { return new frmRSTest(context); }, {437, 298}},
        // 9900 x 5800 twips at load, and the caption's extra 150 added to the height
        {"measurement screen", [&] { return new frmMemoryCardData2(context); }, {660, 368}},
        {"RS-232C settings", [&] { return new frmRS232C(context); }, {}},
    };
    for (const auto& c : cases) {
        std::unique_ptr<QWidget> window(c.Make());
        if (!c.Client.isEmpty()) {
            EXPECT_EQ(window->size(), c.Client) << c.Window;
            continue;
        }
        for (const QWidget* control : window->findChildren<QWidget*>()) {
            if (control->parentWidget() == window.get() && control->isVisibleTo(window.get())) {
                EXPECT_TRUE(window->rect().contains(control->geometry()))
                    << c.Window << ": " << control->metaObject()->className() << " "
                    << control->property("text").toString().toStdString() << " is cut off";
            }
        }
    }
}

} // namespace
