#include "SingleInstance.h"

#include <QDir>
#include <QStandardPaths>

QString SingleInstance::LockPath(const QString& name)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QLatin1Char('/') + name + QStringLiteral(".lock");
}

SingleInstance::SingleInstance(const QString& name)
    : m_lock(std::make_unique<QLockFile>(LockPath(name)))
{
    m_lock->setStaleLockTime(0); // only a dead owner makes a lock stale, never its age
    m_locked = m_lock->tryLock(0);
}
