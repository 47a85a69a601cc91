// The fault campaign on the files of a test day: a data folder that cannot be written and
// then can, a disk that fills, a results file cut in the middle of a line or grown to
// 100,000 lines, and fwd.rs and fwdstr.ini of odd shapes. The measuring ones drive the
// real measurement screen against the logger simulator, as on the day.
#include "CampaignTable.h"
#include "Press.h"
#include "SimProcess.h"
#include "TempHome.h"
#include "WaitFor.h"
#include "results/ResultsFile.h"
#include "screens/gui/frmMemoryCardData2.h"
#include "serial/PortSettings.h"
#include "serial/QSerialLink.h"
#include "shell/AppContext.h"
#include "shell/Startup.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QPushButton>
#include <gtest/gtest.h>

#include "TestContext.h"

#include <functional>
#include <sys/mount.h>
#include <sys/stat.h>

namespace
{

// Records every box and answers it through a callback (Cancel without one).
class AnsweringMessages : public MessageSink
{
public:
    MessageAnswer Show(const UiMessage& message) override
    {
        Shown.push_back(message);
        if (OnShow)
            return OnShow(message);
        return message.Buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    }
    std::vector<UiMessage> Shown;
    std::function<MessageAnswer(const UiMessage&)> OnShow;
};

const QByteArray Heading =
    "Dia=300,Poi=0.350\r\n"
    "No,Date Time,Load P0(N),Disp. D0(mm),K-NWR(MN/m3),E-NWR(MN/m2),,,,,,E-CalcType\r\n";
const QByteArray StoredLine = "00003,05/01/2024 09:00:00,7000,0.521,44.8,50.0,,,,,,BU\r\n";

class FileFaults : public testing::Test
{
protected:
    void SetUp() override { PrepareContext(context, home, messages, clock); }
    void TearDown() override
    {
        if (screen)
            delete screen.data();
        if (m_mounted)
            ::umount2(QFile::encodeName(m_mountPoint).constData(), MNT_DETACH);
    }

    QString TodaysFile() const { return context.G.DataFolder + "20240501.csv"; }
    void WriteToday(const QByteArray& bytes)
    {
        QFile f(TodaysFile());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    QByteArray Read(const QString& path) const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    int Count(const QString& command) const { return int(sim.Commands().count(command)); }

    void OpenScreen()
    {
        ASSERT_TRUE(sim.Start(
            {"--com", "1", "--no-pace", "--channels", "1,2", "--mno", "7", "--drop-after", "30"}))
            << sim.ErrorText().toStdString();
        link = std::make_unique<QSerialLink>(context.Port, context.UserFolder, messages);
        context.Link = link.get();
        screen = new frmMemoryCardData2(context);
        screen->setAttribute(Qt::WA_DeleteOnClose);
        screen->show();
        ASSERT_TRUE(WaitFor([&] { return Monitoring(); }, 20000)) << "the screen did not connect";
    }
    bool Monitoring() const
    {
        return screen && screen->isVisible() && screen->MonitorMode == 1 &&
               screen->Interval.isActive() && screen->cmdMeasure->isVisible();
    }
    bool KeepsPolling()
    {
        const int before = Count("MDT");
        return WaitFor([&] { return Count("MDT") >= before + 2 || !screen; }, 20000) &&
               Monitoring();
    }
    // A small filesystem in place of the data folder: false when this system has none.
    bool MountSmallDisk(const QString& folder)
    {
        m_mountPoint = folder;
        m_mounted =
            ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=64k") == 0;
        return m_mounted;
    }

    TempHome home;
    SimProcess sim;
    AppContext context;
    AnsweringMessages messages;
    FixedClock clock{QDateTime(QDate(2024, 5, 1), QTime(10, 15, 0))};
    std::unique_ptr<QSerialLink> link;
    QPointer<frmMemoryCardData2> screen;

private:
    QString m_mountPoint;
    bool m_mounted = false;
};

const QString CannotOpenTail =
    QString::fromUtf8(" を開けません!!\r\nファイルを閉じて、[再試行]キーを押してください。");

// As root, permission bits do not stop a write: the data folder is made unusable by moving
// it aside and putting a plain file in its place. Retry once it is back stores the line.
TEST_F(FileFaults, DataFolderThatCannotBeWrittenThenCanAsksRetryAndStoresTheLine)
{
    WriteToday(Heading + StoredLine);
    OpenScreen();
    const QString data = home.UserFolder() + "data";
    ASSERT_TRUE(QDir().rename(data, data + ".away"));
    home.WriteFile("Documents/VX-2968/data", "in the way");
    QElapsedTimer t;
    messages.OnShow = [&](const UiMessage&) {
        QFile::remove(data);
        EXPECT_TRUE(QDir().rename(data + ".away", data));
        t.start(); // writable again: from here to a usable screen
        return MessageAnswer::Retry;
    };
    Press(screen->cmdMeasure);
    ASSERT_TRUE(KeepsPolling());
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Buttons, MessageButtons::RetryCancel);
    EXPECT_EQ(messages.Shown[0].Text.En,
              QString::fromUtf8("ファイル ") + TodaysFile() + CannotOpenTail);
    const QByteArray after = Read(TodaysFile());
    ASSERT_TRUE(after.startsWith(Heading + StoredLine)) << after.toStdString();
    EXPECT_TRUE(after.mid(Heading.size() + StoredLine.size()).startsWith("00007,"));
    EXPECT_EQ(after.count('\n'), 4);
    CampaignTable::Instance().Add({"data folder not writable, then writable (Retry)",
                                   "results file", "Retry / Cancel: cannot open the file",
                                   t.elapsed(), "1 line, then 1 + the new one"});
}

struct FullDiskCase {
    const char* Name;
    bool FreeSpaceAndRetry;
};

class FullDisk : public FileFaults, public testing::WithParamInterface<FullDiskCase>
{
};

TEST_P(FullDisk, AFullDiskAsksRetryAndNeverLeavesHalfALine)
{
    const QString data = context.G.DataFolder;
    if (!MountSmallDisk(data))
        GTEST_SKIP() << "no small filesystem can be mounted here (not root, or no tmpfs)";
    // The day's file fills its last block to the byte, so that the next line needs a new
    // block the disk no longer has.
    QByteArray stored = Heading + StoredLine;
    const QByteArray head = "00004,05/01/2024 09:10:00,7000,0.521,44.8,";
    const QByteArray tail = "50.0,,,,,,BU\r\n";
    const qsizetype pad = 4096 - stored.size() - head.size() - tail.size();
    ASSERT_GT(pad, 0);
    stored += head + QByteArray(pad, '0') + tail; // E written as 000...050.0
    ASSERT_EQ(stored.size(), 4096);
    WriteToday(stored);
    // Fill what is left, to the last byte.
    {
        QFile filler(data + "filler");
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
        const QByteArray block(512, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        filler.write("x");
    }
    const QByteArray before = Read(TodaysFile());
    OpenScreen();
    QElapsedTimer t;
    t.start();
    int asked = 0;
    messages.OnShow = [&](const UiMessage& m) {
        ++asked;
        EXPECT_EQ(m.Buttons, MessageButtons::RetryCancel);
        if (!GetParam().FreeSpaceAndRetry)
            return MessageAnswer::Cancel;
        QFile::remove(data + "filler");
        t.restart();
        return MessageAnswer::Retry;
    };
    Press(screen->cmdMeasure);
    ASSERT_TRUE(KeepsPolling());
    EXPECT_EQ(asked, 1);
    const QByteArray after = Read(TodaysFile());
    if (GetParam().FreeSpaceAndRetry) {
        ASSERT_TRUE(after.startsWith(before));
        EXPECT_TRUE(after.mid(before.size()).startsWith("00007,"));
        EXPECT_TRUE(after.endsWith("\r\n"));
        EXPECT_EQ(after.count('\n'), 5);
    } else {
        EXPECT_EQ(after, before); // nothing of the line that did not fit
    }
    CampaignTable::Instance().Add(
        {GetParam().Name, "results file", "Retry / Cancel: cannot open the file", t.elapsed(),
         GetParam().FreeSpaceAndRetry ? "1 line, then 1 + the new one" : "1 line = 1 line"});
}

INSTANTIATE_TEST_SUITE_P(Files, FullDisk,
                         testing::Values(FullDiskCase{"disk full, space freed, Retry", true},
                                         FullDiskCase{"disk full, Cancel", false}));

TEST_F(FileFaults, AFileCutInTheMiddleOfALineKeepsItsLinesAndTheNextResultStartsAfreshLine)
{
    const QByteArray cut = Heading + StoredLine + "00004,05/01/2024 09:1";
    WriteToday(cut);
    QElapsedTimer t;
    t.start();
    OpenScreen();
    Press(screen->cmdMeasure);
    ASSERT_TRUE(KeepsPolling());
    EXPECT_TRUE(messages.Shown.empty());
    const QByteArray after = Read(TodaysFile());
    ASSERT_TRUE(after.startsWith(cut + "\r\n")) << after.toStdString();
    EXPECT_TRUE(after.mid(cut.size() + 2).startsWith("00007,"));
    EXPECT_TRUE(after.endsWith("\r\n"));
    ASSERT_GE(context.Results.ResultCount, 2);
    EXPECT_EQ(context.Results.Entries[0].No, "00003");
    EXPECT_EQ(context.Results.Entries[context.Results.ResultCount - 1].No, "00007");
    CampaignTable::Instance().Add({"results file cut in the middle of a line", "screen load",
                                   "no message", t.elapsed(),
                                   "kept, then + line end + the new one"});
}

TEST_F(FileFaults, AHundredThousandLinesAreReadInBoundedTimeKeepingTheLastTen)
{
    QByteArray bytes = Heading;
    constexpr int Lines = 100000;
    bytes.reserve(Heading.size() + Lines * 56);
    for (int i = 0; i < Lines; ++i)
        bytes += QByteArray::number(i % 100000).rightJustified(5, '0') + ",05/01/2024 09:00:00," +
                 QByteArray::number(5000 + i % 3000) + ",0.521,44.8,50.0,,,,,,BU\r\n";
    WriteToday(bytes);
    QElapsedTimer t;
    t.start();
    ASSERT_EQ(LoadTodaysResults(context), 10);
    const qint64 ms = t.elapsed();
    EXPECT_LT(ms, 30000);
    for (int k = 0; k < 10; ++k)
        EXPECT_EQ(context.Results.Entries[k].No, QString::number(Lines - 10 + k)) << k;
    EXPECT_EQ(Read(TodaysFile()), bytes);
    EXPECT_TRUE(messages.Shown.empty());
    CampaignTable::Instance().Add({"results file of 100,000 lines", "screen load",
                                   "no message; the last ten shown", ms, "unchanged"});
}

// fwd.rs and fwdstr.ini of shapes no settings window writes.
enum class Shape { Empty, Binary, Huge, Folder, Fifo };
struct ShapeCase {
    const char* Name;
    Shape Kind;
    QByteArray Bytes;
};

void MakeShape(const QString& path, const ShapeCase& c)
{
    switch (c.Kind) {
    case Shape::Folder:
        ASSERT_TRUE(QDir().mkpath(path));
        return;
    case Shape::Fifo:
        ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        return;
    default: {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(c.Bytes), c.Bytes.size());
    }
    }
}

QByteArray Binary()
{
    QByteArray b;
    for (int i = 0; i < 4096; ++i)
        b += char((i * 37 + 11) & 0xff);
    return b;
}

const ShapeCase ShapeCases[] = {
    {"empty", Shape::Empty, {}},
    {"binary", Shape::Binary, Binary()},
    {"huge (8 MB of digits, no line end)", Shape::Huge, QByteArray(8 << 20, '7')},
    {"a folder of that name", Shape::Folder, {}},
    {"a named pipe no one writes", Shape::Fifo, {}},
};

class OddSettingsFile : public FileFaults, public testing::WithParamInterface<ShapeCase>
{
};

TEST_P(OddSettingsFile, PortSettingsKeepTheirDefaultsAndTheScreenConnects)
{
    const QString path = context.G.AppFolder + "fwd.rs";
    MakeShape(path, GetParam());
    const QFileInfo shapeBefore(path);
    QElapsedTimer t;
    t.start();
    OpenScreen(); // reads fwd.rs again, then connects on the default COM1
    const qint64 ms = t.elapsed();
    EXPECT_EQ(context.Port.ComPort, 1);
    EXPECT_EQ(context.Port.BaudRate, 9600);
    EXPECT_EQ(context.Port.ParityCode, 0);
    EXPECT_EQ(context.Port.StopBits, 1);
    EXPECT_TRUE(messages.Shown.empty());
    if (GetParam().Kind != Shape::Folder && GetParam().Kind != Shape::Fifo) {
        EXPECT_EQ(Read(path), GetParam().Bytes); // never replaced by reading
    }
    EXPECT_EQ(QFileInfo(path).isDir(), shapeBefore.isDir());
    CampaignTable::Instance().Add({QStringLiteral("fwd.rs ") + GetParam().Name, "screen load",
                                   "no message; COM1 9600 none 1", ms, "-"});
}

INSTANTIATE_TEST_SUITE_P(Files, OddSettingsFile, testing::ValuesIn(ShapeCases),
                         [](const auto& info) { return "S" + std::to_string(info.index); });

class OddLanguageFile : public FileFaults, public testing::WithParamInterface<ShapeCase>
{
};

TEST_P(OddLanguageFile, TheLanguageIsReadInBoundedTimeWithoutChangingTheFile)
{
    const QString path = context.UserFolder + "fwdstr.ini";
    MakeShape(path, GetParam());
    QElapsedTimer t;
    t.start();
    const int16_t language = ReadUiLanguage(context.UserFolder);
    const qint64 ms = t.elapsed();
    // Only "J" or "j" as the whole first word selects Japanese; none of these shapes does.
    const bool japanese =
        GetParam().Kind == Shape::Binary && UiLanguageFromBytes(GetParam().Bytes) == 0;
    EXPECT_EQ(language, japanese ? 0 : 1);
    if (GetParam().Kind != Shape::Folder && GetParam().Kind != Shape::Fifo) {
        EXPECT_EQ(Read(path), GetParam().Bytes);
    }
    CampaignTable::Instance().Add({QStringLiteral("fwdstr.ini ") + GetParam().Name, "start-up",
                                   language == 0 ? "Japanese" : "English", ms, "-"});
}

INSTANTIATE_TEST_SUITE_P(Files, OddLanguageFile, testing::ValuesIn(ShapeCases),
                         [](const auto& info) { return "L" + std::to_string(info.index); });

} // namespace
