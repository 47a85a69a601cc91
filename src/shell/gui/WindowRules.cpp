#include "WindowRules.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFrame>
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

class ShownWindowWatcher : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow())
            ApplyWindowRules(static_cast<QWidget*>(watched));
        return false;
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
    app.installEventFilter(new ShownWindowWatcher(&app));
}
