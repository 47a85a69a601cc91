#include "OutputFile.h"

#include "FileReasons.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

bool Fail(Bilingual* reason, const Bilingual& why)
{
    *reason = why;
    return false;
}

bool FailWithError(Bilingual* reason, int error)
{
    return Fail(reason, ReasonOfError(error));
}

QByteArray Native(const QString& path)
{
    return QFile::encodeName(path);
}

// The file a chain of symbolic links ends at (which need not exist yet).
QString FollowLinks(const QString& path)
{
    QString at = QFileInfo(path).absoluteFilePath();
    constexpr int MostLinks = 40; // the kernel's own limit
    for (int hop = 0; hop < MostLinks; ++hop) {
        struct stat st {
        };
        if (::lstat(Native(at).constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return at;
        const QString target = QFile::symLinkTarget(at);
        if (target.isEmpty())
            return at;
        at = target;
    }
    return at;
}

bool SameFile(const struct stat& a, const QString& other)
{
    struct stat st {
    };
    return ::stat(Native(other).constData(), &st) == 0 && st.st_dev == a.st_dev &&
           st.st_ino == a.st_ino;
}

bool WriteAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += n;
    }
    return true;
}

// A device or FIFO: written where it is, as a shell's redirection would.
bool WriteDirectly(const QString& target, const QByteArray& bytes, Bilingual* reason)
{
    const int fd = ::open(Native(target).constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return FailWithError(reason, errno);
    const int flags = ::fcntl(fd, F_GETFL);
    const bool ok =
        flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0 && WriteAll(fd, bytes);
    const int error = errno;
    ::close(fd);
    return ok || FailWithError(reason, error);
}

// A new file beside `target`, made with the permissions a new file gets; -1 on failure.
int MakeTemporary(const QString& target, QString* made)
{
    const QFileInfo info(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        *made = info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                QStringLiteral(".%1").arg(QRandomGenerator::global()->generate(), 8, 16,
                                          QLatin1Char('0'));
        const int fd = ::open(Native(*made).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// A regular file, new or replaced: whole or not at all.
bool ReplaceFile(const QString& target, const struct stat* existing, const QByteArray& bytes,
                 Bilingual* reason)
{
    QString temporary;
    const int fd = MakeTemporary(target, &temporary);
    if (fd < 0)
        return FailWithError(reason, errno);
    bool ok = (!existing || ::fchmod(fd, existing->st_mode & 07777) == 0) && WriteAll(fd, bytes) &&
              ::fsync(fd) == 0;
    int error = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(Native(temporary).constData(), Native(target).constData()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(Native(temporary).constData());
        return FailWithError(reason, error);
    }
    // The new name on the disk too, so that a power cut cannot bring the old file back.
    const int folder = ::open(Native(QFileInfo(target).absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

bool WriteStandardOutput(const QByteArray& bytes, Bilingual* reason)
{
    return WriteAll(STDOUT_FILENO, bytes) || FailWithError(reason, errno);
}

// A name "*.pos" (any letter case): the positions file the measurement program writes beside
// a day's results file, field data just as the day is.
bool IsPositionsFileName(const QString& fileName)
{
    return fileName.size() > 4 && fileName.endsWith(QLatin1String(".pos"), Qt::CaseInsensitive);
}

} // namespace

bool WriteOutputFile(const QString& path, const QByteArray& bytes, const OutputRules& rules,
                     Bilingual* reason)
{
    if (path.isEmpty())
        return Fail(reason, Words("ファイル名がありません", "no file name was given"));
    if (rules.StandardOutput && path == QLatin1String("-"))
        return WriteStandardOutput(bytes, reason);
    const QString target = FollowLinks(path);
    for (const QString& name : {QFileInfo(path).fileName(), QFileInfo(target).fileName()}) {
        if (DateOfDayFileName(name).isValid())
            return Fail(reason, Words("日の結果ファイルの名前 (yyyymmdd.csv) です。"
                                      "結果ファイルは測定プログラムだけが書きます",
                                      "its name is that of a day's results file (yyyymmdd.csv), "
                                      "which only the measurement program writes"));
        if (IsPositionsFileName(name))
            return Fail(reason, Words("位置ファイル (.pos) の名前です。"
                                      "位置ファイルは測定プログラムだけが書きます",
                                      "its name is that of a positions file (.pos), which only "
                                      "the measurement program writes"));
    }
    struct stat st {
    };
    if (::stat(Native(target).constData(), &st) != 0) {
        if (errno != ENOENT)
            return FailWithError(reason, errno);
        return ReplaceFile(target, nullptr, bytes, reason);
    }
    for (const QString& input : rules.Inputs) {
        if (SameFile(st, input))
            return Fail(reason,
                        Words("読み込んだファイルの一つです", "it is one of the files read"));
    }
    if (S_ISDIR(st.st_mode))
        return Fail(reason, Words("フォルダです", "it is a folder"));
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) || S_ISFIFO(st.st_mode))
        return WriteDirectly(target, bytes, reason);
    if (!S_ISREG(st.st_mode))
        return Fail(reason, Words("ソケットです", "it is a socket"));
    return ReplaceFile(target, &st, bytes, reason);
}

Bilingual CannotWrite(const QString& path, const Bilingual& reason)
{
    const QString shown = QDir::toNativeSeparators(path);
    return Bilingual{QString::fromUtf8("%1 に書き込めません: %2。").arg(shown, reason.Ja),
                     QStringLiteral("%1 cannot be written: %2.").arg(shown, reason.En)};
}
