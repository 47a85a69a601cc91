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
        FillResultGrid(Grid, 6, 1); // 6 columns, 3 rows
        Clipboard.SetText("what was there before");
    }
    QStringList Lines(int row, int col, int rowSel, int colSel)
    {
        Grid.SetSelection(row, col, rowSel, colSel);
        CopyResults(Clipboard, Grid, Settings, G, DailyFile);
        QStringList lines = Clipboard.Text().split("\r\n");
        EXPECT_EQ(lines.takeLast(), ""); // the last line ends in CR LF too
        return lines;
    }
    std::vector<int> Selection() const
    {
        return {Grid.Row(), Grid.Col(), Grid.RowSel(), Grid.ColSel()};
    }

    Globals G;
    LoggerSettings Settings;
    GridModel Grid;
    MemoryClipboard Clipboard;
};

TEST(ResultCopy, StartValuesOfADebugDayGiveTheWholeTextExactly)
{
    Copy c; // CH1, CH2, CH4 and CH6, as debug mode simulates them
    c.Lines(2, 3, 2, 3);
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
                             " \t \tN\tmm\tMN/m3\tMN/m2\r\n" // empty cells are one blank
                             "r2c0\tr2c1\tr2c2\tr2c3\tr2c4\tr2c5\r\n";
    EXPECT_EQ(c.Clipboard.Text(), expected);
    EXPECT_EQ(c.Selection(), std::vector<int>({2, 5, 2, 5})); // the grid's last cell
}

TEST(ResultCopy, JapaneseLabelsAndDateOrder)
{
    Copy c({1, 2}, Japanese);
    const QStringList lines = c.Lines(0, 0, 0, 0);
    const char* expected[] = {"試験条件",
                              "コメント\t",
                              "載荷板直径\t90 mm",
                              "落下高さ\t200 mm",
                              "重錘質量\t5 kg",
                              "日付\t2021/04/07 13:05:09",
                              "場所",
                              "番号\t0",
                              "担当者名",
                              "ポアソン比\t0.300",
                              "",
                              "アンプ入力設定",
                              "チャンネル\t1\t2",
                              "センサー\t荷重計\t加速度計",
                              "定格容量\t20\t1000",
                              "単位\tkN \tm/s2 ",
                              "定格出力\t1060\t1593.4",
                              "測定フルスケール\t1000\t1000",
                              "L.P.F.(Hz)\t5000\t5000",
                              "H.P.F.\tOFF\tON",
                              ""};
    EXPECT_EQ(lines[0], "File Name\t" + DailyFile);
    for (int i = 0; i < 21; ++i) {
        const QString want = QString::fromUtf8(expected[i]) + (i == 1 ? QString(128, ' ') : "");
        EXPECT_EQ(lines[i + 1], want) << "line " << i + 2;
    }
}

TEST(ResultCopy, AnyOtherSelectionCopiesItsRectangleAndStaysSelected)
{
    const struct {
        int Row, Col, RowSel, ColSel;
        QStringList Data;
    } cases[] = {
        {3,
         2,
         6,
         5,
         {"r3c2\tr3c3\tr3c4\tr3c5", "r4c2\tr4c3\tr4c4\tr4c5", "r5c2\tr5c3\tr5c4\tr5c5",
          "r6c2\tr6c3\tr6c4\tr6c5"}},
        {5, 3, 3, 1, {"r3c1\tr3c2\tr3c3", "r4c1\tr4c2\tr4c3", "r5c1\tr5c2\tr5c3"}},
        {5, 1, 2, 1, {"r2c1", "r3c1", "r4c1", "r5c1"}}, // upwards over one column
    };
    for (const auto& c : cases) {
        Copy copy;
        FillResultGrid(copy.Grid, 8, 6);
        const QStringList lines = copy.Lines(c.Row, c.Col, c.RowSel, c.ColSel);
        EXPECT_EQ(lines.mid(22), c.Data);
        EXPECT_EQ(copy.Selection(), std::vector<int>({c.Row, c.Col, c.RowSel, c.ColSel}));
    }
}

TEST(ResultCopy, AmpLinesHaveOneFieldPerActiveChannel)
{
    Copy c({1, 2, 4});
    c.Settings.Channel[4].SensorType = 3; // neither kind: an empty field
    c.Settings.Channel[4].UnitCode = 0;
    c.Settings.Channel[2].Capacity = 0.5;
    c.Settings.Channel[2].HighPass = 2;
    const QStringList lines = c.Lines(0, 0, 0, 0);
    EXPECT_EQ(lines[13], "Channel\t1\t2\t4");
    EXPECT_EQ(lines[14], "Sensor\tLoad\tAcc.\t");
    EXPECT_EQ(lines[15], "Capacity\t20\t0.5\t1000");
    EXPECT_EQ(lines[16], "Unit\tkN \tm/s2 \t");
    EXPECT_EQ(lines[20], "H.P.F.\tOFF\tOFF\tON");
    for (int i = 13; i <= 20; ++i)
        EXPECT_EQ(lines[i].count('\t'), 3) << lines[i].toStdString();
}

TEST(ResultCopy, TextConditionsAreFixedLengthFieldsShownWhenNotBlank)
{
    Copy c;
    c.Settings.Comment = "Embankment, lot 3";
    c.Settings.Place = "Site A";
    c.Settings.OperatorName = "Sato";
    QStringList lines = c.Lines(0, 0, 0, 0);
    EXPECT_EQ(lines[2], "Comment\t" + QString("Embankment, lot 3").leftJustified(128, ' '));
    EXPECT_EQ(lines[7], "Place\t" + QString("Site A").leftJustified(40, ' '));
    EXPECT_EQ(lines[9], "Name\tSato" + QString(16, ' '));

    c.Settings.OperatorName = QString(QChar(0)) + "ghost"; // an unfilled field
    c.Settings.Comment = QString(200, 'x');                // longer than its field
    lines = c.Lines(0, 0, 0, 0);
    EXPECT_EQ(lines[9], "Name");
    EXPECT_EQ(lines[2], "Comment\t" + QString(128, 'x'));
}

} // namespace
