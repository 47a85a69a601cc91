#include "TempHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TempHome::TempHome()
    : m_oldHome(qgetenv("HOME")), m_oldDataHome(qgetenv("XDG_DATA_HOME")),
      m_oldDataDirs(qgetenv("XDG_DATA_DIRS")), m_oldConfig(qgetenv("XDG_CONFIG_HOME"))
{
    qputenv("HOME", m_dir.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", (m_dir.path() + "/.local/share").toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (m_dir.path() + "/.config").toLocal8Bit());
    qputenv("XDG_DATA_DIRS", (m_dir.path() + "/common").toLocal8Bit());
    QDir().mkpath(Documents());
}

TempHome::~TempHome()
{
    auto restore = [](const char* name, const QByteArray& value) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    };
    restore("HOME", m_oldHome);
    restore("XDG_DATA_HOME", m_oldDataHome);
    restore("XDG_DATA_DIRS", m_oldDataDirs);
    restore("XDG_CONFIG_HOME", m_oldConfig);
}

void TempHome::WriteFile(const QString& relativePath, const QByteArray& bytes) const
{
    const QString path = Path() + "/" + relativePath;
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}
