// Every control of every window answers the operator's hand, in every state the window
// shows: a press anywhere on it reaches it (no label or picture lies over it), Tab visits the
// controls in the order they stand on the screen and leaves a grid, Space presses a command,
// and so does Enter wherever the window gives Enter no meaning of its own.
#include "LargeOffscreenScreen.h"
#include "Press.h"
#include "SimProcess.h"
#include "TempHome.h"
#include "TestContext.h"
#include "WaitFor.h"
#include "screens/gui/frmInitial.h"
#include "screens/gui/frmList.h"
#include "screens/gui/frmMemoryCardData2.h"
#include "screens/gui/frmNo.h"
#include "screens/gui/frmStart.h"
#include "serial/QSerialLink.h"
#include "serial/gui/frmRS232C.h"
#include "serial/gui/frmRSTest.h"
#include "shell/gui/WindowRules.h"
#include "shell/gui/frmAbout.h"
#include "shell/gui/frmMainMenu.h"
#include "shell/gui/frmSelDebug.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <algorithm>
#include <gtest/gtest.h>

namespace
{

// What the operator presses, types into or selects in, shown and enabled.
QList<QWidget*> ShownControls(QWidget* window)
{
    QList<QWidget*> controls;
    for (QWidget* w : window->findChildren<QWidget*>())
        if ((qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) ||
             qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
             qobject_cast<QAbstractItemView*>(w)) &&
            !qobject_cast<QHeaderView*>(w) && !qobject_cast<QComboBox*>(w->parent()) &&
            w->window() == window && w->isVisible() && w->isEnabled())
            controls << w;
    return controls;
}

// Rows top to bottom, each left to right: a control whose top edge lies above the middle of
// a row's first control stands in that row.
QList<QWidget*> InScreenOrder(QList<QWidget*> controls)
{
    const auto place = [](QWidget* w) { return QRect(w->mapTo(w->window(), QPoint()), w->size()); };
    std::sort(controls.begin(), controls.end(),
              [&](QWidget* a, QWidget* b) { return place(a).top() < place(b).top(); });
    for (auto row = controls.begin(); row != controls.end();) {
        const int middle = place(*row).center().y();
        const auto end =
            std::find_if(row, controls.end(), [&](QWidget* w) { return place(w).top() > middle; });
        std::sort(row, end,
                  [&](QWidget* a, QWidget* b) { return place(a).left() < place(b).left(); });
        row = end;
    }
    return controls;
}

std::string Named(const QWidget* w)
{
    return w ? DescribeWidget(w).toStdString() : "the window's edge";
}

// A press at the centre and just inside the corners of every control reaches it; Tab from
// the first control visits every one in screen order and comes round again; Space presses a
// command, and so does Enter unless `enterMeansMore`. The window's handlers are cut off
// first, so that a press only counts.
void ExpectOperatorsHand(QWidget* window, const std::string& state, bool enterMeansMore = false)
{
    window->show();
    const std::string where = window->metaObject()->className() + (", " + state);
    QList<QWidget*> order;
    for (QWidget* control : ShownControls(window)) {
        const QRect in = control->rect().adjusted(2, 2, -3, -3);
        for (const QPoint& point :
             {in.center(), in.topLeft(), in.topRight(), in.bottomLeft(), in.bottomRight()}) {
            const QPoint at = control->mapTo(window, point);
            const QWidget* hit =
                window->rect().contains(at) ? WidgetAtWindowPoint(window, at) : nullptr;
            EXPECT_TRUE(IsControlOrChild(hit, control))
                << where << ": " << Named(control) << " at " << point.x() << "," << point.y()
                << " is covered by " << Named(hit);
        }
        if (control->focusPolicy() & Qt::TabFocus)
            order << control;
        else
            EXPECT_FALSE(qobject_cast<QAbstractButton*>(control))
                << where << ": Tab never reaches " << Named(control);
    }
    order = InScreenOrder(order);
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
        QObject::disconnect(button, &QAbstractButton::clicked, nullptr, nullptr);
    const auto focused = [&order] {
        for (QWidget* control : order)
            if (IsControlOrChild(QApplication::focusWidget(), control))
                return control;
        return QApplication::focusWidget();
    };
    if (!order.isEmpty())
        FocusOn(order[0]);
    for (qsizetype i = 0; i <= order.size() && !order.isEmpty(); ++i) {
        QWidget* expected = order[i % order.size()];
        ASSERT_EQ(focused(), expected) << where << ": Tab went to " << Named(focused()) << " where "
                                       << Named(expected) << " stands next";
        if (auto* button = qobject_cast<QAbstractButton*>(expected); button && i < order.size()) {
            QSignalSpy presses(button, &QAbstractButton::clicked);
            TypeKey(Qt::Key_Space);
            if (qobject_cast<QPushButton*>(button) && !enterMeansMore)
                TypeKey(Qt::Key_Return);
            EXPECT_EQ(presses.size(), qobject_cast<QPushButton*>(button) && !enterMeansMore ? 2 : 1)
                << where << ": Space or Enter does not press " << Named(button);
        }
        // A grid lets the focus go from its last cell on.
        if (auto* grid = qobject_cast<QAbstractItemView*>(expected); grid && grid->model())
            grid->setCurrentIndex(grid->model()->index(grid->model()->rowCount() - 1,
                                                       grid->model()->columnCount() - 1));
        TypeKey(Qt::Key_Tab);
    }
    window->hide(); // a modal window left shown would keep the keys from the next
}

struct State {
    const char* Name;
    int16_t Language;     // 0 Japanese, 1 English
    const char* Channels; // the simulated logger's channels; null: no logger on the line
    bool Debug;           // debug mode: no logger, four simulated channels
    bool Results;         // today's file holds results: the grid shows rows, Print is offered
};

class EveryWindow : public testing::TestWithParam<State>
{
};

TEST_P(EveryWindow, EveryControlAnswersTheMouseAndTheKeys)
{
    const State& s = GetParam();
    TempHome home; // first: the simulator's port link goes below this HOME
    SimProcess sim;
    ResultsContext context;
    RecordingMessages messages;
    FixedClock clock{QDateTime(QDate(2024, 5, 1), QTime(10, 15, 0))};
    PrepareContext(context, home, messages, clock, s.Language);
    context.G.DebugMode = s.Debug ? 1 : 0;
    if (s.Channels) {
        ASSERT_TRUE(sim.Start({"--com", "1", "--channels", s.Channels, "--no-pace"}))
            << sim.ErrorText().toStdString();
    }
    if (s.Results)
        home.WriteFile("Documents/VX-2968/data/20240501.csv",
                       "Dia=300,Poi=0.350\r\nheading\r\n"
                       "00003,2024/05/01 08:00:00,30000,1.000,300,60,0.500,0.250,0.2,0.1,,BO\r\n"
                       "00004,2024/05/01 08:10:00,20000,0.500,566,117,0.400,0.200,0.2,0.1,,BO\r\n");
    QSerialLink link(context.Port, context.UserFolder, messages);
    context.Link = &link;
    const bool connected = s.Channels || s.Debug;
    {
        const frmMainMenu::ScreenOpener none = [](AppContext&) { return nullptr; };
        int16_t debugMode = context.G.DebugMode;
        frmMainMenu menu(context, none, none);
        frmAbout about(context.G);
        frmSelDebug debug(debugMode);
        frmRS232C port(context);
        for (QWidget* window : std::initializer_list<QWidget*>{&menu, &about, &debug})
            ExpectOperatorsHand(window, s.Name);
        ExpectOperatorsHand(&port, s.Name, true); // Enter moves on as Tab does
    }
    {
        frmRSTest terminal(context);
        terminal.show();
        if (s.Channels)
            ASSERT_TRUE(WaitFor([&] { return terminal.txtOutput->isEnabled(); }, 15000));
        else
            terminal.Timer1.stop(); // as it stands before it finds no logger and closes
        ExpectOperatorsHand(&terminal, s.Name, true); // Enter sends the typed command
        terminal.reject();
    }
    const auto screen = std::make_unique<frmMemoryCardData2>(context);
    screen->show();
    if (connected) {
        ASSERT_TRUE(WaitFor(
            [&] {
                return screen->cmdMeasure->isVisible() &&
                       (!s.Results || screen->cmdPrint->isVisible());
            },
            30000))
            << "the screen did not connect";
    }
    screen->Interval.stop(); // the monitor rests while the screen is looked at
    ExpectOperatorsHand(screen.get(), s.Name);
    frmNo number(context);
    ExpectOperatorsHand(&number, s.Name);
    if (connected) {
        frmInitial balance(context);
        frmList settings(context);
        frmStart run(context);
        run.Interval.stop();
        for (QWidget* window : std::initializer_list<QWidget*>{&balance, &settings, &run})
            ExpectOperatorsHand(window, s.Name);
    }
    screen->close();
}

INSTANTIATE_TEST_SUITE_P(
    States, EveryWindow,
    testing::Values(State{"English, not connected", 1, nullptr, false, false},
                    State{"English, 2 channels", 1, "1,2", false, false},
                    State{"English, 3 channels, results", 1, "1,2,3", false, true},
                    State{"English, debug mode, results", 1, nullptr, true, true},
                    State{"English, 6 channels, results", 1, "1,2,3,4,5,6", false, true},
                    State{"Japanese, not connected, results", 0, nullptr, false, true},
                    State{"Japanese, 2 channels, results", 0, "1,2", false, true},
                    State{"Japanese, 3 channels", 0, "1,2,3", false, false},
                    State{"Japanese, 4 channels", 0, "1,2,4,6", false, false},
                    State{"Japanese, debug mode", 0, nullptr, true, false},
                    State{"Japanese, 6 channels, results", 0, "1,2,3,4,5,6", false, true}),
    [](const testing::TestParamInfo<State>& info) { return "State" + std::to_string(info.index); });

} // namespace
