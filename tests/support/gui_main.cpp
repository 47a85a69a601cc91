#include "shell/gui/WindowRules.h"

#include <QApplication>
#include <gtest/gtest.h>

// Window tests drive real widgets on the offscreen platform unless a display is chosen.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // The program's own rules for every window, as Main installs them.
    InstallWindowRules(app);
    return RUN_ALL_TESTS();
}
