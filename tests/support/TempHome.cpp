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
    const std::pair<const char*, QByteArray> saved[] = {{"HOME", m_oldHome},
                                                        {"XDG_DATA_HOME", m_oldDataHome},
                                                        {"XDG_DATA_DIRS", m_oldDataDirs},
                                                        {"XDG_CONFIG_HOME", m_oldConfig}};
    for (const auto& [name, value] : saved)
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
}

void TempHome::WriteFile(const QString& relativePath, const QByteArray& bytes) const
{
    const QString path = Path() + "/" + relativePath;
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}
