// The copies as the operator gets them: through the system clipboard of the running
// application, from the settings display and from the measurement screen's results grid.
#include "../printing/PrintFixtures.h"
#include "Press.h"

#include "TempHome.h"
#include "WaitFor.h"
#include "screens/gui/frmList.h"
#include "screens/gui/frmMemoryCardData2.h"
#include "shell/AppContext.h"
#include "shell/ClipboardSink.h"
#include "shell/Startup.h"
#include "shell/gui/GridView.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QtTest/QTest>
#include <gtest/gtest.h>

using namespace fixtures;

namespace
{

const Qt::KeyboardModifiers AnyModifiers[] = {Qt::NoModifier, Qt::ShiftModifier,
                                              Qt::ControlModifier, Qt::AltModifier,
                                              Qt::ControlModifier | Qt::ShiftModifier};

class SystemClipboardCopies : public testing::Test
{
protected:
    void SetUp() override
    {
        context.G = GlobalsIn(English);
        ResetFontSpecs(context.G);
        context.G.AppFolder = home.Path() + "/";
        context.UserFolder = home.UserFolder();
        QDir().mkpath(context.UserFolder);
        context.G.DataFolder = MakeDataFolder(context.UserFolder);
        context.Logger = SettingsWith({1, 2, 4});
        context.Messages = &messages;
        context.Time = &clock;
        context.Clipboard = &clipboard;
    }
    void TearDown() override { delete screen.data(); }

    static QString SystemText() { return QGuiApplication::clipboard()->text(); }
    static QStringList Lines(const QString& text)
    {
        QStringList lines = text.split("\r\n");
        lines.removeLast();
        return lines;
    }
    // The measurement screen in debug mode (CH1, CH2, CH4, CH6) with two results of today.
    bool OpenScreenWithResults()
    {
        context.G.DebugMode = 1;
        QFile f(context.G.DataFolder + "20240501.csv");
        if (!f.open(QIODevice::WriteOnly))
            return false;
        f.write("Dia=300,Poi=0.350\r\nheading\r\n"
                "00003,2024/05/01 08:00:00,30000,1.000,300,60,0.500,0.250,,,,BO\r\n"
                "00004,2024/05/01 08:10:00,20000,0.500,566,117,0.400,0.200,,,,BO\r\n");
        f.close();
        screen = new frmMemoryCardData2(context);
        screen->show();
        return WaitFor([&] { return screen->cmdPrint->isVisible(); });
    }

    TempHome home;
    AppContext context;
    RecordingMessages messages;
    SystemClipboard clipboard;
    FixedClock clock{QDateTime(QDate(2024, 5, 1), QTime(9, 30, 15))};
    QPointer<frmMemoryCardData2> screen;
};

TEST_F(SystemClipboardCopies, SettingsTableReachesTheClipboardWhateverModifiersAreHeld)
{
    frmList list(context);
    list.show();
    for (Qt::KeyboardModifiers modifiers : AnyModifiers) {
        QGuiApplication::clipboard()->setText("before");
        list.ListGrid().SetSelection(0, 0, 0, 0);
        FocusOn(list.MSFList);
        TypeKey(Qt::Key_C, modifiers);
        QCoreApplication::processEvents();
        const QStringList lines = Lines(SystemText());
        ASSERT_EQ(lines.size(), 16) << int(modifiers) << " " << SystemText().toStdString();
        EXPECT_EQ(lines[0], "Sampling\t50\tus\t");
        EXPECT_EQ(lines[8], "CH\t1\t2\t4");
    }
}

TEST_F(SystemClipboardCopies, ResultsGridReachesTheClipboardWithItsConditionHeader)
{
    ASSERT_TRUE(OpenScreenWithResults());
    GridModel& results = screen->ResultGrid();
    ASSERT_EQ(results.Rows(), 4);
    for (Qt::KeyboardModifiers modifiers : AnyModifiers) {
        QGuiApplication::clipboard()->setText("before");
        results.SetSelection(1, 1, 1, 1);
        FocusOn(screen->MSFData);
        TypeKey(Qt::Key_C, modifiers);
        // With Ctrl the copy settles once the grid's own key handling is over.
        ASSERT_TRUE(WaitFor([] { return SystemText().startsWith("File Name"); }))
            << int(modifiers) << " " << SystemText().toStdString();
        QCoreApplication::processEvents();
        const QStringList lines = Lines(SystemText());
        ASSERT_EQ(lines.size(), 22 + 4) << int(modifiers);
        EXPECT_EQ(lines[0], "File Name\t" + context.DailyFile);
        EXPECT_EQ(lines[3], "Diameter\t90 mm");
        EXPECT_EQ(lines[8], "No.\t0");
        EXPECT_EQ(lines[13], "Channel\t1\t2\t4\t6");
        EXPECT_EQ(lines[22].split('\t').size(), results.Cols());
        EXPECT_TRUE(lines[24].startsWith("00004\t")) << lines[24].toStdString();
        EXPECT_EQ(results.Row(), 3);
        EXPECT_EQ(results.Col(), results.Cols() - 1);
    }
}

// Another program reads what this one copied, as a spreadsheet would. Needs a real X
// display (xvfb-run with QT_QPA_PLATFORM=xcb); the headless platform has no shared clipboard.
TEST_F(SystemClipboardCopies, AnotherProgramReadsTheCopy)
{
    if (QGuiApplication::platformName() != "xcb")
        GTEST_SKIP() << "no X display";
    if (QStandardPaths::findExecutable("xclip").isEmpty())
        GTEST_SKIP() << "xclip missing";
    frmList list(context);
    list.show();
    list.ListGrid().SetSelection(0, 0, 0, 0);
    FocusOn(list.MSFList);
    TypeKey(Qt::Key_C);
    QProcess xclip;
    xclip.start("xclip", {"-o", "-selection", "clipboard"});
    // The clipboard is served from this event loop while xclip asks for it.
    ASSERT_TRUE(WaitFor([&] { return xclip.state() == QProcess::NotRunning; }, 30000));
    const QString read = QString::fromUtf8(xclip.readAllStandardOutput());
    EXPECT_EQ(read, SystemText());
    EXPECT_EQ(Lines(read).size(), 16);
}

} // namespace
