#include "Press.h"
#include "ReviewFixtures.h"
#include "TempHome.h"
#include "TestContext.h"
#include "WaitFor.h"
#include "review/gui/PointsView.h"
#include "review/gui/frmReview.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <gtest/gtest.h>

namespace
{

void PressRow(QTableView* view, int row)
{
    const QRect cell = view->visualRect(view->model()->index(row, 0));
    ASSERT_TRUE(cell.isValid()) << "row " << row << " is not on the screen";
    PressAtWindowPoint(view->window(), view->viewport()->mapTo(view->window(), cell.center()));
}

// File > `entry`, pressed in the menu bar and then in the menu that opens.
void PressFileMenu(QMainWindow* window, const QString& entry)
{
    QMenuBar* bar = window->menuBar();
    QAction* file = bar->actions().front();
    PressAtWindowPoint(window, bar->mapTo(window, bar->actionGeometry(file).center()));
    QMenu* menu = file->menu();
    ASSERT_TRUE(WaitFor([&] { return menu->isVisible(); }));
    for (QAction* a : menu->actions()) {
        if (a->text().remove('&') == entry) {
            PressAtWindowPoint(menu, menu->actionGeometry(a).center());
            return;
        }
    }
    ADD_FAILURE() << "no entry " << entry.toStdString();
}

QString Cell(QTableView* view, int row, int column)
{
    return view->model()->index(row, column).data().toString();
}

// The engineer forms a lot from a day of nine drops: splits it into two points, leaves out
// a drop that slipped, asks for K ≥ 420, saves the lot, and finds it again on reopening.
TEST(LotWindow, EngineerSplitsExcludesRequiresSavesAndReopens)
{
    TempHome home;
    AppContext context;
    RecordingMessages messages;
    SystemClock clock;
    PrepareContext(context, home, messages, clock, 1);
    WriteBytes(context.G.DataFolder + "20240506.csv",
               FixtureDayBytes(9, QDate(2024, 5, 6), 0, false));
    frmReview window(context);
    window.show();
    window.OpenFolder(context.UserFolder);
    ASSERT_TRUE(WaitFor([&] { return window.Table()->model()->rowCount() == 9; }));
    QTabBar* tabs = window.Tabs()->tabBar();
    PressAtWindowPoint(&window, tabs->mapTo(&window, tabs->tabRect(3).center()));
    PointsView* view = window.Points();
    ASSERT_TRUE(view->isVisible());
    PressFileMenu(&window, "New Lot");
    ASSERT_EQ(view->PointsTable()->model()->rowCount(), 1) << "nine drops, 20 s apart";

    PressRow(view->DropsTable(), 3);
    Press(view->findChild<QWidget*>("Split"));
    ASSERT_EQ(view->PointsTable()->model()->rowCount(), 2);
    PressRow(view->PointsTable(), 1);
    PressRow(view->DropsTable(), 1);
    Press(view->findChild<QWidget*>("ReasonText"));
    TypeText("slipped");
    Press(view->findChild<QWidget*>("Exclude"));
    EXPECT_EQ(Cell(view->DropsTable(), 1, 7), "left out: slipped");
    EXPECT_EQ(Cell(view->PointsTable(), 1, 3), "5");

    Press(view->findChild<QWidget*>("RequireK"));
    QWidget* required = view->findChild<QWidget*>("RequiredK");
    Press(required);
    TypeKey(Qt::Key_A, Qt::ControlModifier);
    TypeText("420");
    TypeKey(Qt::Key_Return);
    EXPECT_EQ(Cell(view->PointsTable(), 0, 10), "pass"); // 424, 421, 417
    EXPECT_EQ(Cell(view->PointsTable(), 1, 10), "fail");
    EXPECT_TRUE(view->Summary()->text().contains("Lot verdict (every point): fail"));

    const QString lot = home.Path() + "/lot.json";
    view->NextPath = lot;
    PressFileMenu(&window, "Save Lot");
    ASSERT_TRUE(QFile::exists(lot));

    frmReview again(context);
    again.show();
    again.Points()->NextPath = lot;
    PressFileMenu(&again, "Open Lot...");
    const LotDocument& reopened = again.Points()->Lot().Document();
    EXPECT_EQ(reopened.Judgement.Need.K, 420.0);
    EXPECT_EQ(again.Points()->Lot().Points().size(), 2u);
    ASSERT_EQ(reopened.Edits.Choices.size(), 1u);
    EXPECT_EQ(reopened.Edits.Choices[0].Text, "slipped");
    EXPECT_TRUE(messages.Shown.empty());
    if (qEnvironmentVariableIsSet("VX_SHOTS")) // screenshots for the documentation
        window.grab().save(qEnvironmentVariable("VX_SHOTS") + "/points-view.png");
}

} // namespace
