// Every control of every window answers the operator's hand, in every state the window
// shows: a press anywhere on it reaches it (no label or picture lies over it), Tab visits the
// controls in the order they stand on the screen and leaves a grid, Space presses a command,
// and so does Enter wherever the window gives Enter no meaning of its own; a key held down
// presses once, and no key presses a button it does not stand on.
#include "LargeOffscreenScreen.h"
#include "Press.h"
#include "ScriptedLink.h"
#include "SimProcess.h"
#include "TempHome.h"
#include "TestContext.h"
#include "WaitFor.h"
#include "logger/BalanceAndMeasNo.h"
#include "screens/gui/frmInitial.h"
#include "screens/gui/frmList.h"
#include "screens/gui/frmMemoryCardData2.h"
#include "screens/gui/frmNo.h"
#include "screens/gui/frmStart.h"
#include "serial/QSerialLink.h"
#include "serial/gui/frmRS232C.h"
#include "serial/gui/frmRSTest.h"
#include "shell/GridModel.h"
#include "shell/gui/GridView.h"
#include "shell/gui/QtMessageSink.h"
#include "shell/gui/WindowRules.h"
#include "shell/gui/frmAbout.h"
#include "shell/gui/frmMainMenu.h"
#include "shell/gui/frmSelDebug.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
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

// What Enter does on a control of the window.
enum class EnterKey {
    Presses,    // a focused button, and nothing anywhere else
    MovesOn,    // to the next control, as Tab does (the RS-232C window)
    CommandLine // nothing but the test terminal's command
};

// Keys that are no grid's command: they neither press a button, nor close the window, nor
// change the selection.
void ExpectGridKeysDoNothing(QWidget* window, GridView* grid, const int& presses,
                             const std::string& where)
{
    if (grid->Model()->Rows() < 2 || grid->Model()->Cols() < 2)
        return;
    grid->Model()->SetSelection(0, 0, 1, 1);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_Escape,
                        Qt::Key_Delete, Qt::Key_F2, Qt::Key_D, Qt::Key_5}) {
        TypeKey(key);
        EXPECT_TRUE(window->isVisible() && grid->hasFocus()) << where << ": key " << key;
        EXPECT_EQ(grid->selectionModel()->selectedIndexes().size(), 4) << where << ": key " << key;
    }
    EXPECT_EQ(presses, 0) << where << ": a key typed in the grid pressed a button";
}

// A press at the centre and just inside the corners of every control reaches it; Tab from
// the first control visits every one in screen order and comes round again; Space held
// presses a command once, and so does Enter held where it presses; keys typed in a grid or
// on the form itself press nothing. The window's handlers are cut off first, so that a
// press only counts.
void ExpectOperatorsHand(QWidget* window, const std::string& state,
                         EnterKey enter = EnterKey::Presses)
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
    int presses = 0;
    QObject counter;
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        QObject::disconnect(button, &QAbstractButton::clicked, nullptr, nullptr);
        QObject::connect(button, &QAbstractButton::clicked, &counter, [&presses] { ++presses; });
    }
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
        if (i == order.size())
            break;
        presses = 0;
        const bool isButton = qobject_cast<QAbstractButton*>(expected);
        const bool enterPresses =
            qobject_cast<QPushButton*>(expected) && enter == EnterKey::Presses;
        if (auto* grid = qobject_cast<GridView*>(expected))
            ExpectGridKeysDoNothing(window, grid, presses, where);
        if (isButton)
            HoldKey(Qt::Key_Space);
        if (enter == EnterKey::Presses || (enter == EnterKey::CommandLine && isButton))
            HoldKey(Qt::Key_Return);
        EXPECT_EQ(presses, int(isButton) + int(enterPresses))
            << where << ": Space or Enter held on " << Named(expected);
        // A grid lets the focus go from its last cell on.
        if (auto* grid = qobject_cast<QAbstractItemView*>(expected); grid && grid->model())
            grid->setCurrentIndex(grid->model()->index(grid->model()->rowCount() - 1,
                                                       grid->model()->columnCount() - 1));
        TypeKey(enter == EnterKey::MovesOn ? Qt::Key_Return : Qt::Key_Tab);
    }
    // No default button: Enter on the form itself presses nothing.
    presses = 0;
    window->setFocus();
    TypeKey(Qt::Key_Return);
    TypeKey(Qt::Key_Enter);
    EXPECT_EQ(presses, 0) << where << ": Enter on the form pressed a button";
    for (const QPushButton* button : window->findChildren<QPushButton*>())
        EXPECT_FALSE(button->isDefault()) << where << ": " << Named(button) << " looks default";
    window->hide(); // a modal window left shown would keep the keys from the next
}

struct State {
    const char* Name;
    UiLanguage Language;
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
        ExpectOperatorsHand(&port, s.Name, EnterKey::MovesOn);
    }
    {
        frmRSTest terminal(context);
        terminal.show();
        if (s.Channels)
            ASSERT_TRUE(WaitFor([&] { return terminal.txtOutput->isEnabled(); }, 15000));
        else
            terminal.Timer1.stop(); // as it stands before it finds no logger and closes
        ExpectOperatorsHand(&terminal, s.Name, EnterKey::CommandLine);
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

constexpr UiLanguage En = UiLanguage::English, Ja = UiLanguage::Japanese;

INSTANTIATE_TEST_SUITE_P(
    States, EveryWindow,
    testing::Values(State{"English, not connected", En, nullptr, false, false},
                    State{"English, 2 channels", En, "1,2", false, false},
                    State{"English, 3 channels, results", En, "1,2,3", false, true},
                    State{"English, debug mode, results", En, nullptr, true, true},
                    State{"English, 6 channels, results", En, "1,2,3,4,5,6", false, true},
                    State{"Japanese, not connected, results", Ja, nullptr, false, true},
                    State{"Japanese, 2 channels, results", Ja, "1,2", false, true},
                    State{"Japanese, 3 channels", Ja, "1,2,3", false, false},
                    State{"Japanese, 4 channels", Ja, "1,2,4,6", false, false},
                    State{"Japanese, debug mode", Ja, nullptr, true, false},
                    State{"Japanese, 6 channels, results", Ja, "1,2,3,4,5,6", false, true}),
    [](const testing::TestParamInfo<State>& info) { return "State" + std::to_string(info.index); });

// The run form, the balance confirmation and the message boxes answer their own commands only:
// a key held since the window before presses nothing, Enter on Start arms the run and the next
// Enter does not cancel it, Escape and the close box are the cancel command, and the debug form
// offers that command alone.
TEST(RunFormAndBalance, OnlyTheirOwnCommandsAct)
{
    enum Act { HeldSinceBefore, StartByEnter, Escape, CloseBox };
    const struct {
        const char* Name;
        int16_t Debug;
        const char* MeasNo; // the reply to MNO?
        Act Action;
        bool Open;        // the form is still open after it
        const char* Sent; // after the form's opening
    } rows[] = {
        {"held Enter", 0, "12", HeldSinceBefore, true, ""},
        {"Start by Enter", 0, "ERR-001", StartByEnter, true, "RES SET1 SET2 MDT TRM21 BAL DTG"},
        {"Escape", 0, "12", Escape, false, "RES RES SET1 SET2"},
        {"close box", 0, "12", CloseBox, false, "RES RES SET1 SET2"},
        {"debug, Escape", 1, "12", Escape, false, ""},
    };
    TempHome home;
    RecordingMessages messages;
    FixedClock clock{QDateTime(QDate(2024, 5, 1), QTime(10, 15, 0))};
    ResultsContext context;
    PrepareContext(context, home, messages, clock);
    ScriptedLink link;
    link.Otherwise = [](const QString&) { return QStringLiteral("0"); };
    context.Link = &link;
    context.Logger.TriggerChannel = 1;
    context.Logger.Channel[1].Active = context.Logger.Channel[2].Active = true;
    for (const auto& r : rows) {
        SCOPED_TRACE(r.Name);
        link.On("MNO?", r.MeasNo);
        context.G.DebugMode = r.Debug;
        frmStart run(context);
        run.Interval.stop(); // the test takes the steps, not the clock
        run.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&run));
        EXPECT_EQ(run.lblFileNo->text(), r.Debug ? "200" : r.MeasNo[0] == 'E' ? "" : r.MeasNo);
        EXPECT_EQ(run.cmdStart->isVisible(), r.MeasNo[0] == 'E');
        EXPECT_TRUE(run.cmdCancel->isVisible());
        link.Sent.clear();
        if (r.Action == HeldSinceBefore) {
            HoldKey(Qt::Key_Return, true);
        } else if (r.Action == StartByEnter) {
            FocusOn(run.cmdStart);
            HoldKey(Qt::Key_Return);
            TypeKey(Qt::Key_Return);
            EXPECT_TRUE(run.Run().Armed());
        } else if (r.Action == Escape) {
            TypeKey(Qt::Key_Escape);
        } else {
            run.windowHandle()->close();
        }
        EXPECT_EQ(run.isVisible(), r.Open);
        EXPECT_EQ(QStringList(link.Sent.begin(), link.Sent.end()).join(' '), r.Sent);
        EXPECT_EQ(run.Outcome(), RunOutcome::Cancelled);
    }
    // The balance confirmation: Enter held since the window before, then the close box.
    frmInitial balance(context);
    balance.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&balance));
    HoldKey(Qt::Key_Return, true);
    EXPECT_TRUE(balance.isVisible());
    balance.windowHandle()->close();
    EXPECT_FALSE(balance.isVisible());
    EXPECT_EQ(balance.BalanceChoice(), BalanceCancel);
    // A message box: Enter held since the window before presses nothing, a new Enter Retry.
    bool heldThrough = false;
    WhenModalShown<QMessageBox>([&](QMessageBox* box) {
        HoldKey(Qt::Key_Return, true);
        heldThrough = box->isVisible();
        TypeKey(Qt::Key_Return);
    });
    const UiMessage retry{Both("File"), Both("Retry?"), MessageButtons::RetryCancel};
    EXPECT_EQ(QtMessageSink(UiLanguage::English).Show(retry), MessageAnswer::Retry);
    EXPECT_TRUE(heldThrough);
}

} // namespace
