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

std::unique_ptr<GridModel> List(const LoggerSettings& s, UiLanguage language = UiLanguage::English)
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
    const auto en = List(s), ja = List(s, UiLanguage::Japanese);
    const struct {
        const std::unique_ptr<GridModel>& Grid;
        int Col, From;
        const char* Texts;
    } cases[] = {
        // The reset's trigger: CH1 at level 100, coefficient 20 / 1060 / 5.
        {en, 1, 0, "50|800|400|1|0.38|90|0.300|Burmister"},
        {en, 2, 0, "us|Data|Data||kN|mm||"},
        {en, 1, 8, "1|Load|20|kN|1060.0|1000|5000|OFF"},
        {en, 2, 8, "2|Acc.|1000|m/s2|1593.4|4000|500|OFF"},
        {en, 3, 8, "4|Acc.|1000||1593.0|1000|5000|ON"},
        {ja, 0, 5, "載荷板直径|ポアソン比"},
        {ja, 1, 9, "荷重計"},
        {ja, 3, 9, "加速度計"},
    };
    for (const auto& c : cases) {
        const QStringList texts = QString::fromUtf8(c.Texts).split('|');
        EXPECT_EQ(Column(*c.Grid, c.Col, c.From, int(texts.size())), texts) << c.Texts;
    }
    EXPECT_EQ(en->Alignment(9, 2), Qt::AlignHCenter | Qt::AlignVCenter); // channel rows centred
    for (auto& ch : s.Channel)
        ch.TriggerLevel = NoTriggerLevel; // no trigger source: no channel, no level
    EXPECT_EQ(Column(*List(s), 1, 3, 2), QStringList({"", "------"}));
    s.ChannelCount = 2; // flags that disagree with the count never write past the table
    EXPECT_EQ(List(s)->Cols(), 3);
}

TEST(SettingsList, CopyOfOneCellTakesTheTableAndOfARectangleJustIt)
{
    const struct {
        std::array<int, 4> Selection, After;
        const char *Start, *End; // of the copy
        int Lines, Tabs;
    } cases[] = {
        {{5, 2, 5, 2}, {15, 3, 15, 3}, "Sampling\t50\tus\t\r\n", "H.P.F.\tOFF\tON\tON\r\n", 16, 48},
        {{3, 1, 4, 2}, {3, 1, 4, 2}, "1\t\r\n", "0.38\tkN\r\n", 2, 2}, // an empty cell keeps its
                                                                       // tab
        {{10, 1, 8, 3},
         {10, 1, 8, 3},
         "1\t2\t4\r\nLoad\tAcc.\tAcc.\r\n",
         "\r\n20\t1000\t1000\r\n",
         3,
         6},
    };
    for (const auto& c : cases) {
        const auto list = List(SettingsWith({1, 2, 4}));
        const auto& [row, col, rowSel, colSel] = c.Selection;
        list->SetSelection(row, col, rowSel, colSel);
        MemoryClipboard clipboard;
        CopyListSelection(*list, clipboard, "\t");
        const QString text = clipboard.Text();
        EXPECT_TRUE(text.startsWith(c.Start) && text.endsWith(c.End)) << text.toStdString();
        EXPECT_EQ(std::vector<qsizetype>({text.count("\r\n"), text.count('\t')}),
                  std::vector<qsizetype>({c.Lines, c.Tabs}));
        EXPECT_EQ((std::array<int, 4>{list->Row(), list->Col(), list->RowSel(), list->ColSel()}),
                  c.After);
    }
}

} // namespace
