#pragma once

#include <QDateTime>

// The time of day for dates in files, daily file names and test dates.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime Now() const = 0;
};

class SystemClock : public Clock
{
public:
    QDateTime Now() const override { return QDateTime::currentDateTime(); }
};

// A clock that stands still until a test moves it.
class FixedClock : public Clock
{
public:
    explicit FixedClock(QDateTime now) : m_now(std::move(now)) {}
    QDateTime Now() const override { return m_now; }
    void Set(const QDateTime& now) { m_now = now; }
    void Advance(qint64 seconds) { m_now = m_now.addSecs(seconds); }

private:
    QDateTime m_now;
};
