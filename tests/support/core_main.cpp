#include <QGuiApplication>
#include <gtest/gtest.h>

// Logic tests run inside a QGuiApplication on the offscreen platform, so that fonts,
// the clipboard and QSerialPort's notifications work without a display.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QGuiApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
