#include "clsMakeSpecialFolder.h"

#include "Version.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace
{
const QString ProductFolder = QString::fromLatin1(Version::Comment);
}

clsMakeSpecialFolder::clsMakeSpecialFolder() : m_resolver(&clsMakeSpecialFolder::DefaultBase) {}

clsMakeSpecialFolder::clsMakeSpecialFolder(BaseResolver resolver) : m_resolver(std::move(resolver))
{
}

QString clsMakeSpecialFolder::DefaultBase(Base base)
{
    switch (base) {
    case Base::Documents:
        return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    case Base::AppData:
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    case Base::CommonAppData: {
        // The first system-wide data folder: the list starts with the user's own.
        const QStringList all =
            QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
        return all.size() > 1 ? all.at(1) : QString();
    }
    }
    return QString();
}

QString clsMakeSpecialFolder::GetSpecialFolder(Base base) const
{
    QString path = m_resolver ? m_resolver(base) : QString();
    if (path.isEmpty())
        return QString();
    // The system creates a missing base folder when asked for it.
    QDir().mkpath(path);
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

QString clsMakeSpecialFolder::BuildPath(Base base, const QString& maker, bool create) const
{
    QString path = GetSpecialFolder(base);
    if (path.isEmpty())
        return path;
    if (!maker.isNull()) {
        path += maker + QLatin1Char('/');
        if (create)
            MakeFolder(path);
    }
    path += ProductFolder + QLatin1Char('/');
    if (create)
        MakeFolder(path);
    return path;
}

QString clsMakeSpecialFolder::GetMyDocumentsPath() const
{
    return BuildPath(Base::Documents, QString(), true);
}
QString clsMakeSpecialFolder::GetAppDataPath() const
{
    return BuildPath(Base::AppData, QString(), true);
}
QString clsMakeSpecialFolder::GetCommonAppDataPath() const
{
    return BuildPath(Base::CommonAppData, QString(), true);
}
QString clsMakeSpecialFolder::GetAppDataPath_WithNWR(const QString& maker) const
{
    return BuildPath(Base::AppData, maker.isNull() ? QStringLiteral("") : maker, true);
}
QString clsMakeSpecialFolder::GetCommonAppDataPath_WithNWR(const QString& maker) const
{
    return BuildPath(Base::CommonAppData, maker.isNull() ? QStringLiteral("") : maker, true);
}

bool clsMakeSpecialFolder::ExistsMyDocumentsPath() const
{
    const QString p = BuildPath(Base::Documents, QString(), false);
    return !p.isEmpty() && FolderExists(p);
}
bool clsMakeSpecialFolder::ExistsAppDataPath() const
{
    const QString p = BuildPath(Base::AppData, QString(), false);
    return !p.isEmpty() && FolderExists(p);
}
bool clsMakeSpecialFolder::ExistsCommonAppDataPath() const
{
    const QString p = BuildPath(Base::CommonAppData, QString(), false);
    return !p.isEmpty() && FolderExists(p);
}
bool clsMakeSpecialFolder::ExistsAppDataPath_WithNWR(const QString& maker) const
{
    const QString p = BuildPath(Base::AppData, maker.isNull() ? QStringLiteral("") : maker, false);
    return !p.isEmpty() && FolderExists(p);
}
bool clsMakeSpecialFolder::ExistsCommonAppDataPath_WithNWR(const QString& maker) const
{
    const QString p =
        BuildPath(Base::CommonAppData, maker.isNull() ? QStringLiteral("") : maker, false);
    return !p.isEmpty() && FolderExists(p);
}

bool clsMakeSpecialFolder::CopyInto(const QString& folder, const QString& source,
                                    bool overwrite) const
{
    if (folder.isEmpty())
        return true;
    return !CopyFileTo(source, folder + GetFileNamePart(source), overwrite);
}

bool clsMakeSpecialFolder::CopyFileToMyDocumentsPath(const QString& source, bool overwrite) const
{
    if (GetFileNamePart(source).isEmpty())
        return true;
    return CopyInto(GetMyDocumentsPath(), source, overwrite);
}
bool clsMakeSpecialFolder::CopyFileToAppDataPath(const QString& source, bool overwrite) const
{
    if (GetFileNamePart(source).isEmpty())
        return true;
    return CopyInto(GetAppDataPath(), source, overwrite);
}
bool clsMakeSpecialFolder::CopyFileToCommonAppDataPath(const QString& source, bool overwrite) const
{
    if (GetFileNamePart(source).isEmpty())
        return true;
    return CopyInto(GetCommonAppDataPath(), source, overwrite);
}
bool clsMakeSpecialFolder::CopyFileToAppDataPath_WithNWR(const QString& maker,
                                                         const QString& source,
                                                         bool overwrite) const
{
    if (GetFileNamePart(source).isEmpty())
        return true;
    return CopyInto(GetAppDataPath_WithNWR(maker), source, overwrite);
}
bool clsMakeSpecialFolder::CopyFileToCommonAppDataPath_WithNWR(const QString& maker,
                                                               const QString& source,
                                                               bool overwrite) const
{
    if (GetFileNamePart(source).isEmpty())
        return true;
    return CopyInto(GetCommonAppDataPath_WithNWR(maker), source, overwrite);
}

bool clsMakeSpecialFolder::MakeFolder(const QString& path)
{
    if (FolderExists(path))
        return true;
    return QDir().mkdir(path);
}

bool clsMakeSpecialFolder::CopyFileTo(const QString& source, const QString& destination,
                                      bool overwrite)
{
    if (!FileExists(source))
        return true;
    if (QFileInfo::exists(destination)) {
        if (!overwrite)
            return false;
        if (!QFile::remove(destination))
            return false;
    }
    return QFile::copy(source, destination);
}

bool clsMakeSpecialFolder::CopyFolderTo(const QString& source, const QString& destination,
                                        bool overwrite)
{
    if (!FolderExists(source))
        return true;
    QDir().mkpath(destination);
    const QDir dir(source);
    bool ok = true;
    for (const QFileInfo& entry :
         dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
        const QString target = QDir(destination).filePath(entry.fileName());
        ok = (entry.isDir() ? CopyFolderTo(entry.filePath(), target, overwrite)
                            : CopyFileTo(entry.filePath(), target, overwrite)) &&
             ok;
    }
    return ok;
}

bool clsMakeSpecialFolder::FileExists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

bool clsMakeSpecialFolder::FolderExists(const QString& path)
{
    return QFileInfo(path).isDir();
}

QString clsMakeSpecialFolder::GetFileNamePart(const QString& path)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.mid(slash + 1);
}
