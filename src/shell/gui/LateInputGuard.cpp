#include "LateInputGuard.h"

#include <QApplication>
#include <QEvent>

LateInputGuard::LateInputGuard(QObject* parent) : QObject(parent)
{
    m_tick.setTimerType(Qt::PreciseTimer);
    m_tick.setInterval(TickMs);
    connect(&m_tick, &QTimer::timeout, this, &LateInputGuard::Tick);
    m_tick.start();
    m_sinceTick.start();
}

void LateInputGuard::Tick()
{
    if (m_sinceTick.elapsed() > HeldMs)
        m_sinceHeld.start();
    m_sinceTick.start();
}

bool LateInputGuard::Dropping() const
{
    // The tick late: the thread is only now coming back, and the input came before the tick
    // could tell. Or the tick told, and the input is what waited behind it.
    return m_sinceTick.elapsed() > HeldMs ||
           (m_sinceHeld.isValid() && m_sinceHeld.elapsed() < AfterMs);
}

bool LateInputGuard::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
    case QEvent::TouchBegin:
        if (Dropping())
            return true;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void InstallLateInputGuard(QApplication& app)
{
    app.installEventFilter(new LateInputGuard(&app));
}
