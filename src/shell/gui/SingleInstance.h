#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

// Refuses a second copy of the program for the same user: a lock file in the runtime
// folder, which every copy of the same user looks in. A lock left by a crashed copy is
// recognised as stale and taken over.
class SingleInstance
{
public:
    explicit SingleInstance(const QString& name = QStringLiteral("vx2968"));
    bool AlreadyRunning() const { return !m_locked; }
    static QString LockPath(const QString& name);

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_locked = false;
};
