#include "InputFile.h"

#include "FileReasons.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

QString Megabytes(qint64 bytes)
{
    const double mb = double(bytes) / (1024.0 * 1024.0);
    return mb >= 10.0 || mb == double(qint64(mb)) ? QString::number(qint64(mb))
                                                  : QString::number(mb, 'f', 1);
}

InputRead Failed(InputFault fault, const Bilingual& reason)
{
    InputRead r;
    r.Fault = fault;
    r.Reason = reason;
    return r;
}

InputRead Unreadable(int error)
{
    if (error == ENOENT)
        return Failed(InputFault::Missing, Words("ありません。", "does not exist."));
    const Bilingual why = ReasonOfError(error);
    const Bilingual text = Words("読めません (%1)。", "cannot be read (%1).");
    return Failed(InputFault::Unreadable, {text.Ja.arg(why.Ja), text.En.arg(why.En)});
}

// Names what is not a regular file.
InputRead NotAFile(mode_t mode)
{
    if (S_ISDIR(mode))
        return Failed(InputFault::NotAFile,
                      Words("フォルダです。ファイルではありません。", "is a folder, not a file."));
    if (S_ISFIFO(mode))
        return Failed(InputFault::NotAFile,
                      Words("名前付きパイプ (FIFO) です。ファイルではないので開きません。",
                            "is a FIFO (named pipe), not a file; it was not opened."));
    if (S_ISSOCK(mode))
        return Failed(InputFault::NotAFile, Words("ソケットです。ファイルではないので開きません。",
                                                  "is a socket, not a file; it was not opened."));
    return Failed(InputFault::NotAFile, Words("デバイスです。ファイルではないので開きません。",
                                              "is a device, not a file; it was not opened."));
}

InputRead TooLarge(qint64 size, const InputLimit& limit)
{
    const Bilingual text = Words("%1 MB あり、%3として読める %2 MB を超えています。読みません。",
                                 "is %1 MB, larger than the %2 MB %3 can be; it was not read.");
    const QString mb = MegabytesBeyond(size, limit.Bytes, Megabytes(size).contains('.') ? 1 : 0);
    const QString most = Megabytes(limit.Bytes);
    return Failed(InputFault::TooLarge,
                  {text.Ja.arg(mb, most, limit.What.Ja), text.En.arg(mb, most, limit.What.En)});
}

// Opens `path` for reading only when it is a regular file; a FIFO put there after the look
// is still not waited on, as the open never blocks.
int OpenRegular(const QString& path, InputRead* read)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st {
    };
    if (::stat(name.constData(), &st) != 0) {
        *read = Unreadable(errno);
        return -1;
    }
    if (!S_ISREG(st.st_mode)) {
        *read = NotAFile(st.st_mode);
        return -1;
    }
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        *read = Unreadable(errno);
        return -1;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        *read = NotAFile(st.st_mode);
        ::close(fd);
        return -1;
    }
    read->Size = st.st_size;
    return fd;
}

// Reads up to `most` bytes from `fd` at its position, into a buffer that starts at the size
// the file was said to have and grows only if it grew; false on a read error.
bool ReadUpTo(int fd, qint64 most, qint64 expected, QByteArray* bytes, InputRead* read)
{
    qint64 have = 0;
    bytes->resize(std::min(most, std::max<qint64>(expected, 0) + 1));
    while (have < most) {
        if (have == bytes->size())
            bytes->resize(std::min(most, 2 * have));
        const ssize_t n = ::read(fd, bytes->data() + have, size_t(bytes->size() - have));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            *read = Unreadable(errno);
            return false;
        }
        if (n == 0)
            break;
        have += n;
    }
    bytes->truncate(have);
    return true;
}

} // namespace

InputRead CheckInputFile(const QString& path, const InputLimit& limit)
{
    InputRead read;
    const int fd = OpenRegular(path, &read);
    if (fd < 0)
        return read;
    ::close(fd);
    if (read.Size > limit.Bytes)
        return TooLarge(read.Size, limit);
    return read;
}

InputRead ReadInputFile(const QString& path, const InputLimit& limit)
{
    InputRead read;
    const int fd = OpenRegular(path, &read);
    if (fd < 0)
        return read;
    if (read.Size > limit.Bytes) {
        ::close(fd);
        return TooLarge(read.Size, limit);
    }
    // One byte more than allowed tells a file that grew since it was looked at.
    QByteArray bytes;
    const bool ok = ReadUpTo(fd, limit.Bytes + 1, read.Size, &bytes, &read);
    ::close(fd);
    if (!ok)
        return read;
    if (bytes.size() > limit.Bytes)
        return TooLarge(bytes.size(), limit);
    read.Size = bytes.size();
    read.Bytes = std::move(bytes);
    return read;
}

InputRead ReadInputTail(const QString& path, qint64 tailBytes)
{
    InputRead read;
    const int fd = OpenRegular(path, &read);
    if (fd < 0)
        return read;
    const qint64 start = std::max<qint64>(0, read.Size - tailBytes);
    QByteArray bytes;
    const bool ok = ::lseek(fd, off_t(start), SEEK_SET) >= 0 &&
                    ReadUpTo(fd, tailBytes, read.Size - start, &bytes, &read);
    ::close(fd);
    if (!ok)
        return read.Ok() ? Unreadable(EIO) : read;
    if (start > 0) {
        const qsizetype lineStart = bytes.indexOf('\n');
        bytes.remove(0, lineStart < 0 ? 0 : lineStart + 1);
    }
    read.Bytes = std::move(bytes);
    return read;
}

QString MegabytesBeyond(qint64 size, qint64 limit, int decimals)
{
    const double mb = double(size) / (1024.0 * 1024.0), most = double(limit) / (1024.0 * 1024.0);
    QString text = QString::number(mb, 'f', decimals);
    while (text.toDouble() <= most && decimals < 6)
        text = QString::number(mb, 'f', ++decimals);
    return text;
}
