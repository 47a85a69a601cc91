#include "clsMakeSpecialFolder.h"

#include "Version.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString clsMakeSpecialFolder::GetSpecialFolder(Base base)
{
    QString path = QStandardPaths::writableLocation(base == Base::Documents
                                                        ? QStandardPaths::DocumentsLocation
                                                        : QStandardPaths::GenericDataLocation);
    if (path.isEmpty())
        return QString();
    // The system creates a missing base folder when asked for it.
    QDir().mkpath(path);
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

QString clsMakeSpecialFolder::BuildPath(Base base, bool create)
{
    QString path = GetSpecialFolder(base);
    if (path.isEmpty())
        return path;
    path += QString::fromLatin1(Version::Comment) + QLatin1Char('/');
    if (create && !QFileInfo(path).isDir())
        QDir().mkdir(path);
    return path;
}

QString clsMakeSpecialFolder::GetMyDocumentsPath() const
{
    return BuildPath(Base::Documents, true);
}

QString clsMakeSpecialFolder::GetAppDataPath() const
{
    return BuildPath(Base::AppData, true);
}

bool clsMakeSpecialFolder::ExistsMyDocumentsPath() const
{
    const QString p = BuildPath(Base::Documents, false);
    return !p.isEmpty() && QFileInfo(p).isDir();
}
