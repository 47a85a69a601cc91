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

// Describes a widget for failure messages: its class and object name, and its text if any.
inline QString DescribeWidget(const QWidget* widget)
{
    if (!widget)
        return QStringLiteral("nothing");
    QString text = widget->property("text").toString();
    QString name =
        widget->objectName().isEmpty() ? QString() : QLatin1Char(' ') + widget->objectName();
    return QString::fromLatin1(widget->metaObject()->className()) + name +
           (text.isEmpty() ? QString() : QStringLiteral(" \"%1\"").arg(text));
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

// Presses `control` at its centre through its top-level window. A test fails (without
// stopping) when something else lies there and takes the press; the press is still
// delivered, as a real display would deliver it.
inline void Press(QWidget* control, Qt::MouseButton button = Qt::LeftButton,
                  Qt::KeyboardModifiers modifiers = {})
{
    QWidget* top = control->window();
    QPoint pos = control->mapTo(top, control->rect().center());
    QWidget* hit = WidgetAtWindowPoint(top, pos);
    if (!IsControlOrChild(hit, control))
        ADD_FAILURE() << DescribeWidget(control).toStdString() << " in "
                      << top->windowTitle().toStdString() << " is covered by "
                      << DescribeWidget(hit).toStdString();
    PressAtWindowPoint(top, pos, button, modifiers);
}

inline void DoublePress(QWidget* control)
{
    QWidget* top = control->window();
    PressAtWindowPoint(top, control->mapTo(top, control->rect().center()), Qt::LeftButton, {},
                       true);
}

// A key press and release sent to the window that has the focus now.
inline void TypeKey(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
{
    QWindow* window = QGuiApplication::focusWindow();
    if (!window) {
        ADD_FAILURE() << "no window has the focus for the key";
        return;
    }
    QTest::keyClick(window, key, modifiers);
}

// Types `text` character by character into the window that has the focus.
inline void TypeText(const QString& text)
{
    for (QChar c : text) {
        QWindow* window = QGuiApplication::focusWindow();
        if (!window) {
            ADD_FAILURE() << "no window has the focus for the text";
            return;
        }
        QTest::keyClick(window, c.toLatin1());
    }
}
