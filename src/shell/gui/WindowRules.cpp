#include "WindowRules.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QWidget>

namespace
{

bool IsDisplayOnly(const QObject* object)
{
    return qobject_cast<const QLabel*>(object) || qobject_cast<const QProgressBar*>(object) ||
           object->metaObject() == &QFrame::staticMetaObject;
}

// Lowers the display-only children of `parent` beneath all their siblings. A parent's
// children are listed bottom first; lowering them from the top down keeps their own order.
void LowerDisplayOnlyChildren(QWidget* parent)
{
    QList<QWidget*> displayOnly;
    for (QObject* child : parent->children()) {
        if (child->isWidgetType() && IsDisplayOnly(child) &&
            !static_cast<QWidget*>(child)->isWindow())
            displayOnly << static_cast<QWidget*>(child);
    }
    for (auto it = displayOnly.rbegin(); it != displayOnly.rend(); ++it)
        (*it)->lower();
}

bool IsEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// The keys that press a button or cancel a form.
bool IsPressingKey(int key)
{
    return IsEnter(key) || key == Qt::Key_Space || key == Qt::Key_Select || key == Qt::Key_Escape;
}

// Keys reach this filter once for every widget they are offered to, the focused one first,
// then each parent that the ones before it left the key to.
bool IsDroppedKey(const QObject* receiver, const QKeyEvent* key)
{
    if (key->isAutoRepeat() && IsPressingKey(key->key()))
        return true;
    // A dialog itself presses its default button on Enter.
    return key->type() == QEvent::KeyPress && IsEnter(key->key()) &&
           qobject_cast<const QDialog*>(receiver);
}

// A dialog draws a button as its default while the focus is elsewhere (the first button at
// first, and the last one that had the focus once the focus has left it). Enter would not press
// it: only the button that takes the focus now looks as if it would.
void ShowNoDefaultButton(QWidget* focused)
{
    for (QPushButton* button : focused->window()->findChildren<QPushButton*>()) {
        if (button != focused)
            button->setDefault(false);
    }
}

class OperatorHandRules : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::Show:
            if (watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow())
                ApplyWindowRules(static_cast<QWidget*>(watched));
            return false;
        case QEvent::FocusIn:
            if (watched->isWidgetType())
                ShowNoDefaultButton(static_cast<QWidget*>(watched));
            return false;
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            return IsDroppedKey(watched, static_cast<QKeyEvent*>(event));
        default:
            return false;
        }
    }
};

} // namespace

void ApplyWindowRules(QWidget* window)
{
    LowerDisplayOnlyChildren(window);
    const QList<QWidget*> widgets = window->findChildren<QWidget*>();
    for (QWidget* widget : widgets)
        LowerDisplayOnlyChildren(widget);
    // A dialog already presses its focused button on Enter (and keeps that choice to itself).
    if (!qobject_cast<QDialog*>(window)) {
        for (QWidget* widget : widgets) {
            if (auto* button = qobject_cast<QPushButton*>(widget);
                button && button->window() == window)
                button->setAutoDefault(true);
        }
    }
}

void InstallWindowRules(QApplication& app)
{
    app.installEventFilter(new OperatorHandRules(&app));
}
