#pragma once

#include <QByteArray>
#include <QTemporaryFile>

// The offscreen platform's default screen (800 x 600 pixels) is narrower than the widest
// measurement screen, which would be cut to the screen. A test file that includes this runs
// on a 1280 x 1024 screen, the size of the displays the screen is laid out for; set before
// main() starts the application. Include it in one file of a test program only.
static QTemporaryFile OffscreenConfig;
[[maybe_unused]] static const bool LargeOffscreenScreen = [] {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!(platform.isEmpty() || platform == "offscreen") || !OffscreenConfig.open())
        return false;
    OffscreenConfig.write(R"({"screens": [{"name": "vx", "x": 0, "y": 0, "width": 1280,
        "height": 1024, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    OffscreenConfig.flush();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + OffscreenConfig.fileName().toLocal8Bit());
    return true;
}();
