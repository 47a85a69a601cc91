#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QApplication;

// Input that waited is dropped, not delivered late. When something holds the program's
// thread (an exchange that will not end, a disk that hangs), the presses and keys the
// operator makes meanwhile queue up and would all be delivered when it comes back: a Start
// pressed, seemingly in vain, would arm the logger minutes later. A steady tick tells how
// long the thread was held; presses and keys that come while it is held longer than HeldMs,
// or within AfterMs of its coming back, are let go. Releases and moves pass: a press let go
// makes its release press nothing.
class LateInputGuard : public QObject
{
public:
    explicit LateInputGuard(QObject* parent = nullptr);
    // Whether a press coming now would be let go.
    bool Dropping() const;

    static constexpr int TickMs = 250;
    static constexpr int HeldMs = 2000;
    static constexpr int AfterMs = 300;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Tick();

    QTimer m_tick;
    QElapsedTimer m_sinceTick;
    QElapsedTimer m_sinceHeld; // since the thread came back from being held; invalid before
};

// Guards every window of the program (Main does it).
void InstallLateInputGuard(QApplication& app);
