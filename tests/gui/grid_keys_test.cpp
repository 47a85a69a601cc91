// Letters typed in a grid are commands or nothing, in the measurement screen's results grid
// (debug mode, two results of today) and in the settings display: no letter moves the current
// cell or shrinks the selection, P prints the results, and C copies the whole grid to the
// system clipboard whatever modifiers are held.
#include "../screens/ScreenDay.h"
#include "Press.h"
#include "WaitFor.h"
#include "screens/gui/frmList.h"
#include "screens/gui/frmMemoryCardData2.h"
#include "shell/gui/GridView.h"

#include <QClipboard>
#include <QPrinterInfo>
#include <QPushButton>
#include <gtest/gtest.h>

namespace
{

TEST(GridKeys, LettersAreCommandsOrNothing)
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "a printer is installed: P would send paper to it";
    ScreenDay<SystemClipboard> day;
    day.context.G.DebugMode = 1; // CH1, CH2, CH4 and CH6, no logger
    day.WriteTodaysResults();
    frmMemoryCardData2 screen(day.context);
    screen.show();
    ASSERT_TRUE(WaitFor([&] { return screen.cmdPrint->isVisible(); }));
    frmList list(day.context);
    // A type-ahead search would look in the current cell's column: d finds "Disp. D0" in the
    // one and "Data" in the other.
    const struct {
        QWidget* Window;
        GridView* View;
        std::array<int, 4> Selection; // row, col, far row, far col
        int Lines;
        const char* Line; // one of them
    } grids[] = {{&screen, screen.MSFData, {2, 1, 3, 3}, 26, "Channel\t1\t2\t4\t6"},
                 {&list, list.MSFList, {9, 1, 11, 2}, 16, "CH\t1\t2\t4\t6"}};
    for (const auto& g : grids) {
        g.Window->show();
        g.Window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(g.Window));
        GridModel& grid = *g.View->Model();
        const auto& s = g.Selection;
        grid.SetSelection(s[0], s[1], s[2], s[3]);
        FocusOn(g.View);
        for (QChar letter : QStringLiteral("dcpkslhnx")) {
            TypeText(letter);
            EXPECT_EQ((std::array<int, 4>{grid.Row(), grid.Col(), grid.RowSel(), grid.ColSel()}), s)
                << g.Lines << " after " << letter.toLatin1();
            EXPECT_EQ(g.View->currentIndex(), grid.index(s[2], s[3]));
        }
        for (auto modifiers :
             {Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier}) {
            QGuiApplication::clipboard()->setText("before");
            grid.SetSelection(1, 1, 1, 1);
            TypeKey(Qt::Key_C, modifiers);
            // With Ctrl the copy settles once the grid's own key handling is over.
            ASSERT_TRUE(WaitFor([] { return QGuiApplication::clipboard()->text() != "before"; }))
                << modifiers;
            const QStringList lines = QGuiApplication::clipboard()->text().split("\r\n");
            EXPECT_EQ(lines.size(), g.Lines + 1);
            EXPECT_TRUE(lines.contains(g.Line));
            EXPECT_EQ(std::vector<int>({grid.Row(), grid.Col()}),
                      std::vector<int>({grid.Rows() - 1, grid.Cols() - 1}));
        }
        TypeKey(Qt::Key_P, Qt::ControlModifier);
        g.Window->hide();
    }
    // The results printed twice, the settings display not at all.
    EXPECT_TRUE(QFile::exists(day.home.UserFolder() + "Report_20240501_093015_2.pdf"));
    EXPECT_FALSE(QFile::exists(day.home.UserFolder() + "Report_20240501_093015_3.pdf"));
    EXPECT_FALSE(QFile::exists(day.home.UserFolder() + "Settings_20240501_093015.pdf"));
}

} // namespace
