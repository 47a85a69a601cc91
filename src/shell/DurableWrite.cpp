#include "DurableWrite.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

bool WriteWhole(int fd, const QByteArray& bytes, int stalled)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = stalled;
            return false;
        }
        done += n;
    }
    return true;
}

bool AppendWhole(int fd, const QByteArray& bytes, off_t sizeBefore)
{
    if (WriteWhole(fd, bytes, ENOSPC))
        return true;
    const int error = errno;
    if (::ftruncate(fd, sizeBefore) != 0) {
        // Nothing more can be done here; the reader skips a line it cannot read.
    }
    errno = error;
    return false;
}

void SyncFolderOf(const QString& path)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool AppendDurably(int fd, const QByteArray& bytes, off_t sizeBefore, const QString& path,
                   bool created)
{
    if (!AppendWhole(fd, bytes, sizeBefore) || ::fsync(fd) != 0)
        return false;
    if (created)
        SyncFolderOf(path);
    return true;
}
