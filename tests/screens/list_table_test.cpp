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

constexpr Qt::Alignment Centre = Qt::AlignHCenter | Qt::AlignVCenter;

// The table filled from `s`.
struct List {
    explicit List(const LoggerSettings& s, int16_t language = English)
    {
        SetupListGrid(Grid, s, language);
    }
    GridModel Grid;
};

QStringList Column(const GridModel& grid, int col)
{
    QStringList texts;
    for (int r = 0; r < grid.Rows(); ++r)
        texts << grid.Text(r, col);
    return texts;
}

// ---- Shape ---------------------------------------------------------------------------

TEST(SettingsTable, HasSixteenRowsAndAColumnPerActiveChannel)
{
    const List gridList(SettingsWith({1, 2, 4}));
    const GridModel& grid = gridList.Grid;
    EXPECT_EQ(grid.Rows(), 16);
    EXPECT_EQ(grid.Cols(), 4);
    EXPECT_EQ(grid.ColWidth(0), 2000);
    for (int c = 1; c < 4; ++c)
        EXPECT_EQ(grid.ColWidth(c), 910);
    // CH4 is the third active channel: its values are in column 3.
    EXPECT_EQ(grid.Text(8, 3), "4");
    EXPECT_EQ(grid.Text(12, 3), "1593.0");
}

TEST(SettingsTable, WindowIsSizedFromTheChannelCount)
{
    const struct {
        int16_t Channels;
        int Table, Window, ReturnLeft;
    } cases[] = {{2, 3820, 4200, 2565}, {3, 4730, 5110, 3475}, {6, 7460, 7840, 6205}};
    for (const auto& c : cases) {
        const ListGeometry g = ListGeometryFor(c.Channels);
        EXPECT_EQ(g.TableWidth, c.Table) << c.Channels;
        EXPECT_EQ(g.WindowWidth, c.Window) << c.Channels;
        EXPECT_EQ(g.ReturnButtonLeft, c.ReturnLeft) << c.Channels;
    }
}

// ---- General rows ----------------------------------------------------------------------

TEST(SettingsTable, GeneralRowsInEnglish)
{
    const List gridList(SettingsWith({1, 2, 4}));
    const GridModel& grid = gridList.Grid;
    const QStringList titles = {"Sampling",
                                "Length of data",
                                "Data Length before trigger",
                                "Trigger Channel",
                                "Trigger Level",
                                "Diameter of loading plate",
                                "Poisson's Ratio",
                                "Calculation type of ground elasiticity coefficient"};
    EXPECT_EQ(Column(grid, 0).mid(0, 8), titles);
    // The reset's trigger: CH1 at level 100, coefficient 20 / 1060 / 5.
    EXPECT_EQ(Column(grid, 1).mid(0, 8),
              QStringList({"50", "800", "400", "1", "0.38", "90", "0.300", "Burmister"}));
    EXPECT_EQ(Column(grid, 2).mid(0, 8),
              QStringList({"us", "Data", "Data", "", "kN", "mm", "", ""}));
}

TEST(SettingsTable, GeneralRowsInJapanese)
{
    const List gridList(SettingsWith({1, 2}), Japanese);
    const GridModel& grid = gridList.Grid;
    const char* titles[] = {"サンプリング間隔", "記録データ数",        "プリエリア記録データ数",
                            "トリガチャンネル", "トリガレベル",        "載荷板直径",
                            "ポアソン比",       "地盤弾性係数　算出式"};
    for (int r = 0; r < 8; ++r)
        EXPECT_EQ(grid.Text(r, 0), QString::fromUtf8(titles[r])) << r;
    EXPECT_EQ(grid.Text(0, 2), QString::fromUtf8("μSec"));
    EXPECT_EQ(grid.Text(1, 2), QString::fromUtf8("データ"));
    EXPECT_EQ(grid.Text(2, 2), QString::fromUtf8("データ"));
}

TEST(SettingsTable, WithoutTriggerSourceRowThreeIsEmptyAndRowFourDashed)
{
    LoggerSettings s = SettingsWith({1, 2, 4});
    for (auto& ch : s.Channel)
        ch.TriggerLevel = NoTriggerLevel;
    const List gridList(s);
    const GridModel& grid = gridList.Grid;
    EXPECT_EQ(grid.Text(3, 1), "");
    EXPECT_EQ(grid.Text(4, 1), "------");
    EXPECT_EQ(grid.Text(4, 2), "");
}

TEST(SettingsTable, TriggerLevelAndUnitAreThoseOfTriggerChannel)
{
    LoggerSettings s = SettingsWith({1, 2, 4});
    s.Channel[1].TriggerLevel = NoTriggerLevel; // the scan finds CH2
    s.TriggerChannel = 4;
    s.Channel[4].TriggerLevel = 1234;
    s.Channel[4].Coefficient = 0.01;
    const List gridList(s);
    const GridModel& grid = gridList.Grid;
    EXPECT_EQ(grid.Text(3, 1), "4");
    EXPECT_EQ(grid.Text(4, 1), "12.34");
    EXPECT_EQ(grid.Text(4, 2), "m/s2");
}

TEST(SettingsTable, OnlyCalcTypeOneIsBurmister)
{
    for (int16_t calc : {1, 2, 0, 3, -1}) {
        LoggerSettings s = SettingsWith({1, 2});
        s.CalcType = calc;
        EXPECT_EQ(List(s).Grid.Text(7, 1), calc == 1 ? "Burmister" : "Boussinesq") << calc;
    }
}

// ---- Channel rows ------------------------------------------------------------------------

TEST(SettingsTable, ChannelRowsInBothLanguages)
{
    LoggerSettings s = SettingsWith({1, 2, 4});
    s.Channel[4].SensorType = 7; // not a load cell: an accelerometer here
    s.Channel[4].UnitCode = 5;   // no unit name
    s.Channel[2].HighPass = 0;
    s.Channel[1].Capacity = 20.4;
    s.Channel[2].Range = 4000;
    s.Channel[2].LowPass = 500;
    const List enList(s);
    const GridModel& en = enList.Grid;
    EXPECT_EQ(Column(en, 0).mid(8), QStringList({"CH", "Sensor", "Capacity", "Unit", "Sens",
                                                 "Full Scale", "L.P.F.(Hz)", "H.P.F."}));
    EXPECT_EQ(Column(en, 1).mid(8),
              QStringList({"1", "Load", "20", "kN", "1060.0", "1000", "5000", "OFF"}));
    EXPECT_EQ(Column(en, 2).mid(8),
              QStringList({"2", "Acc.", "1000", "m/s2", "1593.4", "4000", "500", "OFF"}));
    EXPECT_EQ(Column(en, 3).mid(8),
              QStringList({"4", "Acc.", "1000", "", "1593.0", "1000", "5000", "ON"}));

    const List jaList(s, Japanese);
    const GridModel& ja = jaList.Grid;
    const char* titles[] = {"CH",       "センサー",     "定格容量",   "単位",
                            "定格出力", "フルスケール", "L.P.F.(Hz)", "H.P.F."};
    for (int r = 8; r < 16; ++r)
        EXPECT_EQ(ja.Text(r, 0), QString::fromUtf8(titles[r - 8])) << r;
    EXPECT_EQ(ja.Text(9, 1), QString::fromUtf8("荷重計"));
    EXPECT_EQ(ja.Text(9, 3), QString::fromUtf8("加速度計"));
}

TEST(SettingsTable, NumberSensorUnitAndHighPassCellsAreCentred)
{
    const List gridList(SettingsWith({1, 2}));
    const GridModel& grid = gridList.Grid;
    for (int c = 1; c <= 2; ++c) {
        for (int r = 8; r < 16; ++r) {
            const bool centred = r == 8 || r == 9 || r == 11 || r == 15;
            EXPECT_EQ(grid.Alignment(r, c) == Centre, centred) << r << "," << c;
        }
    }
    for (int r = 0; r < 16; ++r)
        EXPECT_NE(grid.Alignment(r, 0), Centre) << r;
}

TEST(SettingsTable, MoreActiveChannelsThanCountedNeverWritePastTheTable)
{
    LoggerSettings s = SettingsWith({1, 2, 3, 4});
    s.ChannelCount = 2; // a record that disagrees with its flags
    const List gridList(s);
    const GridModel& grid = gridList.Grid;
    EXPECT_EQ(grid.Cols(), 3);
    EXPECT_EQ(grid.Text(8, 2), "2");
}

// ---- Copy --------------------------------------------------------------------------------

TEST(SettingsCopy, OneCellCopiesAllSixteenRowsAndEndsBottomRight)
{
    List gridList(SettingsWith({1, 2, 4}));
    GridModel& grid = gridList.Grid;
    grid.SetSelection(5, 2, 5, 2);
    MemoryClipboard clipboard;
    CopyListSelection(grid, clipboard, "\t");
    const QString text = clipboard.Text();
    ASSERT_TRUE(text.endsWith("\r\n"));
    QStringList lines = text.split("\r\n");
    lines.removeLast();
    ASSERT_EQ(lines.size(), 16);
    EXPECT_EQ(lines[0], "Sampling\t50\tus\t");
    EXPECT_EQ(lines[3], "Trigger Channel\t1\t\t");
    EXPECT_EQ(lines[8], "CH\t1\t2\t4");
    EXPECT_EQ(lines[15], "H.P.F.\tOFF\tON\tON");
    for (const QString& line : lines)
        EXPECT_EQ(line.count('\t'), 3) << line.toStdString();
    EXPECT_EQ(grid.Row(), 15);
    EXPECT_EQ(grid.Col(), 3);
    EXPECT_EQ(grid.RowSel(), 15);
    EXPECT_EQ(grid.ColSel(), 3);
}

TEST(SettingsCopy, ASelectionStartingOnAnEmptyCellKeepsItsTab)
{
    LoggerSettings s = SettingsWith({1, 2, 4});
    for (auto& ch : s.Channel)
        ch.TriggerLevel = NoTriggerLevel;
    List gridList(s);
    GridModel& grid = gridList.Grid;
    grid.SetSelection(3, 1, 4, 2);
    MemoryClipboard clipboard;
    CopyListSelection(grid, clipboard, "\t");
    EXPECT_EQ(clipboard.Text(), "\t\r\n------\t\r\n");
    // The selection is given back as it was made.
    EXPECT_EQ(grid.Row(), 3);
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_EQ(grid.RowSel(), 4);
    EXPECT_EQ(grid.ColSel(), 2);
}

TEST(SettingsCopy, ASelectionMadeUpwardsCopiesTheRectangleItCovers)
{
    List gridList(SettingsWith({1, 2, 4}));
    GridModel& grid = gridList.Grid;
    grid.SetSelection(10, 1, 8, 3); // offsets -2 and +2 sum to zero
    MemoryClipboard clipboard;
    CopyListSelection(grid, clipboard, "\t");
    EXPECT_EQ(clipboard.Text(), "1\t2\t4\r\nLoad\tAcc.\tAcc.\r\n20\t1000\t1000\r\n");
    EXPECT_EQ(grid.Row(), 10);
    EXPECT_EQ(grid.RowSel(), 8);
}

} // namespace
