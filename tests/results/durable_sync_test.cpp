#include "results/DurableAppend.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <sys/syscall.h>
#include <unistd.h>

// This executable's own fsync stands in for the C library's: it notes which file each
// call synced and what it held then, and can fail like a disk that lost the data.
namespace
{
QStringList g_synced;
bool g_failNext = false;
} // namespace

extern "C" int fsync(int fd)
{
    const QFileInfo target(QStringLiteral("/proc/self/fd/%1").arg(fd));
    g_synced << QStringLiteral("%1:%2").arg(target.symLinkTarget()).arg(target.size());
    if (g_failNext) {
        g_failNext = false;
        errno = EIO;
        return -1;
    }
    return static_cast<int>(::syscall(SYS_fsync, fd));
}

TEST(DurableAppendSync, TheWrittenLineIsSyncedBeforeTheFileIsClosedAndAFailedSyncIsNoSuccess)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("20210407.csv");
    g_synced.clear();

    DurableAppend file;
    ASSERT_TRUE(file.Open(path));
    ASSERT_TRUE(file.Write("00001,04/07/2021 13:05:09\r\n"));
    ASSERT_TRUE(file.SyncAndClose());
    // The file with its 27 bytes, then its new folder entry.
    ASSERT_GE(g_synced.size(), 1);
    EXPECT_EQ(g_synced.first(), path + ":27");

    DurableAppend again;
    g_failNext = true;
    ASSERT_TRUE(again.Open(path));
    ASSERT_TRUE(again.Write("00002,04/07/2021 13:06:10\r\n"));
    EXPECT_FALSE(again.SyncAndClose());
    EXPECT_FALSE(again.ErrorText().isEmpty());
}
