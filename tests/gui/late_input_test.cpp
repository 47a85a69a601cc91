// Presses queued while the program's thread is held are let go when it comes back; the
// same presses queued while it answers press as ever, and so does the next press after.
#include "Press.h"
#include "WaitFor.h"
#include "shell/gui/LateInputGuard.h"

#include <QPushButton>
#include <QThread>
#include <gtest/gtest.h>

namespace
{

// A press and release at `at`, queued as a display queues them behind whatever the thread
// is doing.
void QueueClick(QWidget* window, QPoint at)
{
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QCoreApplication::postEvent(
            window->windowHandle(),
            new QMouseEvent(type, at, window->mapToGlobal(at), Qt::LeftButton,
                            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                            Qt::NoModifier));
    }
}

TEST(LateInputGuard, PressesThatWaitedWhileTheThreadWasHeldAreLetGo)
{
    const struct {
        const char* Case;
        int HeldMs;
        int Clicks;
    } cases[] = {
        {"queued while the thread answers: pressed", 0, 1},
        {"queued while it is held for longer than HeldMs: let go",
         LateInputGuard::HeldMs + LateInputGuard::TickMs + 500, 0},
    };
    LateInputGuard guard;
    qApp->installEventFilter(&guard);
    QWidget window;
    window.resize(300, 120);
    auto* start = new QPushButton(QStringLiteral("Start"), &window);
    start->setGeometry(20, 20, 120, 40);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    int clicks = 0;
    QObject::connect(start, &QPushButton::clicked, [&] { ++clicks; });
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Case);
        clicks = 0;
        bool held = false;
        QTimer::singleShot(0, [&] {
            QueueClick(&window, CentreInWindow(start));
            QThread::msleep(c.HeldMs);
            held = true;
        });
        ASSERT_TRUE(WaitFor([&] { return held && !guard.Dropping(); }));
        QCoreApplication::sendPostedEvents();
        EXPECT_EQ(clicks, c.Clicks);
        // The operator, seeing nothing happen, presses again: that press counts.
        Press(start);
        EXPECT_EQ(clicks, c.Clicks + 1);
    }
    qApp->removeEventFilter(&guard);
}

} // namespace
