#include "DurableAppend.h"

#include "shell/DurableWrite.h"

#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

DurableAppend::~DurableAppend()
{
    CloseQuietly();
}

void DurableAppend::Fail(const char* what)
{
    m_error = QStringLiteral("%1: %2").arg(QString::fromLatin1(what),
                                           QString::fromLocal8Bit(std::strerror(errno)));
}

void DurableAppend::CloseQuietly()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool DurableAppend::Open(const QString& path)
{
    CloseQuietly();
    m_path = path;
    m_created = false;
    const QByteArray native = QFileInfo(path).absoluteFilePath().toLocal8Bit();
    // Read access as well, to look at the last byte already there.
    m_fd = ::open(native.constData(), O_RDWR | O_APPEND | O_CLOEXEC);
    if (m_fd < 0 && errno == ENOENT) {
        m_fd = ::open(native.constData(), O_RDWR | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        m_created = m_fd >= 0;
        if (m_fd < 0 && errno == EEXIST) // made by someone else meanwhile: append to theirs
            m_fd = ::open(native.constData(), O_RDWR | O_APPEND | O_CLOEXEC);
    }
    if (m_fd < 0) {
        Fail("open");
        return false;
    }
    struct stat st {
    };
    const bool stated = ::fstat(m_fd, &st) == 0;
    if (!stated || !S_ISREG(st.st_mode)) {
        if (stated)
            errno = EINVAL; // a device or pipe in place of the daily file
        Fail("open");
        CloseQuietly();
        return false;
    }
    m_sizeAtOpen = st.st_size;
    m_endsInsideLine = false;
    if (m_sizeAtOpen > 0) {
        char last = '\n';
        if (::pread(m_fd, &last, 1, m_sizeAtOpen - 1) == 1)
            m_endsInsideLine = last != '\n';
    }
    return true;
}

bool DurableAppend::Write(const QByteArray& bytes)
{
    if (m_fd < 0) {
        errno = EBADF;
        Fail("write");
        return false;
    }
    struct stat st {
    };
    const bool ok = ::fstat(m_fd, &st) == 0 ? AppendWhole(m_fd, bytes, st.st_size)
                                            : WriteWhole(m_fd, bytes, ENOSPC);
    if (!ok)
        Fail("write");
    return ok;
}

bool DurableAppend::SyncAndClose()
{
    if (m_fd < 0) {
        errno = EBADF;
        Fail("close");
        return false;
    }
    if (::fsync(m_fd) != 0) {
        Fail("fsync");
        return false;
    }
    // After a successful fsync the data is on the disk; an error of close itself could
    // not be repeated (the descriptor is gone either way), so it is not one.
    ::close(m_fd);
    m_fd = -1;
    if (m_created)
        SyncFolderOf(m_path); // the new name must survive a power cut, not only its data
    return true;
}

void DurableAppend::Abandon()
{
    if (m_fd >= 0 && m_sizeAtOpen >= 0) {
        if (::ftruncate(m_fd, m_sizeAtOpen) == 0)
            ::fsync(m_fd);
    }
    CloseQuietly();
    if (m_created)
        ::unlink(QFileInfo(m_path).absoluteFilePath().toLocal8Bit().constData());
    m_created = false;
}
