#include "PrintFixtures.h"

#include "printing/ResultCopy.h"
#include "shell/ClipboardSink.h"

#include <gtest/gtest.h>

using namespace fixtures;

namespace
{

const QString DailyFile = "/home/op/Documents/VX-2968/data/20210407.csv";

struct Copy {
    explicit Copy(std::initializer_list<int> channels = {1, 2, 4, 6}, int16_t language = English)
        : G(GlobalsIn(language)), Settings(SettingsWith(channels))
    {
        FillResultGrid(Grid, 6, 1);
        Clipboard.SetText("what was there before");
    }
    QStringList Lines()
    {
        CopyResults(Clipboard, Grid, Settings, G, DailyFile);
        QStringList lines = Clipboard.Text().split("\r\n");
        EXPECT_EQ(lines.takeLast(), ""); // the last line ends in CR LF too
        return lines;
    }

    Globals G;
    LoggerSettings Settings;
    GridModel Grid;
    MemoryClipboard Clipboard;
};

TEST(ResultCopy, StartValuesOfADebugDayGiveTheWholeTextExactly)
{
    Copy c; // CH1, CH2, CH4 and CH6, as debug mode simulates them
    c.Grid.SetSelection(2, 3, 2, 3);
    CopyResults(c.Clipboard, c.Grid, c.Settings, c.G, DailyFile);
    const QString expected = "File Name\t" + DailyFile +
                             "\r\n"
                             "Test Condition\r\n"
                             "Comment\t" +
                             QString(128, ' ') +
                             "\r\n"
                             "Diameter\t90 mm\r\n"
                             "Height\t200 mm\r\n"
                             "Weight\t5 kg\r\n"
                             "Date\t04/07/2021 13:05:09\r\n"
                             "Place\r\n"
                             "No.\t0\r\n"
                             "Name\r\n"
                             "Poisson's Ratio\t0.300\r\n"
                             "\r\n"
                             "Amp Input Set\r\n"
                             "Channel\t1\t2\t4\t6\r\n"
                             "Sensor\tLoad\tAcc.\tAcc.\tAcc.\r\n"
                             "Capacity\t20\t1000\t1000\t1000\r\n"
                             "Unit\tkN \tm/s2 \tm/s2 \tm/s2 \r\n"
                             "Sens\t1060\t1593.4\t1593\t1569\r\n"
                             "Full Scale\t1000\t1000\t1000\t1000\r\n"
                             "L.P.F.(Hz)\t5000\t5000\t5000\t5000\r\n"
                             "H.P.F.\tOFF\tON\tON\tON\r\n"
                             "\r\n"
                             "No.\tDate Time\tLoad P0\tDisp. D0\tK-NWR\tE-NWR\r\n"
                             " \t \tN\tmm\tMN/m3\tMN/m2\r\n"
                             "r2c0\tr2c1\tr2c2\tr2c3\tr2c4\tr2c5\r\n";
    EXPECT_EQ(c.Clipboard.Text(), expected);
}

TEST(ResultCopy, JapaneseLabelsAndDateOrder)
{
    Copy c({1, 2}, Japanese);
    const QStringList lines = c.Lines();
    const QStringList expected = {
        "File Name\t" + DailyFile,
        QString::fromUtf8("試験条件"),
        QString::fromUtf8("コメント\t") + QString(128, ' '),
        QString::fromUtf8("載荷板直径\t90 mm"),
        QString::fromUtf8("落下高さ\t200 mm"),
        QString::fromUtf8("重錘質量\t5 kg"),
        QString::fromUtf8("日付\t2021/04/07 13:05:09"),
        QString::fromUtf8("場所"),
        QString::fromUtf8("番号\t0"),
        QString::fromUtf8("担当者名"),
        QString::fromUtf8("ポアソン比\t0.300"),
        "",
        QString::fromUtf8("アンプ入力設定"),
        QString::fromUtf8("チャンネル\t1\t2"),
        QString::fromUtf8("センサー\t荷重計\t加速度計"),
        QString::fromUtf8("定格容量\t20\t1000"),
        QString::fromUtf8("単位\tkN \tm/s2 "),
        QString::fromUtf8("定格出力\t1060\t1593.4"),
        QString::fromUtf8("測定フルスケール\t1000\t1000"),
        "L.P.F.(Hz)\t5000\t5000",
        "H.P.F.\tOFF\tON",
        "",
    };
    ASSERT_GE(lines.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ(lines[i], expected[i]) << "line " << i + 1;
}

TEST(ResultCopy, OneSelectedCellCopiesTheWholeGridAndEndsOnItsLastCell)
{
    Copy c;
    FillResultGrid(c.Grid, 6, 1); // 6 columns, 3 rows
    c.Grid.SetSelection(1, 4, 1, 4);
    const QStringList lines = c.Lines();
    ASSERT_EQ(lines.size(), 22 + 3);
    EXPECT_EQ(lines[22], "No.\tDate Time\tLoad P0\tDisp. D0\tK-NWR\tE-NWR");
    for (int i = 22; i < 25; ++i)
        EXPECT_EQ(lines[i].split('\t').size(), 6) << lines[i].toStdString();
    EXPECT_EQ(c.Grid.Row(), 2);
    EXPECT_EQ(c.Grid.Col(), 5);
    EXPECT_EQ(c.Grid.RowSel(), 2);
    EXPECT_EQ(c.Grid.ColSel(), 5);
}

TEST(ResultCopy, ASelectedRangeCopiesItsCellsAndStaysSelected)
{
    Copy c;
    FillResultGrid(c.Grid, 8, 6);
    c.Grid.SetSelection(6, 5, 3, 2); // made upwards and leftwards
    const QStringList lines = c.Lines();
    ASSERT_EQ(lines.size(), 22 + 4);
    EXPECT_EQ(lines[22], "r3c2\tr3c3\tr3c4\tr3c5");
    EXPECT_EQ(lines[25], "r6c2\tr6c3\tr6c4\tr6c5");
    EXPECT_EQ(c.Grid.Row(), 6);
    EXPECT_EQ(c.Grid.Col(), 5);
    EXPECT_EQ(c.Grid.RowSel(), 3);
    EXPECT_EQ(c.Grid.ColSel(), 2);
}

TEST(ResultCopy, ASelectionUpwardsOverOneColumnCopiesTheRowsItSpans)
{
    Copy c;
    FillResultGrid(c.Grid, 6, 4);
    c.Grid.SetSelection(5, 1, 2, 1);
    const QStringList lines = c.Lines();
    ASSERT_EQ(lines.size(), 22 + 4);
    EXPECT_EQ(lines[22], "r2c1");
    EXPECT_EQ(lines[25], "r5c1");
}

TEST(ResultCopy, EmptyCellsAreOneBlankSoThatEveryLineHasAllItsFields)
{
    Copy c;
    c.Grid.SetText(2, 2, "");
    c.Grid.SetText(2, 5, "");
    c.Grid.SetSelection(1, 0, 2, 5);
    const QStringList lines = c.Lines();
    EXPECT_EQ(lines[22], " \t \tN\tmm\tMN/m3\tMN/m2");
    EXPECT_EQ(lines[23], "r2c0\tr2c1\t \tr2c3\tr2c4\t ");
}

TEST(ResultCopy, ChannelFieldsFollowTheActiveChannelsOnly)
{
    Copy c({1, 2, 4});
    const QStringList lines = c.Lines();
    EXPECT_EQ(lines[13], "Channel\t1\t2\t4");
    EXPECT_EQ(lines[14], "Sensor\tLoad\tAcc.\tAcc.");
    EXPECT_EQ(lines[16], "Unit\tkN \tm/s2 \tm/s2 ");
    EXPECT_TRUE(lines[16].endsWith("m/s2 "));
    for (int i = 13; i <= 20; ++i)
        EXPECT_EQ(lines[i].count('\t'), 3) << lines[i].toStdString();
}

TEST(ResultCopy, UnknownSensorAndUnitKeepTheirFieldEmpty)
{
    Copy c({1, 2});
    c.Settings.Channel[2].SensorType = 3;
    c.Settings.Channel[2].UnitCode = 0;
    c.Settings.Channel[2].Capacity = 0.5;
    c.Settings.Channel[2].HighPass = 2;
    const QStringList lines = c.Lines();
    EXPECT_EQ(lines[14], "Sensor\tLoad\t");
    EXPECT_EQ(lines[15], "Capacity\t20\t0.5");
    EXPECT_EQ(lines[16], "Unit\tkN \t");
    EXPECT_EQ(lines[20], "H.P.F.\tOFF\tOFF");
}

TEST(ResultCopy, TextConditionsAreFixedLengthFieldsAndShownWhenNotBlank)
{
    Copy c;
    c.Settings.Comment = "Embankment, lot 3"; // shorter than its field
    c.Settings.Place = QString("Site A").leftJustified(40, ' ');
    c.Settings.OperatorName = "Sato";
    const QStringList lines = c.Lines();
    EXPECT_EQ(lines[2], "Comment\t" + QString("Embankment, lot 3").leftJustified(128, ' '));
    EXPECT_EQ(lines[7], "Place\t" + QString("Site A").leftJustified(40, ' '));
    EXPECT_EQ(lines[9], "Name\tSato" + QString(16, ' '));

    c.Settings.OperatorName = QString(QChar(0)) + "ghost"; // an unfilled field
    c.Settings.Comment = QString(200, 'x');                // longer than its field
    const QStringList again = c.Lines();
    EXPECT_EQ(again[9], "Name");
    EXPECT_EQ(again[2], "Comment\t" + QString(128, 'x'));
}

TEST(ResultCopy, TheDateIsTheTestDateOfTheLastTransfer)
{
    Copy c;
    c.Settings.TestDate = QDateTime(QDate(2021, 4, 7), QTime(15, 42, 1));
    EXPECT_EQ(c.Lines()[6], "Date\t04/07/2021 15:42:01");
}

} // namespace
