#include "results/ResultComputation.h"
#include "results/ResultsFile.h"
#include "shell/AppContext.h"

#include "TempHome.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <gtest/gtest.h>

#include <functional>

namespace
{

// Answers each box through a callback, so that a test can repair the folder before it
// answers Retry.
class ScriptedSink : public MessageSink
{
public:
    MessageAnswer Show(const UiMessage& message) override
    {
        Shown.push_back(message);
        return OnShow ? OnShow(message) : MessageAnswer::Cancel;
    }
    std::vector<UiMessage> Shown;
    std::function<MessageAnswer(const UiMessage&)> OnShow;
};

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class ResultsFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ctx.G.UiLanguage = 1;
        InitGlobalValues(ctx.G);
        ctx.UserFolder = home.UserFolder();
        ctx.G.DataFolder = home.UserFolder() + "data/";
        QDir().mkpath(ctx.G.DataFolder);
        ctx.Messages = &messages;
        ctx.Time = &clock;
        ctx.Logger.PlateDiameter = 300;
        ctx.Logger.PoissonRatio = 0.35;
        ctx.Logger.CalcType = 2;
        UseChannels({1, 2}, 2);
    }

    void UseChannels(std::initializer_list<int> channels, int16_t maxChannel)
    {
        for (auto& c : ctx.Logger.Channel)
            c.Active = false;
        for (int ch : channels)
            ctx.Logger.Channel[ch].Active = true;
        ctx.Logger.MaxChannel = maxChannel;
    }

    static ResultEntry Entry(const char* no, double p, double d0, double k, double e)
    {
        ResultEntry r;
        r.No = no;
        r.DateTime = "04/07/2021 13:05:09";
        r.Answer.fill(-1);
        r.Answer[1] = p;
        r.Answer[2] = d0;
        r.K = k;
        r.E = e;
        return r;
    }

    QString Today() const { return ctx.G.DataFolder + "20210407.csv"; }
    QString WriteFile(const QByteArray& bytes, const char* name = "20210407.csv")
    {
        QFile f(ctx.G.DataFolder + name);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }

    TempHome home;
    AppContext ctx;
    ScriptedSink messages;
    FixedClock clock{QDateTime(QDate(2021, 4, 7), QTime(13, 5, 30))};
};

const QByteArray EnglishTwoChannelHeading =
    "Dia=300,Poi=0.350\r\n"
    "No,Date Time,Load P0(N),Disp. D0(mm),K-NWR(MN/m3),E-NWR(MN/m2),,,,,,E-CalcType\r\n";

TEST_F(ResultsFileTest, TheFirstResultOfTheDayMakesTheFileWithItsHeading)
{
    EXPECT_EQ(AppendResult(ctx, Entry("00001", 30000, 1.0, 424.41, 87.75)), AppendOutcome::Written);
    EXPECT_EQ(ReadAll(Today()), EnglishTwoChannelHeading +
                                    "00001,04/07/2021 13:05:09,30000,1.000,424,88,,,,,,BO\r\n");
    EXPECT_TRUE(messages.Shown.empty());
}

TEST_F(ResultsFileTest, EveryChannelKeepsItsColumn)
{
    UseChannels({1, 2, 3, 4}, 4);
    EXPECT_EQ(FileHeaderLine2(ctx.Logger, 1),
              "No,Date Time,Load P0(N),Disp. D0(mm),K-NWR(MN/m3),E-NWR(MN/m2),"
              "Disp. D1,Disp. D2,,,,E-CalcType");
    // Without CH3 the CH4 column does not move up.
    UseChannels({1, 2, 4, 6}, 6);
    EXPECT_EQ(FileHeaderLine2(ctx.Logger, 1),
              "No,Date Time,Load P0(N),Disp. D0(mm),K-NWR(MN/m3),E-NWR(MN/m2),"
              ",Disp. D2,,Disp. D4,,E-CalcType");
    ResultEntry e = Entry("00002", 12345, 1.52, 100, 50);
    e.Answer[4] = 0.88;
    e.Answer[6] = 0.125;
    EXPECT_EQ(ResultLine(e, ctx.Logger),
              "00002,04/07/2021 13:05:09,12345,1.520,100,50,,0.880,,0.125,,BO");
    ctx.Logger.CalcType = 1;
    EXPECT_TRUE(ResultLine(e, ctx.Logger).endsWith(",BU"));
}

TEST_F(ResultsFileTest, TheJapaneseHeadingIsWrittenInTheSpreadsheetsEncoding)
{
    ctx.G.UiLanguage = 0;
    UseChannels({1, 2, 3}, 3);
    AppendResult(ctx, Entry("00001", 30000, 1.0, 424, 88));
    const QByteArray bytes = ReadAll(Today());
    // CP932 bytes of "No,Date Time,荷重 P0(N),変位 D0(mm), K-NWR(MN/m3),E-NWR(MN/m2),変位
    // D1(mm),,,,,E-CalcType"
    const QByteArray heading = QByteArray::fromHex(
        "4e6f2c446174652054696d652c89d78f64205030284e292c95cf88ca204430286d6d292c204b2d4e5752284d"
        "4e2f6d33292c452d4e5752284d4e2f6d32292c95cf88ca204431286d6d292c2c2c2c2c452d43616c635479"
        "7065");
    EXPECT_EQ(bytes.split('\n').value(1), heading + "\r");
}

TEST_F(ResultsFileTest, WithoutItsEncoderAJapaneseHeadingFailsLoudlyAndWritesNoFile)
{
    ctx.FileEncoding = "no-such-encoding"; // a system without the CP932 encoder
    const struct {
        int16_t Language;
        AppendOutcome Outcome;
    } cases[] = {{0, AppendOutcome::Cancelled}, {1, AppendOutcome::Written}};
    for (const auto& c : cases) {
        QFile::remove(Today());
        messages.Shown.clear();
        ctx.G.UiLanguage = c.Language;
        EXPECT_EQ(AppendResult(ctx, Entry("00001", 30000, 1.0, 424, 88)), c.Outcome);
        if (c.Outcome == AppendOutcome::Written) { // an English day is plain ASCII
            EXPECT_TRUE(ReadAll(Today()).startsWith(EnglishTwoChannelHeading));
            EXPECT_TRUE(messages.Shown.empty());
            continue;
        }
        EXPECT_FALSE(QFile::exists(Today()));
        ASSERT_EQ(messages.Shown.size(), 1u);
        const UiMessage& m = messages.Shown[0];
        EXPECT_EQ(m.Buttons, MessageButtons::Ok);
        EXPECT_TRUE(m.Text.En.contains("no-such-encoding")) << m.Text.En.toStdString();
        EXPECT_TRUE(m.Text.Ja.contains("no-such-encoding"));
        EXPECT_TRUE(m.Text.Ja.contains(QDir::toNativeSeparators(Today())));
    }
}

TEST_F(ResultsFileTest, LaterResultsOfTheDayGoUnderTheFirstHeading)
{
    AppendResult(ctx, Entry("00001", 30000, 1.0, 424, 88));
    // The layout, plate and language change during the day: the heading stays.
    UseChannels({1, 2, 3}, 3);
    ctx.Logger.PlateDiameter = 450;
    ctx.G.UiLanguage = 0;
    ResultEntry second = Entry("00002", 20000, 0.5, 566, 117);
    second.DateTime = "2021/04/07 14:00:00";
    second.Answer[3] = 0.25;
    AppendResult(ctx, second);
    EXPECT_EQ(ReadAll(Today()),
              EnglishTwoChannelHeading +
                  "00001,04/07/2021 13:05:09,30000,1.000,424,88,,,,,,BO\r\n"
                  "00002,2021/04/07 14:00:00,20000,0.500,566,117,0.250,,,,,BO\r\n");
}

TEST_F(ResultsFileTest, UndefinedValuesAreWrittenAsMinusOneInTheirFormat)
{
    UseChannels({1, 2, 3}, 3);
    ResultEntry e = Entry("00003", 30000, 0.0000005, -1, -1); // D0 below the threshold
    e.Answer[3] = -1;                                         // a field that was no number
    AppendResult(ctx, e);
    const QList<QByteArray> lines = ReadAll(Today()).split('\n');
    EXPECT_EQ(lines.value(2), "00003,04/07/2021 13:05:09,30000,0.000,-1,-1,-1.000,,,,,BO\r");
}

TEST_F(ResultsFileTest, NumbersUseAPointWhateverTheLocale)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    AppendResult(ctx, Entry("00001", 30000, 1.25, 424, 88));
    QLocale::setDefault(QLocale::c());
    EXPECT_TRUE(ReadAll(Today()).contains(",30000,1.250,424,88,"));
    EXPECT_TRUE(ReadAll(Today()).startsWith("Dia=300,Poi=0.350\r\n"));
}

TEST_F(ResultsFileTest, TheFileNameIsTheDateOfWritingNotOfTheDrop)
{
    clock.Set(QDateTime(QDate(2021, 4, 8), QTime(0, 0, 1))); // the drop was before midnight
    AppendResult(ctx, Entry("00001", 30000, 1.0, 424, 88));
    EXPECT_FALSE(QFile::exists(Today()));
    EXPECT_TRUE(QFile::exists(ctx.G.DataFolder + "20210408.csv"));
}

TEST_F(ResultsFileTest, AnExistingNameInCapitalsIsAppendedTo)
{
    const QString upper = WriteFile(EnglishTwoChannelHeading, "20210407.CSV");
    AppendResult(ctx, Entry("00001", 30000, 1.0, 424, 88));
    EXPECT_FALSE(QFile::exists(Today()));
    EXPECT_EQ(ReadAll(upper).count('\n'), 3);
}

TEST_F(ResultsFileTest, ALineLeftUnfinishedIsNotGluedOnto)
{
    WriteFile(EnglishTwoChannelHeading + "00001,04/07/2021 13:05:09,300");
    AppendResult(ctx, Entry("00002", 30000, 1.0, 424, 88));
    const QList<QByteArray> lines = ReadAll(Today()).split('\n');
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[3], "00002,04/07/2021 13:05:09,30000,1.000,424,88,,,,,,BO\r");
}

TEST_F(ResultsFileTest, AnEmptyFileGetsItsHeading)
{
    WriteFile(QByteArray()); // made, then the program died before writing
    AppendResult(ctx, Entry("00001", 30000, 1.0, 424, 88));
    EXPECT_TRUE(ReadAll(Today()).startsWith(EnglishTwoChannelHeading));
}

// As root, permission bits do not stop a write, so the data folder is made unusable by
// putting a plain file in its place: creating the daily file inside it then fails
// (ENOTDIR) for every user. Putting the folder back is "making it writable again".
TEST_F(ResultsFileTest, AFolderThatCannotBeWrittenAsksRetryAndRetrySucceedsOnceItCan)
{
    QDir(ctx.G.DataFolder).removeRecursively();
    home.WriteFile("Documents/VX-2968/data", "in the way");
    messages.OnShow = [&](const UiMessage&) {
        QFile::remove(home.UserFolder() + "data");
        QDir().mkpath(ctx.G.DataFolder);
        return MessageAnswer::Retry;
    };
    EXPECT_EQ(AppendResult(ctx, Entry("00001", 30000, 1.0, 424, 88)), AppendOutcome::Written);
    ASSERT_EQ(messages.Shown.size(), 1u);
    const UiMessage& box = messages.Shown[0];
    EXPECT_EQ(box.Buttons, MessageButtons::RetryCancel);
    EXPECT_EQ(box.Title.En, "");
    EXPECT_EQ(box.Title.Ja, "");
    const QString expected =
        QString::fromUtf8("ファイル ") + Today() +
        QString::fromUtf8(" を開けません!!\r\nファイルを閉じて、[再試行]キーを押してください。");
    EXPECT_EQ(box.Text.En, expected);
    EXPECT_EQ(box.Text.Ja, expected);
    EXPECT_EQ(ReadAll(Today()), EnglishTwoChannelHeading +
                                    "00001,04/07/2021 13:05:09,30000,1.000,424,88,,,,,,BO\r\n");
}

TEST_F(ResultsFileTest, RetryKeepsAskingWhileTheFolderStaysUnusableAndCancelWritesNothing)
{
    QDir(ctx.G.DataFolder).removeRecursively();
    home.WriteFile("Documents/VX-2968/data", "in the way");
    int asked = 0;
    messages.OnShow = [&](const UiMessage&) {
        return ++asked < 3 ? MessageAnswer::Retry : MessageAnswer::Cancel;
    };
    EXPECT_EQ(AppendResult(ctx, Entry("00001", 30000, 1.0, 424, 88)), AppendOutcome::Cancelled);
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(ReadAll(home.UserFolder() + "data"), "in the way");
}

TEST_F(ResultsFileTest, AnExistingFileThatCannotBeOpenedIsLeftAsItWasOnCancel)
{
    // Today's "file" is a folder (another program's doing): opening it for writing fails.
    QDir().mkpath(Today());
    EXPECT_EQ(AppendResult(ctx, Entry("00001", 30000, 1.0, 424, 88)), AppendOutcome::Cancelled);
    EXPECT_EQ(messages.Shown.size(), 1u);
    EXPECT_TRUE(QFileInfo(Today()).isDir());
}

// Reading back.

QByteArray ResultLines(int from, int to)
{
    QByteArray out;
    for (int i = from; i <= to; ++i)
        out += QString::asprintf("%05d,04/07/2021 13:%02d:00,%d,1.000,424,88,,,,,,BO\r\n", i, i,
                                 30000 + i)
                   .toLatin1();
    return out;
}

TEST_F(ResultsFileTest, ReadingKeepsTheLastTenResultsOldestFirst)
{
    const QString path = WriteFile(EnglishTwoChannelHeading + ResultLines(1, 25));
    EXPECT_EQ(ReadResultsFile(ctx, path), 10);
    EXPECT_EQ(ctx.Results.Entries[0].No, "00016");
    EXPECT_EQ(ctx.Results.Entries[9].No, "00025");
    EXPECT_DOUBLE_EQ(ctx.Results.Entries[9].Answer[1], 30025);
    EXPECT_DOUBLE_EQ(ctx.Results.Entries[9].Answer[2], 1.0);
    EXPECT_DOUBLE_EQ(ctx.Results.Entries[9].K, 424);
    EXPECT_DOUBLE_EQ(ctx.Results.Entries[9].E, 88);
    EXPECT_EQ(ctx.Results.Entries[9].Answer[3], -1); // an empty column
}

TEST_F(ResultsFileTest, FewerResultsThanTheTableHoldsAreAllKept)
{
    const QString path = WriteFile(EnglishTwoChannelHeading + ResultLines(1, 3));
    EXPECT_EQ(ReadResultsFile(ctx, path), 3);
    EXPECT_EQ(ctx.Results.Entries[2].No, "00003");
}

TEST_F(ResultsFileTest, ALineOneWithoutACommaIsRefusedWithTheFormatMessage)
{
    ctx.Logger.PlateDiameter = 300;
    const QString path = WriteFile("Dia=250\r\n" + ResultLines(1, 2));
    EXPECT_EQ(ReadResultsFile(ctx, path), -1);
    ASSERT_EQ(messages.Shown.size(), 1u);
    const UiMessage& box = messages.Shown[0];
    EXPECT_EQ(box.Buttons, MessageButtons::Ok);
    EXPECT_EQ(box.Icon, MessageIcon::None);
    EXPECT_EQ(box.Title.En, "File Format ERROR!");
    EXPECT_EQ(box.Title.Ja, QString::fromUtf8("フォーマットエラー"));
    EXPECT_EQ(box.Text.En, "Specified File " + path + " is igbored file format.");
    EXPECT_EQ(box.Text.Ja, QString::fromUtf8("指定したファイル ") + path +
                               QString::fromUtf8(" のフォーマットが間違っています"));
    EXPECT_EQ(ctx.Logger.PlateDiameter, 300); // nothing of the file is taken
    EXPECT_TRUE(ctx.Results.Entries[0].No.isEmpty());
}

struct HeaderCase {
    const char* Line1;
    int32_t Diameter; // what the settings hold afterwards (300 and 0.35 before)
    double Poisson;
};

class FileHeaderTest : public ResultsFileTest, public ::testing::WithParamInterface<HeaderCase>
{
};

TEST_P(FileHeaderTest, OnlyValidValuesReplaceTheSettings)
{
    const HeaderCase& c = GetParam();
    const QString path = WriteFile(QByteArray(c.Line1) + "\r\nheading\r\n" + ResultLines(1, 1));
    EXPECT_EQ(ReadResultsFile(ctx, path), 1);
    EXPECT_EQ(ctx.Logger.PlateDiameter, c.Diameter);
    EXPECT_DOUBLE_EQ(ctx.Logger.PoissonRatio, c.Poisson);
}

INSTANTIATE_TEST_SUITE_P(
    Results, FileHeaderTest,
    ::testing::Values(HeaderCase{"Dia=450,Poi=0.250", 450, 0.25},
                      HeaderCase{"Poi=0.250,Dia=450", 450, 0.25}, HeaderCase{"Dia=450,", 450, 0.35},
                      HeaderCase{",Poi=0.2", 300, 0.2}, HeaderCase{"Dia=0,Poi=0", 300, 0.35},
                      HeaderCase{"Dia=abc,Poi=", 300, 0.35},
                      HeaderCase{"Dia=-90,Poi=1.5", 300, 0.35}, HeaderCase{"Dia,Poi", 300, 0.35},
                      HeaderCase{"Dia=300.4,Poi=0.999", 300, 0.999}));

TEST_F(ResultsFileTest, AFileWithOnlyItsHeadingHoldsNoResults)
{
    EXPECT_EQ(ReadResultsFile(ctx, WriteFile(EnglishTwoChannelHeading)), 0);
    EXPECT_EQ(ReadResultsFile(ctx, WriteFile("Dia=300,Poi=0.350")), 0); // not even line 2
    EXPECT_EQ(ReadResultsFile(ctx, WriteFile(QByteArray())), 0);
    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_TRUE(ctx.Results.Entries[0].No.isEmpty());
}

TEST_F(ResultsFileTest, LinesThatAreNoResultsAreSkipped)
{
    const QString path = WriteFile(EnglishTwoChannelHeading + ResultLines(1, 1) +
                                   "garbage without a comma\r\n"
                                   "00007,yesterday,1,1,1,1\r\n"
                                   "00008,13/45/2021 25:00:00,1,1,1,1\r\n"
                                   "\r\n" +
                                   ResultLines(2, 2) + "\x01\x02,\xff\xfe\r\n");
    EXPECT_EQ(ReadResultsFile(ctx, path), 2);
    EXPECT_EQ(ctx.Results.Entries[0].No, "00001");
    EXPECT_EQ(ctx.Results.Entries[1].No, "00002");
}

TEST_F(ResultsFileTest, ValuesThatAreNoNumbersReadAsUndefined)
{
    const QString path =
        WriteFile(EnglishTwoChannelHeading + "00001,04/07/2021 13:05:09,abc,,-1,x,0.250,,,,,BO\r\n"
                                             "00002,04/07/2021 13:05:09\r\n");
    ASSERT_EQ(ReadResultsFile(ctx, path), 2);
    const ResultEntry& a = ctx.Results.Entries[0];
    EXPECT_EQ(a.Answer[1], -1);
    EXPECT_EQ(a.Answer[2], -1);
    EXPECT_EQ(a.K, -1);
    EXPECT_EQ(a.E, -1);
    EXPECT_DOUBLE_EQ(a.Answer[3], 0.25);
    const ResultEntry& b = ctx.Results.Entries[1]; // a short line: everything undefined
    EXPECT_EQ(b.Answer[1], -1);
    EXPECT_EQ(b.K, -1);
    EXPECT_EQ(b.E, -1);
}

TEST_F(ResultsFileTest, DatesOfEitherLanguageAreShownInTheCurrentOne)
{
    const QString path =
        WriteFile(EnglishTwoChannelHeading + "00001,04/07/2021 13:05:09,1,1,1,1,,,,,,BO\r\n"
                                             "00002,2021/04/08 00:00:00,1,1,1,1,,,,,,BO\r\n"
                                             "00003,2021/4/9 7:05,1,1,1,1,,,,,,BO\r\n");
    ctx.G.UiLanguage = 0;
    ASSERT_EQ(ReadResultsFile(ctx, path), 3);
    EXPECT_EQ(ctx.Results.Entries[0].DateTime, "2021/04/07 13:05:09");
    EXPECT_EQ(ctx.Results.Entries[1].DateTime, "2021/04/08 00:00:00");
    EXPECT_EQ(ctx.Results.Entries[2].DateTime, "2021/04/09 07:05:00");
    ctx.G.UiLanguage = 1;
    ASSERT_EQ(ReadResultsFile(ctx, path), 3);
    EXPECT_EQ(ctx.Results.Entries[0].DateTime, "04/07/2021 13:05:09");
    EXPECT_EQ(ctx.Results.Entries[1].DateTime, "04/08/2021 00:00:00");
}

TEST_F(ResultsFileTest, TheWidestLineSetsTheDisplayedValueColumns)
{
    int32_t columns = 2;
    ReadResultsFile(ctx, WriteFile(EnglishTwoChannelHeading + "00001,04/07/2021 13:05:09,1,1\r\n"),
                    &columns);
    EXPECT_EQ(columns, 2); // five fields or fewer leave it alone
    ReadResultsFile(ctx, WriteFile(EnglishTwoChannelHeading + ResultLines(1, 1)), &columns);
    EXPECT_EQ(columns, 8); // twelve fields: upper index 11
}

TEST_F(ResultsFileTest, WhatIsWrittenReadsBack)
{
    UseChannels({1, 2, 4}, 4);
    ResultEntry e = Entry("00042", 12345, 1.52, 123, 45);
    e.Answer[4] = 0.88;
    AppendResult(ctx, e);
    ASSERT_EQ(ReadResultsFile(ctx, Today()), 1);
    const ResultEntry& r = ctx.Results.Entries[0];
    EXPECT_EQ(r.No, "00042");
    EXPECT_EQ(r.DateTime, e.DateTime);
    EXPECT_DOUBLE_EQ(r.Answer[1], 12345);
    EXPECT_DOUBLE_EQ(r.Answer[2], 1.52);
    EXPECT_DOUBLE_EQ(r.Answer[4], 0.88);
    EXPECT_EQ(r.Answer[3], -1);
}

TEST_F(ResultsFileTest, StartUpNamesTodaysFileAndCountsItsResults)
{
    ctx.Results.ResultCount = 7; // left from an earlier opening of the screen
    EXPECT_EQ(LoadTodaysResults(ctx), 0);
    EXPECT_EQ(ctx.DailyFile, Today());
    EXPECT_EQ(ctx.Results.ResultCount, 0);

    WriteFile(EnglishTwoChannelHeading + ResultLines(1, 12));
    EXPECT_EQ(LoadTodaysResults(ctx), 10);
    EXPECT_EQ(ctx.Results.ResultCount, 10);

    WriteFile("Dia=300\r\n");
    EXPECT_EQ(LoadTodaysResults(ctx), 0); // refused: the message is shown, no results
    EXPECT_EQ(ctx.Results.ResultCount, 0);
    EXPECT_EQ(messages.Shown.size(), 1u);
}

} // namespace
