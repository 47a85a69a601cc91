// Letters typed in a grid are commands (C copies, P prints) or nothing: they never move the
// current cell or shrink the selection, in the results grid and in the settings display.
#include "../printing/PrintFixtures.h"

#include "Press.h"
#include "TestContext.h"
#include "WaitFor.h"
#include "screens/gui/frmList.h"
#include "screens/gui/frmMemoryCardData2.h"
#include "shell/gui/GridView.h"

#include <QFile>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace fixtures;

namespace
{

TEST(GridLetters, NeverMoveTheCellOrShrinkTheSelection)
{
    TempHome home;
    RecordingMessages messages;
    FixedClock clock{QDateTime(QDate(2024, 5, 1), QTime(9, 30, 15))};
    MemoryClipboard clipboard;
    AppContext context;
    PrepareContext(context, home, messages, clock);
    context.Clipboard = &clipboard;
    context.G.DebugMode = 1; // four channels, no logger
    QFile day(context.G.DataFolder + "20240501.csv");
    ASSERT_TRUE(day.open(QIODevice::WriteOnly));
    day.write("Dia=300,Poi=0.350\r\nheading\r\n"
              "00003,2024/05/01 08:00:00,30000,1.000,300,60,0.500,0.250,,,,BO\r\n"
              "00004,2024/05/01 08:10:00,20000,0.500,566,117,0.400,0.200,,,,BO\r\n");
    day.close();

    auto* screen = new frmMemoryCardData2(context);
    screen->setAttribute(Qt::WA_DeleteOnClose, false);
    std::unique_ptr<frmMemoryCardData2> owner(screen);
    screen->show();
    ASSERT_TRUE(WaitFor([&] { return screen->cmdPrint->isVisible(); }));
    frmList list(context);

    const struct {
        const char* Grid;
        QWidget* Window;
        GridView* View;
        std::array<int, 4> Selection; // row, col, far row, far col
    } cases[] = {
        // A type-ahead search looks in the current cell's column, and the letters typed in
        // quick succession make one word: the first, d, finds "Disp. D0" in the one and
        // "Data" in the other.
        {"results", screen, screen->MSFData, {2, 1, 3, 3}},
        {"settings", &list, list.MSFList, {9, 1, 11, 2}},
    };
    for (const auto& c : cases) {
        c.Window->show();
        c.Window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(c.Window)) << c.Grid;
        c.View->setFocus();
        GridModel& grid = *c.View->Model();
        const auto& s = c.Selection;
        grid.SetSelection(s[0], s[1], s[2], s[3]);
        for (QChar letter : QStringLiteral("dcpkslhnx")) {
            TypeText(letter);
            EXPECT_EQ((std::array<int, 4>{grid.Row(), grid.Col(), grid.RowSel(), grid.ColSel()}), s)
                << c.Grid << " after " << letter.toLatin1();
            EXPECT_EQ(c.View->currentIndex(), grid.index(s[2], s[3])) << c.Grid;
        }
        EXPECT_FALSE(clipboard.Text().isEmpty()) << c.Grid; // C did copy
        c.Window->hide();
    }
}

} // namespace
