#include "Startup.h"

#include "FileLookup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cmath>

QString GetUserFolderPath(const clsMakeSpecialFolder& folders)
{
    return folders.GetMyDocumentsPath();
}

UiLanguage UiLanguageFromBytes(const QByteArray& bytes)
{
    // Two bytes read as one little-endian 16-bit value; a missing byte reads as zero.
    const unsigned low = bytes.size() > 0 ? static_cast<unsigned char>(bytes[0]) : 0;
    const unsigned high = bytes.size() > 1 ? static_cast<unsigned char>(bytes[1]) : 0;
    const unsigned value = low | (high << 8);
    // "J" or "j" with nothing or a zero byte after it.
    return (value == 74 || value == 106) ? UiLanguage::Japanese : UiLanguage::English;
}

UiLanguage ReadUiLanguage(const QString& userFolder)
{
    if (userFolder.isEmpty())
        return UiLanguage::English;
    const QString path = FindIgnoringCase(userFolder, QStringLiteral("fwdstr.ini"));
    QFile file(path);
    if (!QFileInfo(path).isFile())
        return UiLanguageFromBytes(QByteArray("5")); // no file: English
    // A file that exists but cannot be read selects English, like a missing one.
    if (!file.open(QIODevice::ReadOnly))
        return UiLanguage::English;
    return UiLanguageFromBytes(file.read(2));
}

bool FolderExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

bool EnsureFolder(const QString& path)
{
    if (FolderExists(path))
        return true;
    return QDir().mkdir(path);
}

QString MakeDataFolder(const QString& userFolder)
{
    const QString path = FindIgnoringCase(userFolder, QStringLiteral("data"));
    EnsureFolder(path);
    return path + QLatin1Char('/');
}

bool IsInstalledProgramFolder(const QString& folder)
{
    // A program installed by the package manager lives in the system's folders. Root can
    // write there, so writability alone would put fwd.rs into /usr/bin.
    for (const char* system : {"/usr/", "/opt/", "/bin/", "/sbin/"}) {
        if (folder.startsWith(QLatin1String(system)))
            return true;
    }
    return false;
}

QString ResolveAppFolder(const QString& executableFolder, const clsMakeSpecialFolder& folders)
{
    QString folder = executableFolder;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    const QFileInfo info(folder);
    if (info.isDir() && info.isWritable() && !IsInstalledProgramFolder(folder))
        return folder;
    const QString perUser = folders.GetAppDataPath();
    return perUser.isEmpty() ? folder : perUser;
}

void InitGlobals(Globals& g, const QString& executableFolder, const clsMakeSpecialFolder& folders)
{
    InitGlobalValues(g);
    g.AppFolder = ResolveAppFolder(executableFolder, folders);
    QDir::setCurrent(g.AppFolder);
    const QString besideProgram = FindIgnoringCase(g.AppFolder, QStringLiteral("DATA"));
    if (!FolderExists(besideProgram))
        QDir().mkdir(besideProgram); // may fail in a protected folder; nothing relies on it
}

int32_t ComputeCaptionHeightExtra(int captionPixels, double twipsPerPixel)
{
    return captionPixels * static_cast<int32_t>(std::lround(twipsPerPixel)) - 285;
}
