#pragma once

#include <QString>
#include <functional>

// The system's special folders and the program's own folders inside them. Every path
// returned ends in "/". No member throws or reports a file-system failure: get members
// return the path even when a folder could not be made, empty only when the base folder
// is unknown.
class clsMakeSpecialFolder
{
public:
    enum class Base { Documents = 5, AppData = 26, CommonAppData = 35 };
    // Maps a base to its folder (without trailing "/"), or an empty text when the
    // system has none. The default asks QStandardPaths.
    using BaseResolver = std::function<QString(Base)>;

    clsMakeSpecialFolder();
    explicit clsMakeSpecialFolder(BaseResolver resolver);

    QString GetMyDocumentsPath() const;
    QString GetAppDataPath() const;
    QString GetCommonAppDataPath() const;
    QString GetAppDataPath_WithNWR(const QString& maker) const;
    QString GetCommonAppDataPath_WithNWR(const QString& maker) const;

    bool ExistsMyDocumentsPath() const;
    bool ExistsAppDataPath() const;
    bool ExistsCommonAppDataPath() const;
    bool ExistsAppDataPath_WithNWR(const QString& maker) const;
    bool ExistsCommonAppDataPath_WithNWR(const QString& maker) const;

    // true when the file was NOT copied, false when it was (a missing source counts as
    // copied, as the system has always reported it).
    bool CopyFileToMyDocumentsPath(const QString& source, bool overwrite) const;
    bool CopyFileToAppDataPath(const QString& source, bool overwrite) const;
    bool CopyFileToCommonAppDataPath(const QString& source, bool overwrite) const;
    bool CopyFileToAppDataPath_WithNWR(const QString& maker, const QString& source,
                                       bool overwrite) const;
    bool CopyFileToCommonAppDataPath_WithNWR(const QString& maker, const QString& source,
                                             bool overwrite) const;

    static QString DefaultBase(Base base);

private:
    QString GetSpecialFolder(Base base) const;
    QString BuildPath(Base base, const QString& maker, bool create) const;
    bool CopyInto(const QString& folder, const QString& source, bool overwrite) const;
    static bool MakeFolder(const QString& path);
    static bool CopyFileTo(const QString& source, const QString& destination, bool overwrite);
    static bool CopyFolderTo(const QString& source, const QString& destination, bool overwrite);
    static bool FileExists(const QString& path);
    static bool FolderExists(const QString& path);
    static QString GetFileNamePart(const QString& path);

    BaseResolver m_resolver;
};
