// Letters typed in a grid are commands or nothing, in the measurement screen's results grid
// (debug mode, two results of today) and in the settings display: C copies to the system
// clipboard whatever modifiers are held, P prints the results, and no letter moves the
// current cell or shrinks the selection.
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

class GridKeys : public testing::Test, public ScreenDay<SystemClipboard>
{
protected:
    void SetUp() override
    {
        context.G.DebugMode = 1; // CH1, CH2, CH4 and CH6, no logger
        WriteTodaysResults();
        screen = std::make_unique<frmMemoryCardData2>(context);
        screen->show();
        ASSERT_TRUE(WaitFor([&] { return screen->cmdPrint->isVisible(); }));
        list = std::make_unique<frmList>(context);
        grids[0] = {"results", screen.get(), screen->MSFData, 26, "Channel\t1\t2\t4\t6"};
        grids[1] = {"settings", list.get(), list->MSFList, 16, "CH\t1\t2\t4\t6"};
    }
    std::unique_ptr<frmMemoryCardData2> screen;
    std::unique_ptr<frmList> list;
    struct {
        const char* Name;
        QWidget* Window;
        GridView* View;
        int Lines;
        const char* Line; // one of them
    } grids[2];
};

TEST_F(GridKeys, CCopiesTheWholeGridToTheSystemClipboardWhateverModifiersAreHeld)
{
    for (const auto& g : grids) {
        g.Window->show();
        GridModel& grid = *g.View->Model();
        for (Qt::KeyboardModifiers modifiers :
             {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::ShiftModifier),
              Qt::KeyboardModifiers(Qt::ControlModifier), Qt::KeyboardModifiers(Qt::AltModifier)}) {
            QGuiApplication::clipboard()->setText("before");
            grid.SetSelection(1, 1, 1, 1);
            FocusOn(g.View);
            TypeKey(Qt::Key_C, modifiers);
            // With Ctrl the copy settles once the grid's own key handling is over.
            ASSERT_TRUE(WaitFor([] { return QGuiApplication::clipboard()->text() != "before"; }))
                << g.Name << int(modifiers);
            const QStringList lines = QGuiApplication::clipboard()->text().split("\r\n");
            EXPECT_EQ(lines.size(), g.Lines + 1) << g.Name;
            EXPECT_TRUE(lines.contains(g.Line)) << g.Name;
            EXPECT_EQ(grid.Row(), grid.Rows() - 1);
            EXPECT_EQ(grid.Col(), grid.Cols() - 1);
        }
        g.Window->hide();
    }
}

TEST_F(GridKeys, LettersNeverMoveTheCellOrShrinkTheSelectionAndPPrintsTheResults)
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "a printer is installed: P would send paper to it";
    // A type-ahead search would look in the current cell's column: d finds "Disp. D0" in the
    // one and "Data" in the other.
    const std::array<int, 4> selections[] = {{2, 1, 3, 3}, {9, 1, 11, 2}};
    for (int i = 0; i < 2; ++i) {
        const auto& g = grids[i];
        g.Window->show();
        g.Window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(g.Window)) << g.Name;
        g.View->setFocus();
        GridModel& grid = *g.View->Model();
        const auto& s = selections[i];
        grid.SetSelection(s[0], s[1], s[2], s[3]);
        for (QChar letter : QStringLiteral("dcpkslhnx")) {
            TypeText(letter);
            EXPECT_EQ((std::array<int, 4>{grid.Row(), grid.Col(), grid.RowSel(), grid.ColSel()}), s)
                << g.Name << " after " << letter.toLatin1();
            EXPECT_EQ(g.View->currentIndex(), grid.index(s[2], s[3])) << g.Name;
        }
        TypeKey(Qt::Key_P, Qt::ControlModifier);
        g.Window->hide();
    }
    // The results grid printed twice, the settings display not at all.
    EXPECT_TRUE(QFile::exists(home.UserFolder() + "Report_20240501_093015_2.pdf"));
    EXPECT_FALSE(QFile::exists(home.UserFolder() + "Report_20240501_093015_3.pdf"));
    EXPECT_FALSE(QFile::exists(home.UserFolder() + "Settings_20240501_093015.pdf"));
}

} // namespace
