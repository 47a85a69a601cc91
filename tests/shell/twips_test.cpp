// A screen that reports no DPI, as some virtual displays do, is taken at 96 DPI: 15 twips a
// pixel. The test program runs on such a screen, set before main() starts the application.
#include "shell/Twips.h"

#include <QTemporaryFile>
#include <gtest/gtest.h>

namespace
{

QTemporaryFile ScreenConfig;
[[maybe_unused]] const bool ScreenWithoutDpi = [] {
    if (!ScreenConfig.open())
        return false;
    ScreenConfig.write(R"({"screens": [{"name": "vx", "x": 0, "y": 0, "width": 1280, "height": 1024,
        "logicalDpi": 0, "logicalBaseDpi": 96, "dpr": 1}]})");
    ScreenConfig.flush();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + ScreenConfig.fileName().toLocal8Bit());
    return true;
}();

TEST(Twips, AScreenWithoutDpiCountsFifteenTwipsAPixel)
{
    ASSERT_TRUE(ScreenWithoutDpi);
    EXPECT_EQ(TwipsToPixels(1440), 96);
    EXPECT_EQ(PixelsToTwips(19), 19 * 15);
    EXPECT_EQ(ClientSizeOfWindow(3100, 3120, 0), QSize(207, 189)); // the main menu
}

} // namespace
