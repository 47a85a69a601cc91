#pragma once

#include <QString>

// The system's special folders and the program's own folder inside them. Every path
// returned ends in "/". No member throws or reports a file-system failure: get members
// return the path even when a folder could not be made, empty only when the base folder
// is unknown.
class clsMakeSpecialFolder
{
public:
    QString GetMyDocumentsPath() const;
    QString GetAppDataPath() const;
    bool ExistsMyDocumentsPath() const;

private:
    enum class Base { Documents = 5, AppData = 26 };
    static QString GetSpecialFolder(Base base);
    static QString BuildPath(Base base, bool create);
};
