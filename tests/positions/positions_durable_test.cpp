// A drop's position on the disk for good: the file synced, and a new file's folder too, so
// a power cut takes neither the line nor the file's name; a disk that fills part-way
// leaves the file as it was. This executable's own fsync and write stand in for the C
// library's: fsync notes what it synced, write can run out of room part-way through.
#include "positions/PositionsRecorder.h"
#include "shell/FileReasons.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <sys/syscall.h>
#include <unistd.h>

namespace
{
QStringList g_synced;
QString g_fillsUp;    // the file whose disk fills once g_room more bytes went out
qsizetype g_room = 0; // bytes written before the disk is full

QString OpenedFile(int fd)
{
    return QFileInfo(QStringLiteral("/proc/self/fd/%1").arg(fd)).symLinkTarget();
}

const DropPosition Drop{"7", "2026/12/08 13:05:00", {{36, 140}, {}, false, {}, 0, {}}};

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

extern "C" int fsync(int fd)
{
    g_synced << OpenedFile(fd);
    return static_cast<int>(::syscall(SYS_fsync, fd));
}

extern "C" ssize_t write(int fd, const void* bytes, size_t count)
{
    if (!g_fillsUp.isEmpty() && OpenedFile(fd) == g_fillsUp) {
        if (g_room == 0) {
            errno = ENOSPC;
            return -1;
        }
        count = std::min(count, size_t(g_room));
        g_room -= qsizetype(count);
    }
    return static_cast<ssize_t>(::syscall(SYS_write, fd, bytes, count));
}

TEST(PositionsOnTheDisk, ANewFileHasItsFolderSyncedAfterItAndAnOldOneOnlyItself)
{
    QTemporaryDir dir;
    const QString folder = QFileInfo(dir.path()).canonicalFilePath();
    const QString path = folder + "/20261208.pos";
    Bilingual reason;
    for (const QStringList& synced : {QStringList{path, folder}, QStringList{path}}) {
        g_synced.clear();
        ASSERT_TRUE(AppendPosition(path, Drop, &reason)) << reason.En.toStdString();
        EXPECT_EQ(g_synced.join(' ').toStdString(), synced.join(' ').toStdString());
    }
}

TEST(PositionsOnTheDisk, ADiskFullPartWayTakesBackThePartOfTheLineThatWentOut)
{
    QTemporaryDir dir;
    const QString path = QFileInfo(dir.path()).canonicalFilePath() + "/20261208.pos";
    Bilingual reason;
    ASSERT_TRUE(AppendPosition(path, Drop, &reason));
    const QByteArray before = Contents(path);
    g_fillsUp = path;
    g_room = 10;
    EXPECT_FALSE(AppendPosition(path, Drop, &reason));
    g_fillsUp.clear();
    EXPECT_EQ(reason, ReasonOfError(ENOSPC));
    EXPECT_EQ(Contents(path), before);
}
