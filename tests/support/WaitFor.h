#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <QWidget>
#include <QtTest/QTest>
#include <functional>

// Waits, processing events, until `condition` holds; false after `timeoutMs`. Tests wait
// on conditions, never for a fixed time.
inline bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 10000)
{
    return QTest::qWaitFor(condition, timeoutMs);
}

// Runs `action` on the next modal dialog of type T once it is shown (e.g. to press one of
// its buttons), from inside the event loop that the dialog's exec() runs.
template <typename T> void WhenModalShown(std::function<void(T*)> action, int timeoutMs = 10000)
{
    auto* timer = new QTimer(QCoreApplication::instance()); // freed at exit if no dialog came
    QObject::connect(timer, &QTimer::timeout,
                     [timer, action, deadline = QDeadlineTimer(timeoutMs)] {
                         auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
                         if (!dialog && !deadline.hasExpired())
                             return;
                         timer->stop();
                         timer->deleteLater();
                         if (dialog)
                             action(dialog);
                     });
    timer->start(10);
}
