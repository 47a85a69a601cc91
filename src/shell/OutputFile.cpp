#include "OutputFile.h"

#include "DurableWrite.h"
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

// A device or FIFO: written where it is, as a shell's redirection would.
bool WriteDirectly(const QString& target, const QByteArray& bytes, Bilingual* reason)
{
    const int fd = ::open(Native(target).constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return FailWithError(reason, errno);
    const int flags = ::fcntl(fd, F_GETFL);
    const bool ok =
        flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0 && WriteWhole(fd, bytes);
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

// A regular file's new bytes, complete (and synced, unless `synced` is false) under a
// temporary name beside it; `path` is left as it was. False with the reason, nothing left
// behind, on failure.
bool StageFile(const QString& target, const struct stat* existing, const QByteArray& bytes,
               bool synced, QString* temporary, Bilingual* reason)
{
    const int fd = MakeTemporary(target, temporary);
    if (fd < 0)
        return FailWithError(reason, errno);
    bool ok = (!existing || ::fchmod(fd, existing->st_mode & 07777) == 0) &&
              WriteWhole(fd, bytes) && (!synced || ::fsync(fd) == 0);
    int error = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(Native(*temporary).constData());
        return FailWithError(reason, error);
    }
    return true;
}

// The staged file takes its name, on the disk too, so that a power cut cannot bring the old
// file back.
bool CommitFile(const QString& temporary, const QString& target, bool synced, Bilingual* reason)
{
    if (::rename(Native(temporary).constData(), Native(target).constData()) != 0) {
        const int error = errno;
        ::unlink(Native(temporary).constData());
        return FailWithError(reason, error);
    }
    if (!synced)
        return true;
    SyncFolderOf(target);
    return true;
}

bool WriteStandardOutput(const QByteArray& bytes, Bilingual* reason)
{
    return WriteWhole(STDOUT_FILENO, bytes) || FailWithError(reason, errno);
}

// A name "*.pos" (any letter case): the positions file the measurement program writes beside
// a day file, field data just as the day is.
bool IsPositionsFileName(const QString& fileName)
{
    return fileName.size() > 4 && fileName.endsWith(QLatin1String(".pos"), Qt::CaseInsensitive);
}

// Where one output goes once every refusal is passed.
struct Destination {
    enum class Kind { StandardOutput, Direct, Replace } How = Kind::Replace;
    QString Target;
    bool Exists = false;
    struct stat Existing {
    };
    QString Staged; // Replace: the complete new file under its temporary name
};

bool Check(const QString& path, const OutputRules& rules, Destination* to, Bilingual* reason)
{
    if (path.isEmpty())
        return Fail(reason, Words("ファイル名がありません", "no file name was given"));
    if (rules.StandardOutput && path == QLatin1String("-")) {
        to->How = Destination::Kind::StandardOutput;
        return true;
    }
    to->Target = FollowLinks(path);
    for (const QString& name : {QFileInfo(path).fileName(), QFileInfo(to->Target).fileName()}) {
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
    if (::stat(Native(to->Target).constData(), &to->Existing) != 0)
        return errno == ENOENT || FailWithError(reason, errno);
    to->Exists = true;
    for (const QString& input : rules.Inputs) {
        if (SameFile(to->Existing, input))
            return Fail(reason,
                        Words("読み込んだファイルの一つです", "it is one of the files read"));
    }
    const mode_t mode = to->Existing.st_mode;
    if (S_ISDIR(mode))
        return Fail(reason, Words("フォルダです", "it is a folder"));
    if (S_ISCHR(mode) || S_ISBLK(mode) || S_ISFIFO(mode))
        to->How = Destination::Kind::Direct;
    else if (!S_ISREG(mode))
        return Fail(reason, Words("ソケットです", "it is a socket"));
    return true;
}

// Two outputs of one run that would land in one place.
bool SamePlace(const Destination& a, const Destination& b)
{
    if (a.How == Destination::Kind::StandardOutput || b.How == Destination::Kind::StandardOutput)
        return a.How == b.How;
    if (a.Exists && b.Exists)
        return a.Existing.st_dev == b.Existing.st_dev && a.Existing.st_ino == b.Existing.st_ino;
    return a.Target == b.Target;
}

void Unstage(const std::vector<Destination>& to)
{
    for (const Destination& d : to)
        if (!d.Staged.isEmpty())
            ::unlink(Native(d.Staged).constData());
}

bool Deliver(const Destination& to, const QByteArray& bytes, bool synced, Bilingual* reason)
{
    switch (to.How) {
    case Destination::Kind::StandardOutput:
        return WriteStandardOutput(bytes, reason);
    case Destination::Kind::Direct:
        return WriteDirectly(to.Target, bytes, reason);
    case Destination::Kind::Replace:
        break;
    }
    return CommitFile(to.Staged, to.Target, synced, reason);
}

} // namespace

bool WriteOutputFiles(const std::vector<Output>& outputs, const OutputRules& rules, QString* failed,
                      Bilingual* reason)
{
    std::vector<Destination> to(outputs.size());
    for (size_t i = 0; i < outputs.size(); ++i) {
        *failed = outputs[i].Path;
        if (!Check(outputs[i].Path, rules, &to[i], reason))
            return false;
        for (size_t j = 0; j < i; ++j)
            if (SamePlace(to[i], to[j]))
                return Fail(reason, Words("ほかの出力と同じところです",
                                          "another output of the command goes there too"));
    }
    for (size_t i = 0; i < outputs.size(); ++i) {
        *failed = outputs[i].Path;
        Destination& d = to[i];
        if (d.How == Destination::Kind::Replace &&
            !StageFile(d.Target, d.Exists ? &d.Existing : nullptr, outputs[i].Bytes, rules.Synced,
                       &d.Staged, reason)) {
            Unstage(to);
            return false;
        }
    }
    // Devices and FIFOs cannot be staged: they are written once every file is complete, and
    // standard output last of all.
    for (const Destination::Kind kind : {Destination::Kind::Direct, Destination::Kind::Replace,
                                         Destination::Kind::StandardOutput}) {
        for (size_t i = 0; i < outputs.size(); ++i) {
            Destination& d = to[i];
            if (d.How != kind)
                continue;
            *failed = outputs[i].Path;
            const bool ok = Deliver(d, outputs[i].Bytes, rules.Synced, reason);
            d.Staged.clear();
            if (!ok) {
                Unstage(to);
                return false;
            }
        }
    }
    failed->clear();
    return true;
}

bool WriteOutputFile(const QString& path, const QByteArray& bytes, const OutputRules& rules,
                     Bilingual* reason)
{
    QString failed;
    return WriteOutputFiles({{path, bytes}}, rules, &failed, reason);
}

Bilingual CannotWrite(const QString& path, const Bilingual& reason)
{
    const QString shown = QDir::toNativeSeparators(path);
    return Bilingual{QString::fromUtf8("%1 に書き込めません: %2。").arg(shown, reason.Ja),
                     QStringLiteral("%1 cannot be written: %2.").arg(shown, reason.En)};
}
