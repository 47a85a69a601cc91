// Window sizes in twips mean the outer window, caption included, in every window: the
// client area is what a caption of the platform's height leaves.
#include "ScriptedLink.h"
#include "TempHome.h"
#include "TestContext.h"
#include "screens/gui/frmMemoryCardData2.h"
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
    TempHome home;
    RecordingMessages messages;
    FixedClock clock{QDateTime(QDate(2024, 5, 1), QTime(9, 0))};
    ResultsContext context;
    PrepareContext(context, home, messages, clock);
    ScriptedLink link;
    context.Link = &link;
    context.G.DebugMode = 1;
    const int caption = CaptionTwips + 150; // a caption taller than usual
    context.G.CaptionHeightExtra = 150;

    const struct {
        const char* Window;
        std::function<QWidget*()> Make;
        int Width, Height; // twips, outer
    } cases[] = {
        {"main menu", [&] { return new frmMainMenu(context, nullptr, nullptr); }, 3100, 3120},
        {"test terminal", [&] { return new frmRSTest(context); }, 6555, 4905},
        // The screen's load height has the caption's extra added to it.
        {"measurement screen", [&] { return new frmMemoryCardData2(context); }, 9900, 5800 + 150},
    };
    for (const auto& c : cases) {
        std::unique_ptr<QWidget> window(c.Make());
        EXPECT_EQ(window->size(), QSize(TwipsToPixels(c.Width), TwipsToPixels(c.Height - caption)))
            << c.Window;
    }
}

} // namespace
