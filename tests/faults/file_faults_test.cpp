// The fault campaign on the files of a test day, driven through the real measurement screen
// against the logger simulator: a data folder that cannot be written and then can, a disk
// that fills, a day file cut in the middle of a line or grown to 100,000 lines, and
// fwd.rs and fwdstr.ini of shapes no settings window writes.
#include "ScreenOnSimulator.h"
#include "serial/PortSettings.h"
#include "shell/Startup.h"

#include <QDir>
#include <QFileInfo>
#include <sys/mount.h>
#include <sys/stat.h>

namespace
{

enum Trouble { CutLine, Huge, NotWritable, FullDisk };

struct MeasureRow {
    const char* Name;
    Trouble What;
    bool Asked; // a Retry / Cancel box, answered with Answer
    MessageAnswer Answer;
    bool Stored;         // the new line follows the kept ones; else the file is as it was
    bool Earlier = true; // today's file holds results before the drop
};

void PrintTo(const MeasureRow& r, std::ostream* os)
{
    *os << r.Name;
}

const MeasureRow MeasureRows[] = {
    {"results file cut in the middle of a line", CutLine, false, MessageAnswer::Ok, true},
    {"results file of 100,000 lines", Huge, false, MessageAnswer::Ok, true},
    {"data folder not writable, then writable", NotWritable, true, MessageAnswer::Retry, true},
    {"disk full, space freed", FullDisk, true, MessageAnswer::Retry, true},
    {"disk full, cancelled", FullDisk, true, MessageAnswer::Cancel, false},
    {"first of the day, folder not writable, cancelled", NotWritable, true, MessageAnswer::Cancel,
     false, false},
};

class MeasuringOnABadDay : public ScreenOnSimulator, public testing::WithParamInterface<MeasureRow>
{
protected:
    void TearDown() override
    {
        ScreenOnSimulator::TearDown();
        if (mounted)
            ::umount2(QFile::encodeName(context.G.DataFolder).constData(), MNT_DETACH);
    }
    bool mounted = false;
};

TEST_P(MeasuringOnABadDay, AsksRetryWhereItMustAndNeverLosesOrHalvesALine)
{
    const MeasureRow& c = GetParam();
    const QString data = home.UserFolder() + "data";
    QByteArray before = c.Earlier ? StoredResults : QByteArray();
    if (c.What == CutLine)
        before += "00004,05/01/2024 09:1";
    if (c.What == Huge) {
        for (int i = 0; i < 100000; ++i)
            before += QByteArray::number(i).rightJustified(5, '0') +
                      ",05/01/2024 09:00:00,7000,0.521,44.8,50.0,,,,,,BU\r\n";
    }
    if (c.What == FullDisk) {
        // A small filesystem in place of the data folder.
        mounted = ::mount("tmpfs", QFile::encodeName(context.G.DataFolder).constData(), "tmpfs", 0,
                          "size=64k") == 0;
        if (!mounted)
            GTEST_SKIP() << "no small filesystem can be mounted here (not root, or no tmpfs)";
        // The day's file fills its last block to the byte, so that the next line needs a
        // new block the disk no longer has.
        const QByteArray head = "00004,05/01/2024 09:10:00,7000,0.521,44.8,";
        const QByteArray tail = "50.0,,,,,,BU\r\n";
        before += head + QByteArray(4096 - before.size() - head.size() - tail.size(), '0') + tail;
        ASSERT_EQ(before.size(), 4096);
    }
    if (c.Earlier)
        WriteToday(before);
    if (c.What == FullDisk) { // fill what is left, to the last byte
        QFile filler(data + "/filler");
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
        const QByteArray block(512, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        filler.write("x");
    }
    ASSERT_TRUE(Open({"--drop-after", "30"}));
    ASSERT_TRUE(WaitForMonitoring());
    if (c.What == NotWritable) {
        // As root, permission bits do not stop a write: a plain file takes the folder's place.
        ASSERT_TRUE(QDir().rename(data, data + ".away"));
        home.WriteFile("Documents/VX-2968/data", "in the way");
    }
    messages.Answers = {c.Answer};
    messages.OnShow = [&] {
        if (c.What == NotWritable) {
            QFile::remove(data);
            EXPECT_TRUE(QDir().rename(data + ".away", data));
        }
        if (c.What == FullDisk && c.Answer == MessageAnswer::Retry)
            QFile::remove(data + "/filler");
    };
    Press(screen->cmdMeasure);
    ASSERT_TRUE(KeepsPolling());

    if (c.Asked) {
        ASSERT_EQ(messages.Shown.size(), 1u);
        EXPECT_EQ(messages.Shown[0].Buttons, MessageButtons::RetryCancel);
        EXPECT_TRUE(
            messages.Shown[0].Text.En.startsWith("ファイル " + TodaysFile() + " を開けません"));
    } else {
        EXPECT_TRUE(messages.Shown.empty());
    }
    const QByteArray after = Read(TodaysFile());
    if (!c.Stored) {
        EXPECT_EQ(after, before); // nothing of the line that did not fit
        EXPECT_EQ(QFile::exists(TodaysFile()), c.Earlier);
        EXPECT_EQ(screen->cmdPrint->isVisible(), c.Earlier); // not shown by the cancelled line
        return;
    }
    const QByteArray kept = c.What == CutLine ? before + "\r\n" : before;
    ASSERT_TRUE(after.startsWith(kept)) << after.right(200).toStdString();
    const QByteArray added = after.mid(kept.size());
    EXPECT_TRUE(added.startsWith("00007,")) << added.toStdString();
    EXPECT_TRUE(added.endsWith("\r\n"));
    EXPECT_EQ(added.count('\n'), 1);
    const ResultsTable& results = context.Results;
    ASSERT_GE(results.ResultCount, 2);
    EXPECT_EQ(results.Entries[results.ResultCount - 1].No, "00007");
    EXPECT_EQ(results.Entries[0].No, c.What == Huge ? "99991" : "00003");
}

INSTANTIATE_TEST_SUITE_P(Campaign, MeasuringOnABadDay, testing::ValuesIn(MeasureRows));

// fwd.rs and fwdstr.ini of shapes no settings window writes.
// Empty or binary ones: serial/port_settings and shell/startup.
enum Shape { Folder, Fifo };

class OddSettingsFiles : public ScreenOnSimulator, public testing::WithParamInterface<Shape>
{
};

TEST_P(OddSettingsFiles, PortAndLanguageKeepTheirDefaultsTheScreenConnectsAndTheFilesStay)
{
    for (const QString& path :
         {context.G.AppFolder + "fwd.rs", context.UserFolder + "fwdstr.ini"}) {
        if (GetParam() == Folder) {
            ASSERT_TRUE(QDir().mkpath(path));
        } else {
            ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        }
    }
    EXPECT_EQ(ReadUiLanguage(context.UserFolder),
              UiLanguage::English); // English unless the file says "J"
    ASSERT_TRUE(Open({}));          // reads fwd.rs again, then connects on the default COM1
    ASSERT_TRUE(WaitForMonitoring());
    EXPECT_EQ(PortSettingsFileBytes(context.Port), "1\r\n9600\r\n0\r\n1\r\n0\r\n1\r\n");
    EXPECT_TRUE(messages.Shown.empty());
    for (const QString& path : {context.G.AppFolder + "fwd.rs", context.UserFolder + "fwdstr.ini"})
        EXPECT_EQ(QFileInfo(path).isDir(), GetParam() == Folder);
}

INSTANTIATE_TEST_SUITE_P(Shapes, OddSettingsFiles, testing::Values(Folder, Fifo));

} // namespace
