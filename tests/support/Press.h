#pragma once

#include <QApplication>
#include <QString>
#include <QWidget>
#include <QWindow>
#include <QtTest/QTest>
#include <gtest/gtest.h>

// Presses and keys as a display delivers them. A press goes to the top-level window at a
// position, and Qt's own hit-testing picks the widget that receives it, so a label lying
// over a button takes the press exactly as it would under a real mouse. Keys go to the
// window that has the focus. Never call click() on a widget in a test: it skips all that.

// Describes a widget for failure messages: its class, object name and text.
inline QString DescribeWidget(const QWidget* widget)
{
    if (!widget)
        return QStringLiteral("nothing");
    QString name = QString::fromLatin1(widget->metaObject()->className());
    if (!widget->objectName().isEmpty())
        name += " " + widget->objectName();
    return name + " \"" + widget->property("text").toString() + "\"";
}

// The widget that a press at `pos` (in `top`'s coordinates) reaches, as Qt's hit-testing
// finds it: the deepest visible child there that does not let mouse events through.
inline QWidget* WidgetAtWindowPoint(QWidget* top, QPoint pos)
{
    QWidget* hit = top->childAt(pos);
    return hit ? hit : top;
}

// True when `hit` is `control` or lies inside it (a combo box's line edit, a view's viewport).
inline bool IsControlOrChild(const QWidget* hit, const QWidget* control)
{
    return hit && (hit == control || control->isAncestorOf(hit));
}

// Sends a press and release at `pos` of `top`'s window; `doubleClick` sends a double click.
inline void PressAtWindowPoint(QWidget* top, QPoint pos, Qt::MouseButton button = Qt::LeftButton,
                               Qt::KeyboardModifiers modifiers = {}, bool doubleClick = false)
{
    QWindow* window = top->windowHandle();
    if (!window || !top->isVisible()) {
        ADD_FAILURE() << "window " << top->windowTitle().toStdString()
                      << " is not shown, nothing can press it";
        return;
    }
    if (doubleClick)
        QTest::mouseDClick(window, button, modifiers, pos);
    else
        QTest::mouseClick(window, button, modifiers, pos);
}

// Where `control`'s centre lies in its top-level window, after checking that a press there
// reaches it. A test fails (without stopping) when the control is not shown, lies outside
// its window, or something else lies there and would take the press.
inline QPoint CentreInWindow(QWidget* control)
{
    QWidget* top = control->window();
    const QPoint pos = control->mapTo(top, control->rect().center());
    const std::string name =
        DescribeWidget(control).toStdString() + " in \"" + top->windowTitle().toStdString() + "\"";
    if (!control->isVisible())
        ADD_FAILURE() << name << " is not shown";
    else if (!top->rect().contains(pos))
        ADD_FAILURE() << name << " lies outside its window";
    else if (QWidget* hit = WidgetAtWindowPoint(top, pos); !IsControlOrChild(hit, control))
        ADD_FAILURE() << name << " is covered by " << DescribeWidget(hit).toStdString();
    return pos;
}

// Presses `control` at its centre through its top-level window. The press is delivered even
// when the check above fails, as a real display would deliver it.
inline void Press(QWidget* control, Qt::MouseButton button = Qt::LeftButton,
                  Qt::KeyboardModifiers modifiers = {})
{
    PressAtWindowPoint(control->window(), CentreInWindow(control), button, modifiers);
}

inline void DoublePress(QWidget* control)
{
    PressAtWindowPoint(control->window(), CentreInWindow(control), Qt::LeftButton, {}, true);
}

// The window that keys go to (a failure when none has the focus). A modal dialog that has
// just been shown is given the focus by the window system a moment later; keys typed at it go
// to it once it has, as they would for an operator who waits for the dialog to appear.
inline QWindow* WindowForKeys()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal->windowHandle())
        (void)QTest::qWaitFor(
            [&] { return QGuiApplication::focusWindow() == modal->windowHandle(); }, 1000);
    if (!QGuiApplication::focusWindow())
        ADD_FAILURE() << "no window has the focus for the key";
    return QGuiApplication::focusWindow();
}

// A key press and release sent to the window that has the focus now.
inline void TypeKey(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
{
    if (QWindow* window = WindowForKeys())
        QTest::keyClick(window, key, modifiers);
}

// A key held down, as X delivers it to the window that has the focus: its press, auto-repeated
// presses (each after an auto-repeated release) and its release. `pressedBefore`: the key went
// down in an earlier window and only its repeats and its release come here.
inline void HoldKey(Qt::Key key, bool pressedBefore = false)
{
    for (int i = pressedBefore ? 1 : 0; i < 4; ++i) {
        const bool press = i % 2 == 0;
        if (QWindow* window = WindowForKeys())
            QTest::simulateEvent(window, press, key, {}, QString(), i > 0 && i < 3);
    }
}

// Gives `target` the keyboard focus in its window, activated as the operator's click on it
// would, without the click (which would move a grid's selection).
inline void FocusOn(QWidget* target)
{
    target->window()->activateWindow();
    target->setFocus(Qt::OtherFocusReason);
    if (!QTest::qWaitForWindowActive(target->window()))
        ADD_FAILURE() << "window " << target->window()->windowTitle().toStdString()
                      << " did not become active";
}

// Types `text` character by character into the window that has the focus.
inline void TypeText(const QString& text)
{
    for (QChar c : text)
        if (QWindow* window = WindowForKeys())
            QTest::keyClick(window, c.toLatin1());
}
