#include "shell/InputFile.h"
#include "shell/OutputFile.h"

#include "SmallDisk.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

namespace
{

QStringList g_synced; // the files this executable's fsync was called on

QByteArray Read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}

void Write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

mode_t ModeOf(const QString& path)
{
    struct stat st {
    };
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode : 0;
}

} // namespace

// The C library's fsync, noted on its way.
extern "C" int fsync(int fd)
{
    g_synced << QFileInfo(QStringLiteral("/proc/self/fd/%1").arg(fd)).symLinkTarget();
    return static_cast<int>(::syscall(SYS_fsync, fd));
}

// Every kind of target an output may meet: what lands where, and what is never touched.
TEST(OutputFile, WritesWholeOrRefusesAndNeverReplacesWhatItMustNot)
{
    QTemporaryDir dir;
    const QString d = dir.path() + "/";
    Write(d + "old.csv", "old");
    ::chmod(QFile::encodeName(d + "old.csv").constData(), 0640);
    Write(d + "input.csv", "field data");
    QFile::link(d + "input.csv", d + "alias.csv");
    Write(d + "elsewhere.csv", "old");
    QFile::link(d + "elsewhere.csv", d + "link.csv");
    Write(d + "20240506.pos", "positions");
    QFile::link(d + "20240506.pos", d + "track.csv");
    QDir().mkdir(d + "folder");
    ASSERT_EQ(::mkfifo(QFile::encodeName(d + "fifo").constData(), 0600), 0);
    const QStringList inputs{d + "input.csv"};
    const struct {
        const char* Name;
        QString Path;
        QString Refused; // empty: written
        QString Holds;   // the file that must then hold the new bytes, or still hold its own
        QByteArray Expected;
        mode_t Type;
    } rows[] = {
        {"new file", d + "new.csv", "", d + "new.csv", "new", S_IFREG},
        {"regular file replaced", d + "old.csv", "", d + "old.csv", "new", S_IFREG},
        {"link followed to its file", d + "link.csv", "", d + "elsewhere.csv", "new", S_IFLNK},
        {"the input itself", "./" + QDir::current().relativeFilePath(d + "input.csv"),
         "it is one of the files read", d + "input.csv", "field data", S_IFREG},
        {"a link to the input", d + "alias.csv", "it is one of the files read", d + "input.csv",
         "field data", S_IFLNK},
        {"a day file's name", d + "20240507.csv",
         "its name is that of a day's results file (yyyymmdd.csv), which only the measurement "
         "program writes",
         "", "", 0},
        {"a positions file's name", d + "20240507.POS",
         "its name is that of a positions file (.pos), which only the measurement program "
         "writes",
         "", "", 0},
        {"a link to a positions file", d + "track.csv",
         "its name is that of a positions file (.pos), which only the measurement program "
         "writes",
         d + "20240506.pos", "positions", S_IFLNK},
        {"a folder", d + "folder", "it is a folder", "", "", S_IFDIR},
        {"a FIFO nobody reads", d + "fifo", "no program is reading from it", "", "", S_IFIFO},
        {"a device, written directly", "/dev/full", "the disk is full", "", "", S_IFCHR},
        {"the null device", "/dev/null", "", "", "", S_IFCHR},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        Bilingual reason;
        g_synced.clear();
        const bool written = WriteOutputFile(row.Path, "new", OutputRules{inputs, false}, &reason);
        if (written && row.Type == S_IFREG) { // whole on the disk before it takes the name
            EXPECT_EQ(g_synced.filter("/." + QFileInfo(row.Path).fileName() + ".").size(), 1);
        }
        EXPECT_EQ(written, row.Refused.isEmpty());
        EXPECT_EQ(reason.En, row.Refused);
        if (!row.Holds.isEmpty()) {
            EXPECT_EQ(Read(row.Holds), row.Expected);
        }
        if (row.Type != 0) {
            EXPECT_EQ(ModeOf(row.Path) & S_IFMT, row.Type);
        }
    }
    EXPECT_EQ(ModeOf(d + "old.csv") & 07777, 0640u) << "a replaced file keeps its permissions";
    EXPECT_FALSE(QFileInfo::exists(d + "20240507.csv"));
    EXPECT_FALSE(QFileInfo::exists(d + "20240507.POS"));

    // A FIFO with a reader is written where it is.
    QByteArray received;
    std::thread reader([&] { received = Read(d + "fifo"); });
    Bilingual reason;
    while (!WriteOutputFile(d + "fifo", "through", {}, &reason))
        std::this_thread::yield();
    reader.join();
    EXPECT_EQ(received, "through");
}

TEST(OutputFile, FullDiskLeavesTheOldFileAsItWasAndNothingBehind)
{
    SmallDisk disk;
    if (!disk.Mounted())
        GTEST_SKIP() << "mounting a small file system needs root";
    const QString path = disk.Path() + "/points.csv";
    Write(path, "the good file");
    disk.Fill();
    Bilingual reason;
    EXPECT_FALSE(WriteOutputFile(path, QByteArray(32 * 1024, 'p'), {}, &reason));
    EXPECT_EQ(reason.En, "the disk is full");
    EXPECT_EQ(Read(path), "the good file");
    EXPECT_EQ(disk.Entries(), QStringList{"points.csv"});
    EXPECT_EQ(CannotWrite(path, reason).En, path + " cannot be written: the disk is full.");
}

// Inputs are regular files of bounded size; nothing else is opened to block or read whole.
TEST(InputFile, RefusesWhatIsNotARegularFileOfBoundedSize)
{
    QTemporaryDir dir;
    const QString d = dir.path() + "/";
    ASSERT_EQ(::mkfifo(QFile::encodeName(d + "fifo").constData(), 0600), 0);
    Write(d + "big", QByteArray(1536 * 1024, 'b'));
    Write(d + "full", QByteArray(1024 * 1024, 'f'));
    const InputLimit limit{1024 * 1024, {"日", "a day"}};
    const struct {
        QString Path;
        InputFault Fault;
        QString Reason;
    } rows[] = {
        {d + "gone", InputFault::Missing, "does not exist."},
        {dir.path(), InputFault::NotAFile, "is a folder, not a file."},
        {d + "fifo", InputFault::NotAFile,
         "is a FIFO (named pipe), not a file; it was not opened."},
        {"/dev/zero", InputFault::NotAFile, "is a device, not a file; it was not opened."},
        {d + "big", InputFault::TooLarge,
         "is 1.5 MB, larger than the 1 MB a day can be; it was "
         "not read."},
        {d + "full", InputFault::None, ""}, // exactly the most: read
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Path.toStdString());
        const InputRead read = ReadInputFile(row.Path, limit);
        EXPECT_EQ(read.Fault, row.Fault);
        EXPECT_EQ(read.Reason.En, row.Reason);
        EXPECT_EQ(read.Bytes.size(), row.Fault == InputFault::None ? 1024 * 1024 : 0);
    }
    Write(d + "log", "first line\nsecond line\nthird\n");
    EXPECT_EQ(ReadInputTail(d + "log", 14).Bytes, "third\n") << "the tail starts at a line";
    EXPECT_EQ(ReadInputTail(d + "log", 100).Bytes, "first line\nsecond line\nthird\n");
}
