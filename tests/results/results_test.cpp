#include "logger/LoggerCommands.h"
#include "record/DropAnswers.h"
#include "record/ResultComputation.h"
#include "results/DropResult.h"
#include "results/ResultsContext.h"
#include "results/ResultsFile.h"

#include "ScriptedLink.h"
#include "TestContext.h"

#include <QFile>
#include <QLocale>
#include <gtest/gtest.h>

#include <limits>

namespace
{

// K-NWR and E-NWR with the system's own figures (pi as 3.1415927, K on the 300 mm plate's
// area, -1 where undefined, shown whole or as dashes), and the drop's number: every channel
// up to MaxChannel (CH3 too, though inactive) gets the next, then the active ones are
// selected again.
TEST(Results, GroundValuesAndNumbersFollowTheSystemsOwnFigures)
{
    const double NaN = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* Case;
        double P, D;
        int32_t Plate;
        double Poisson;
        int16_t CalcType; // 1 Burmister, any other Boussinesq
        int16_t MeasNo;
        double K, E;
        const char *KShown, *EShown, *No;
        int16_t Next;
    } rows[] = {
        {"Boussinesq", 30000, 1.0, 300, 0.35, 2, 41, 424.4131753, 87.75, "424", "88", "00041", 42},
        {"Burmister, the last number", 30000, 1.0, 300, 0.35, 1, 32767, 424.4131753, 111.7267684,
         "424", "112", "32767", 0},
        {"type 0, number -1", 30000, 1.0, 300, 0.35, 0, -1, 424.4131753, 87.75, "424", "88",
         "00000", 0},
        {"450 mm plate", 30000, 1.0, 450, 0.35, 2, 0, 282.9421169, 58.5, "283", "59", "00000", 1},
        {"other load and ratio", 12345, 1.52, 300, 0.3, 1, 0, 114.8986984, 31.36734468, "115", "31",
         "00000", 1},
        {"the smallest displacement", 30000, 1e-6, 300, 0.35, 1, 0, 424413175.3, 111726768.4,
         "424413175", "111726768", "00000", 1},
        {"below it", 30000, 5e-7, 300, 0.35, 1, 0, -1, -1, "------", "------", "00000", 1},
        {"negative", 30000, -0.5, 300, 0.35, 2, 0, -1, -1, "------", "------", "00000", 1},
        {"not a number", 30000, NaN, 300, 0.35, 2, 0, -1, -1, "------", "------", "00000", 1},
        {"no plate: never inf", 30000, 1.0, 0, 0.35, 2, 0, -1, -1, "------", "------", "00000", 1},
        {"no load", 0, 1.0, 300, 0.35, 2, 0, -1, -1, "------", "------", "00000", 1},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.Case);
        ScriptedLink link;
        link.Otherwise = [](const QString&) { return QStringLiteral("OK"); };
        LoggerSettings s;
        std::tie(s.PlateDiameter, s.PoissonRatio, s.CalcType, s.MeasNo, s.MaxChannel) =
            std::tuple(r.Plate, r.Poisson, r.CalcType, r.MeasNo, int16_t(4));
        for (int ch : {1, 2, 4})
            s.Channel[ch].Active = true;
        DropAnswers drop;
        drop.Answer = {-1, r.P, r.D, -1, -1, -1, -1};
        const ResultEntry e = ComputeResult(drop, s, UiLanguage::English);
        EXPECT_NEAR(e.K, r.K, std::abs(r.K) * 1e-9);
        EXPECT_NEAR(e.E, r.E, std::abs(r.E) * 1e-9);
        EXPECT_EQ(FormatPositive(e.K, KFormat), r.KShown);
        EXPECT_EQ(FormatPositive(e.E, EFormat), r.EShown);
        EXPECT_EQ(e.No, r.No);
        s.MeasNo = NextMeasNo(s.MeasNo);
        EXPECT_EQ(s.MeasNo, r.Next);
        SendMeasNo(link, s);
        const QString mno = QStringLiteral("MNO%1").arg(r.Next);
        EXPECT_EQ(link.Sent,
                  (std::vector<QString>{"RES", "SET1", mno, "RES", "SET2", mno, "RES", "SET3", mno,
                                        "RES", "SET4", mno, "RES", "SET1", "SET2", "SET4"}));
    }
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
}

constexpr UiLanguage En = UiLanguage::English, Ja = UiLanguage::Japanese;

const QByteArray Line1 = "Dia=300,Poi=0.350\r\n";
const QByteArray Fixed = "No,Date Time,Load P0(N),Disp. D0(mm),K-NWR(MN/m3),E-NWR(MN/m2),";
const QByteArray Heading = Line1 + Fixed + ",,,,,E-CalcType\r\n";
const QByteArray Stem = "00001,04/07/2021 23:59:59,30000,1.000,424,88";
const QByteArray Result = Stem + ",,,,,,BO\r\n";
// "No,Date Time,荷重 P0(N),変位 D0(mm), K-NWR(MN/m3),E-NWR(MN/m2),変位 D1(mm),,,,,E-CalcType"
const QByteArray JapaneseHeading = QByteArray::fromHex(
    "4e6f2c446174652054696d652c89d78f64205030284e292c95cf88ca204430286d6d292c204b2d4e5752284d4e"
    "2f6d33292c452d4e5752284d4e2f6d32292c95cf88ca204431286d6d292c2c2c2c2c452d43616c6354797065");

// A data folder, and the clock just after midnight: the file is named after the day of
// writing, not of the drop.
class ResultsFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        PrepareContext(ctx, home, messages, clock);
        std::tie(ctx.Logger.PlateDiameter, ctx.Logger.PoissonRatio, ctx.Logger.CalcType) =
            std::tuple(300, 0.35, int16_t(2));
    }
    void UseChannels(const std::vector<int>& channels)
    {
        for (auto& c : ctx.Logger.Channel)
            c.Active = false;
        for (int ch : channels)
            ctx.Logger.Channel[ch].Active = true;
        ctx.Logger.MaxChannel = int16_t(channels.back());
    }
    QString Today() const { return ctx.G.DataFolder + "20210408.csv"; }

    TempHome home;
    ResultsContext ctx;
    RecordingMessages messages;
    FixedClock clock{QDateTime(QDate(2021, 4, 8), QTime(0, 0, 1))};
};

// The daily file as the spreadsheets read it, byte for byte: CR LF, CP932, twelve fields with
// a fixed column for every channel, the heading of the day's first result, points whatever
// the locale; a Japanese heading without its encoder is refused, never written as "?".
// What is written reads back.
TEST_F(ResultsFile, AppendedResultsMakeTheDaysFileByteForByte)
{
    const struct {
        std::vector<int> Channels;
        UiLanguage Language;
        QByteArray Before, After, Encoding = {}; // the context's own unless given
    } rows[] = {
        {{1, 2}, En, {}, Heading + Result},
        {{1, 2, 4, 5, 6},
         En,
         {},
         Line1 + Fixed + ",Disp. D2,Disp. D3,Disp. D4,,E-CalcType\r\n" + Stem +
             ",,0.880,-1.000,0.125,,BO\r\n"},
        {{1, 2, 3}, Ja, {}, Line1 + JapaneseHeading + "\r\n" + Stem + ",0.250,,,,,BO\r\n"},
        {{1, 2, 3}, Ja, Heading, Heading + Stem + ",0.250,,,,,BO\r\n"}, // under the first heading
        {{1, 2}, En, "", Heading + Result}, // made, then the program died
        {{1, 2, 3}, Ja, {}, {}, "no-such-encoding"},
        {{1, 2}, En, {}, Heading + Result, "no-such-encoding"}, // plain ASCII
    };
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    for (const auto& r : rows) {
        SCOPED_TRACE(r.After.toStdString());
        QFile::remove(Today());
        if (!r.Before.isNull())
            WriteAll(Today(), r.Before);
        UseChannels(r.Channels);
        ctx.G.UiLanguage = r.Language;
        if (!r.Encoding.isNull())
            ctx.FileEncoding = r.Encoding;
        messages.Shown.clear();
        ResultEntry drop{"00001", "04/07/2021 23:59:59", {-1, 30000, 1.0, 0.25, 0.88, -1, 0.125}};
        std::tie(drop.K, drop.E) = std::pair(424.4, 87.75);
        EXPECT_EQ(AppendResult(ctx, drop),
                  r.After.isNull() ? AppendOutcome::Cancelled : AppendOutcome::Written);
        EXPECT_EQ(QFile::exists(Today()), !r.After.isNull()); // no empty file left behind
        EXPECT_EQ(ReadAll(Today()), r.After);
        EXPECT_EQ(messages.Shown.size(), r.After.isNull() ? 1u : 0u);
        ctx.Results = ResultsTable{};
        ReadResultsFile(ctx, Today());
        for (int ch = 3; ch <= 6 && !r.After.isNull(); ++ch)
            EXPECT_EQ(ctx.Results.Entries[0].Answer[ch],
                      ctx.Logger.Channel[ch].Active ? drop.Answer[ch] : -1);
    }
    QLocale::setDefault(QLocale::c());
    EXPECT_TRUE(messages.Shown.empty());
}

// A Japanese day is written with Qt's encoder or without it: glibc's iconv gives the same
// bytes, and both refuse only what CP932 cannot hold, never writing a look-alike.
TEST(FileEncoders, IconvWritesWhatQtWrites)
{
    const struct {
        const char* Text;
        QByteArray Bytes; // null: refused
    } rows[] = {
        {"No,Date Time,荷重 P0(N),変位 D0(mm), K-NWR(MN/m3),E-NWR(MN/m2),変位 "
         "D1(mm),,,,,E-CalcType",
         JapaneseHeading},
        {"～髙①ｱ\\~", QByteArray::fromHex("8160fbfc8740b15c7e")},
        {"¥", {}},
        {"€", {}},
        {"\xf0\x9f\x98\x80", {}},
    };
    for (const auto& r : rows)
        for (FileEncoder encoder : {FileEncoder::Qt, FileEncoder::Iconv})
            EXPECT_EQ(EncodeFileText(QString::fromUtf8(r.Text), "CP932", encoder),
                      r.Bytes.isNull() ? std::nullopt : std::optional<QByteArray>(r.Bytes))
                << r.Text << (encoder == FileEncoder::Qt ? " by Qt" : " by iconv");
}

TEST(FieldSplitting, FollowsTheDelimitersExactlyUpToTheReadersCapacity)
{
    struct Case {
        QString Text;
        const char* Delimiter;
        int Upper;
        QStringList Fields;
    };
    const Case cases[] = {
        {"+001234,+000056", ",", 1, {"+001234", "+000056"}},
        {"a,b,", ",", 2, {"a", "b", ""}},
        {",a", ",", 1, {"", "a"}},
        {"a,,b", ",", 2, {"a", "", "b"}},
        {",", ",", 1, {"", ""}},
        {QString("x,").repeated(FileFieldCapacity) + "cut", ",", FileFieldCapacity - 1,
         QStringList(FileFieldCapacity, "x")},
        // No delimiter: no fields, and the array is left as it was.
        {"12345", ",", -1, {"kept"}},
        {"", ",", -1, {"kept"}},
        {"1,2", "", -1, {"kept"}},
    };
    for (const Case& c : cases) {
        QStringList fields{"kept"};
        EXPECT_EQ(SplitFields(c.Text, QString::fromLatin1(c.Delimiter), fields, FileFieldCapacity),
                  c.Upper)
            << c.Text.toStdString();
        EXPECT_EQ(fields, c.Fields) << c.Text.toStdString();
    }
}

QByteArray ResultLines(int from, int to)
{
    QByteArray out;
    for (int i = from; i <= to; ++i)
        out += QString::asprintf("%05d,04/07/2021 13:%02d:00,%d,1,424,88,,,,,,BO\r\n", i, i, i)
                   .toLatin1();
    return out;
}

// Reading a day back: its last ten results oldest first, the valid plate values of line 1,
// lines that are no results skipped, dates in the screen's language.
TEST_F(ResultsFile, ReadingKeepsTheLastTenResultsAndOnlyValidValues)
{
    const QByteArray junk = "garbage\r\n00007,yesterday,1\r\n00008,13/45/2021 25:00:00,1\r\n\r\n";
    const struct {
        QByteArray Bytes;
        UiLanguage Language;
        int Count;
        const char *First, *FirstDate;
        int32_t Plate;
        double Poisson;
        int32_t Columns; // 2 before
    } rows[] = {
        {Heading + ResultLines(1, 25), En, 10, "00016", "04/07/2021 13:16:00", 300, 0.35, 8},
        {Heading + ResultLines(1, 3), Ja, 3, "00001", "2021/04/07 13:01:00", 300, 0.35, 8},
        // a day saved by an editor that ends lines with a lone CR, as the office reads it
        {QByteArray(Heading + ResultLines(1, 3)).replace("\r\n", "\r"), En, 3, "00001",
         "04/07/2021 13:01:00", 300, 0.35, 8},
        {"Poi=0.250,Dia=450\r\n\r\n00001,2021/4/9 7:05,1\r\n", En, 1, "00001",
         "04/09/2021 07:05:00", 450, 0.25, 2},
        {"Dia=0,Poi=0\r\n" + junk + ResultLines(1, 1), En, 1, "00001", nullptr, 300, 0.35, 8},
        {"Dia=-90,Poi=1.5\r\n\r\n", En, 0, "", nullptr, 300, 0.35, 2},
        {"Dia=300.4,Poi=0.999\r\n", En, 0, "", nullptr, 300, 0.999, 2},
        {{}, En, 0, "", nullptr, 300, 0.35, 2},
        {"Dia=250\r\n" + ResultLines(1, 2), En, -1, "", nullptr, 300, 0.35, 2},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.Bytes.left(40).toStdString());
        std::tie(ctx.Logger.PlateDiameter, ctx.Logger.PoissonRatio) = std::pair(300, 0.35);
        ctx.Results = ResultsTable{};
        ctx.G.UiLanguage = r.Language;
        WriteAll(Today(), r.Bytes);
        int32_t columns = 2;
        EXPECT_EQ(ReadResultsFile(ctx, Today(), &columns), r.Count);
        EXPECT_EQ(columns, r.Columns);
        EXPECT_EQ(ctx.Logger.PlateDiameter, r.Plate);
        EXPECT_DOUBLE_EQ(ctx.Logger.PoissonRatio, r.Poisson);
        EXPECT_EQ(ctx.Results.Entries[0].No, r.First);
        if (r.FirstDate) {
            EXPECT_EQ(ctx.Results.Entries[0].DateTime, r.FirstDate);
        }
    }
    ASSERT_EQ(messages.Shown.size(), 1u); // for line 1 without a comma
    EXPECT_EQ(messages.Shown[0].Title.En, "File Format ERROR!");
    // "igbored" is the system's own misspelling, kept in the message on purpose.
    EXPECT_EQ(messages.Shown[0].Text.En, "Specified File " + Today() + " is igbored file format.");
    EXPECT_EQ(messages.Shown[0].Text.Ja, QString::fromUtf8("指定したファイル ") + Today() +
                                             QString::fromUtf8(" のフォーマットが間違っています"));
}

} // namespace
