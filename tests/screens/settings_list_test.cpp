// The settings display's table as logic: what each cell holds in both languages, its
// geometry, and the copy of a selection.
#include "ScreenDay.h"
#include "printing/ConditionTexts.h"
#include "screens/SettingsList.h"
#include "shell/GridModel.h"

#include <gtest/gtest.h>

namespace
{

QStringList Column(const GridModel& grid, int col, int from, int count)
{
    QStringList texts;
    for (int r = from; r < from + count; ++r)
        texts << grid.Text(r, col);
    return texts;
}

std::unique_ptr<GridModel> List(const LoggerSettings& s, int16_t language = 1)
{
    auto grid = std::make_unique<GridModel>();
    SetupListGrid(*grid, s, language);
    return grid;
}

TEST(SettingsList, CellsInBothLanguages)
{
    LoggerSettings s = SettingsWith({1, 2, 4});
    s.Channel[4].SensorType = 7; // not a load cell: an accelerometer here
    s.Channel[4].UnitCode = 5;   // no unit name
    s.Channel[2].HighPass = 0;
    s.Channel[2].Range = 4000;
    s.Channel[2].LowPass = 500;
    const auto en = List(s), ja = List(s, 0);
    const struct {
        const std::unique_ptr<GridModel>& Grid;
        int Col, From;
        const char* Texts;
    } cases[] = {
        {en, 0, 0,
         "Sampling|Length of data|Data Length before trigger|Trigger Channel|Trigger "
         "Level|Diameter of loading plate|Poisson's Ratio|Calculation type of ground "
         "elasiticity coefficient"},
        // The reset's trigger: CH1 at level 100, coefficient 20 / 1060 / 5.
        {en, 1, 0, "50|800|400|1|0.38|90|0.300|Burmister"},
        {en, 2, 0, "us|Data|Data||kN|mm||"},
        {en, 0, 8, "CH|Sensor|Capacity|Unit|Sens|Full Scale|L.P.F.(Hz)|H.P.F."},
        {en, 1, 8, "1|Load|20|kN|1060.0|1000|5000|OFF"},
        {en, 2, 8, "2|Acc.|1000|m/s2|1593.4|4000|500|OFF"},
        {en, 3, 8, "4|Acc.|1000||1593.0|1000|5000|ON"},
        {ja, 0, 0,
         "サンプリング間隔|記録データ数|プリエリア記録データ数|トリガチャンネル|トリガレベル|"
         "載荷板直径|ポアソン比|地盤弾性係数　算出式"},
        {ja, 0, 8, "CH|センサー|定格容量|単位|定格出力|フルスケール|L.P.F.(Hz)|H.P.F."},
        {ja, 1, 9, "荷重計"},
        {ja, 3, 9, "加速度計"},
    };
    for (const auto& c : cases) {
        const QStringList texts = QString::fromUtf8(c.Texts).split('|');
        EXPECT_EQ(Column(*c.Grid, c.Col, c.From, int(texts.size())), texts) << c.Texts;
    }
    const Qt::Alignment centre = Qt::AlignHCenter | Qt::AlignVCenter;
    for (int col = 0; col < 4; ++col)
        for (int r = 0; r < 16; ++r)
            EXPECT_EQ(en->Alignment(r, col) == centre,
                      col > 0 && (r == 8 || r == 9 || r == 11 || r == 15))
                << r << "," << col;
}

TEST(SettingsList, TriggerRowsNeedASourceAndTheTableItsChannels)
{
    LoggerSettings s = SettingsWith({1, 2, 4});
    for (auto& ch : s.Channel)
        ch.TriggerLevel = NoTriggerLevel;
    EXPECT_EQ(Column(*List(s), 1, 3, 2), QStringList({"", "------"}));
    EXPECT_EQ(List(s)->Text(4, 2), "");
    s.ChannelCount = 2; // flags that disagree with the count never write past the table
    EXPECT_EQ(List(s)->Cols(), 3);
    for (const auto& [channels, table, window, returnLeft] :
         {std::tuple{2, 3820, 4200, 2565}, {3, 4730, 5110, 3475}, {6, 7460, 7840, 6205}}) {
        const ListGeometry g = ListGeometryFor(int16_t(channels));
        EXPECT_EQ(std::vector<int>({g.TableWidth, g.WindowWidth, g.ReturnButtonLeft}),
                  std::vector<int>({table, window, returnLeft}));
    }
}

TEST(SettingsList, CopyOfOneCellTakesTheTableAndOfARectangleJustIt)
{
    LoggerSettings s = SettingsWith({1, 2, 4});
    const struct {
        std::array<int, 4> Selection, After;
        const char* Text; // lines joined by "|", "" for the whole table's first three lines
    } cases[] = {
        {{5, 2, 5, 2}, {15, 3, 15, 3}, ""},
        {{3, 1, 4, 2}, {3, 1, 4, 2}, "1\t\r\n0.38\tkN\r\n"},
        {{10, 1, 8, 3}, {10, 1, 8, 3}, "1\t2\t4\r\nLoad\tAcc.\tAcc.\r\n20\t1000\t1000\r\n"},
    };
    for (const auto& c : cases) {
        const auto list = List(s);
        GridModel& grid = *list;
        const auto& [row, col, rowSel, colSel] = c.Selection;
        grid.SetSelection(row, col, rowSel, colSel);
        MemoryClipboard clipboard;
        CopyListSelection(grid, clipboard, "\t");
        EXPECT_EQ((std::array<int, 4>{grid.Row(), grid.Col(), grid.RowSel(), grid.ColSel()}),
                  c.After);
        if (*c.Text) {
            EXPECT_EQ(clipboard.Text(), c.Text);
            continue;
        }
        const QStringList lines = clipboard.Text().split("\r\n");
        ASSERT_EQ(lines.size(), 17);
        EXPECT_EQ(lines[0], "Sampling\t50\tus\t");
        EXPECT_EQ(lines[15], "H.P.F.\tOFF\tON\tON");
        EXPECT_EQ(lines[16], "");
        for (const QString& line : lines.mid(0, 16))
            EXPECT_EQ(line.count('\t'), 3) << line.toStdString();
    }
}

} // namespace
