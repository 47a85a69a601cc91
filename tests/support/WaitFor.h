#pragma once

#include <QApplication>
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
    auto started = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, action, started, timeoutMs] {
        *started += 10;
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            action(dialog);
        } else if (*started > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(10);
}
