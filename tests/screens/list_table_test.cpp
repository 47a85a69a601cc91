// The settings display's table as logic: what each cell holds, in both languages, and the
// copy of a selection.
#include "../printing/PrintFixtures.h"

#include "printing/ConditionTexts.h"
#include "screens/SettingsList.h"
#include "shell/ClipboardSink.h"

#include <gtest/gtest.h>

using namespace fixtures;

namespace
{

struct List {
    explicit List(const LoggerSettings& s, int16_t language = English)
    {
        SetupListGrid(Grid, s, language);
    }
    QStringList Column(int col, int from, int count) const
    {
        QStringList texts;
        for (int r = from; r < from + count; ++r)
            texts << Grid.Text(r, col);
        return texts;
    }
    QString Copy(int row, int col, int rowSel, int colSel)
    {
        Grid.SetSelection(row, col, rowSel, colSel);
        MemoryClipboard clipboard;
        CopyListSelection(Grid, clipboard, "\t");
        return clipboard.Text();
    }
    std::vector<int> Selection() const
    {
        return {Grid.Row(), Grid.Col(), Grid.RowSel(), Grid.ColSel()};
    }
    GridModel Grid;
};

TEST(SettingsTable, HasSixteenRowsAndAColumnPerActiveChannel)
{
    const List list(SettingsWith({1, 2, 4}));
    EXPECT_EQ(list.Grid.Rows(), 16);
    EXPECT_EQ(list.Grid.Cols(), 4);
    EXPECT_EQ(list.Grid.ColWidth(0), 2000);
    EXPECT_EQ(list.Grid.ColWidth(3), 910);
    EXPECT_EQ(list.Grid.Text(8, 3), "4"); // CH4's values are in column 3
    // A record whose flags disagree with its count never writes past the table.
    LoggerSettings odd = SettingsWith({1, 2, 3, 4});
    odd.ChannelCount = 2;
    EXPECT_EQ(List(odd).Grid.Cols(), 3);

    const struct {
        int16_t Channels;
        int Table, Window, ReturnLeft;
    } sizes[] = {{2, 3820, 4200, 2565}, {3, 4730, 5110, 3475}, {6, 7460, 7840, 6205}};
    for (const auto& s : sizes) {
        const ListGeometry g = ListGeometryFor(s.Channels);
        EXPECT_EQ(std::vector<int>({g.TableWidth, g.WindowWidth, g.ReturnButtonLeft}),
                  std::vector<int>({s.Table, s.Window, s.ReturnLeft}));
    }
}

TEST(SettingsTable, GeneralRowsInBothLanguages)
{
    const LoggerSettings s = SettingsWith({1, 2, 4});
    const List en(s), ja(s, Japanese);
    EXPECT_EQ(
        en.Column(0, 0, 8),
        QStringList({"Sampling", "Length of data", "Data Length before trigger", "Trigger Channel",
                     "Trigger Level", "Diameter of loading plate", "Poisson's Ratio",
                     "Calculation type of ground elasiticity coefficient"}));
    // The reset's trigger: CH1 at level 100, coefficient 20 / 1060 / 5.
    EXPECT_EQ(en.Column(1, 0, 8),
              QStringList({"50", "800", "400", "1", "0.38", "90", "0.300", "Burmister"}));
    EXPECT_EQ(en.Column(2, 0, 8), QStringList({"us", "Data", "Data", "", "kN", "mm", "", ""}));
    const char* titles[] = {"サンプリング間隔", "記録データ数",        "プリエリア記録データ数",
                            "トリガチャンネル", "トリガレベル",        "載荷板直径",
                            "ポアソン比",       "地盤弾性係数　算出式"};
    for (int r = 0; r < 8; ++r)
        EXPECT_EQ(ja.Grid.Text(r, 0), QString::fromUtf8(titles[r]));
    EXPECT_EQ(ja.Column(2, 0, 3), QString::fromUtf8("μSec,データ,データ").split(','));
}

TEST(SettingsTable, TriggerRowsShowTriggerChannelOnlyWhenTheScanFindsASource)
{
    LoggerSettings s = SettingsWith({1, 2, 4});
    s.Channel[1].TriggerLevel = NoTriggerLevel; // the scan finds CH2
    s.TriggerChannel = 4;
    s.Channel[4].TriggerLevel = 1234;
    s.Channel[4].Coefficient = 0.01;
    EXPECT_EQ(List(s).Column(1, 3, 2), QStringList({"4", "12.34"}));
    EXPECT_EQ(List(s).Grid.Text(4, 2), "m/s2");
    for (auto& ch : s.Channel)
        ch.TriggerLevel = NoTriggerLevel;
    EXPECT_EQ(List(s).Column(1, 3, 2), QStringList({"", "------"}));
    EXPECT_EQ(List(s).Grid.Text(4, 2), "");
    for (int16_t calc : {2, 0, -1}) {
        s.CalcType = calc;
        EXPECT_EQ(List(s).Grid.Text(7, 1), "Boussinesq") << calc;
    }
}

TEST(SettingsTable, ChannelRowsWithTheirAlignment)
{
    LoggerSettings s = SettingsWith({1, 2, 4});
    s.Channel[4].SensorType = 7; // not a load cell: an accelerometer here
    s.Channel[4].UnitCode = 5;   // no unit name
    s.Channel[2].HighPass = 0;
    s.Channel[1].Capacity = 20.4;
    s.Channel[2].Range = 4000;
    s.Channel[2].LowPass = 500;
    const List en(s), ja(s, Japanese);
    EXPECT_EQ(en.Column(0, 8, 8), QStringList({"CH", "Sensor", "Capacity", "Unit", "Sens",
                                               "Full Scale", "L.P.F.(Hz)", "H.P.F."}));
    EXPECT_EQ(en.Column(1, 8, 8),
              QStringList({"1", "Load", "20", "kN", "1060.0", "1000", "5000", "OFF"}));
    EXPECT_EQ(en.Column(2, 8, 8),
              QStringList({"2", "Acc.", "1000", "m/s2", "1593.4", "4000", "500", "OFF"}));
    EXPECT_EQ(en.Column(3, 8, 8),
              QStringList({"4", "Acc.", "1000", "", "1593.0", "1000", "5000", "ON"}));
    EXPECT_EQ(ja.Column(0, 8, 8),
              QString::fromUtf8("CH,センサー,定格容量,単位,定格出力,フルスケール,L.P.F.(Hz),H.P.F.")
                  .split(','));
    EXPECT_EQ(ja.Column(1, 9, 1), QStringList({QString::fromUtf8("荷重計")}));
    EXPECT_EQ(ja.Column(3, 9, 1), QStringList({QString::fromUtf8("加速度計")}));
    const Qt::Alignment centre = Qt::AlignHCenter | Qt::AlignVCenter;
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 16; ++r) {
            const bool centred = c > 0 && (r == 8 || r == 9 || r == 11 || r == 15);
            EXPECT_EQ(en.Grid.Alignment(r, c) == centre, centred) << r << "," << c;
        }
    }
}

TEST(SettingsCopy, OneCellCopiesAllSixteenRowsAndEndsBottomRight)
{
    List list(SettingsWith({1, 2, 4}));
    QStringList lines = list.Copy(5, 2, 5, 2).split("\r\n");
    EXPECT_EQ(lines.takeLast(), "");
    ASSERT_EQ(lines.size(), 16);
    EXPECT_EQ(lines[0], "Sampling\t50\tus\t");
    EXPECT_EQ(lines[3], "Trigger Channel\t1\t\t");
    EXPECT_EQ(lines[15], "H.P.F.\tOFF\tON\tON");
    for (const QString& line : lines)
        EXPECT_EQ(line.count('\t'), 3) << line.toStdString();
    EXPECT_EQ(list.Selection(), std::vector<int>({15, 3, 15, 3}));
}

TEST(SettingsCopy, AnyOtherSelectionCopiesItsRectangleAndIsGivenBack)
{
    LoggerSettings s = SettingsWith({1, 2, 4});
    for (auto& ch : s.Channel)
        ch.TriggerLevel = NoTriggerLevel;
    List list(s);
    // Starting on the empty trigger-channel cell: the empty field keeps its tab.
    EXPECT_EQ(list.Copy(3, 1, 4, 2), "\t\r\n------\t\r\n");
    EXPECT_EQ(list.Selection(), std::vector<int>({3, 1, 4, 2}));
    // Made upwards, offsets -2 and +2: the rectangle, not the whole table.
    EXPECT_EQ(list.Copy(10, 1, 8, 3), "1\t2\t4\r\nLoad\tAcc.\tAcc.\r\n20\t1000\t1000\r\n");
    EXPECT_EQ(list.Selection(), std::vector<int>({10, 1, 8, 3}));
}

} // namespace
