#include "PrintFixtures.h"

#include "printing/ConditionTexts.h"
#include "printing/ResultCopy.h"
#include "printing/ResultReport.h"
#include "printing/mdlPublicPrint.h"
#include "shell/ClipboardSink.h"
#include "shell/Clock.h"

#include <functional>
#include <gtest/gtest.h>

using namespace fixtures;
using Kind = RecordingPage::Kind;

namespace
{

constexpr float Margin = 6; // the first print margin at start-up, taken off every position

// The text drawn at (x, y) mm of the page, "@6" added when it is drawn at 6 points.
QString TextAt(const RecordingPage& page, float x, float y)
{
    for (const auto& op : page.Texts())
        if (std::abs(op.X1 + Margin - x) < 0.01f && std::abs(op.Y1 + Margin - y) < 0.01f)
            return op.Text + (op.Size == 6 ? "@6" : "");
    return "<none>";
}

// The report prints the grid's selection (the whole grid for one cell, which then ends on its
// last cell), portrait up to eight columns, below the condition block from 124 mm, and goes
// on to a new sheet before a row would pass 200 mm of a landscape one.
TEST(ResultReport, PrintsTheSelectionOnTheSheetsItNeeds)
{
    using Cells = std::array<int, 4>; // row, col, and the other corner's row and col
    const auto P = PageOrientation::Portrait, L = PageOrientation::Landscape;
    const struct {
        const char* Case;
        int Cols, Results;
        Cells Selection;
        int Boxes, Pages;
        PageOrientation Orientation;
        const char* Last;
        Cells After;
    } rows[] = {
        {"one cell: the whole grid", 6, 3, {3, 2, 3, 2}, 30, 1, P, "r4c5", {4, 5, 4, 5}},
        {"no title or unit row", 6, 5, {2, 0, 4, 5}, 18, 1, P, "r4c5", {2, 0, 4, 5}},
        {"made upwards and leftwards", 6, 5, {4, 5, 2, 0}, 18, 1, P, "r4c5", {4, 5, 2, 0}},
        {"one column", 6, 5, {6, 2, 3, 2}, 4, 1, P, "r6c2", {6, 2, 3, 2}},
        {"eight columns: portrait", 10, 4, {2, 2, 4, 9}, 24, 1, P, "r4c9", {2, 2, 4, 9}},
        {"nine columns: landscape", 10, 4, {2, 0, 4, 8}, 27, 1, L, "r4c8", {2, 0, 4, 8}},
        {"two sheets", 10, 20, {0, 0, 0, 0}, 220, 2, L, "r21c9", {21, 9, 21, 9}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.Case);
        GridModel grid;
        FillResultGrid(grid, r.Cols, r.Results);
        const auto [row, col, rowSel, colSel] = r.Selection;
        grid.SetSelection(row, col, rowSel, colSel);
        RecordingPage page;
        const FixedClock clock(ResetTime());
        ASSERT_TRUE(PrintResults(page, grid, SettingsWith({1, 2, 3, 4, 5, 6}),
                                 GlobalsIn(UiLanguage::English), clock));
        int boxes = 0;
        bool later = false;
        for (const auto& op : page.Ops) {
            later = later || op.What == Kind::NewPage;
            if (op.What == Kind::Box && (later || op.Y1 + Margin > 123.99f)) {
                ++boxes;
                EXPECT_LE(op.Y2 + Margin, 200.01f);
            }
        }
        EXPECT_EQ(boxes, r.Boxes);
        EXPECT_EQ(page.Pages(), r.Pages);
        EXPECT_EQ(page.Setup.Orientation, r.Orientation);
        EXPECT_EQ(page.Texts().back().Text, r.Last);
        EXPECT_EQ((Cells{grid.Row(), grid.Col(), grid.RowSel(), grid.ColSel()}), r.After);
    }
}

// The title and the time of printing (the clock's, not the test's date) in either language.
TEST(ResultReport, TitleAndPrintingTimeHeadThePage)
{
    const struct {
        UiLanguage Language;
        const char *Title, *Time;
    } rows[] = {
        {UiLanguage::English, "VX-2968 Data Measuring Software for QL-860H Measured Data.",
         "04/07/2021 13:05:09"},
        {UiLanguage::Japanese, "QL-860H用データ処理ソフトウェア VX-2968 計測データ",
         "2021/04/07 13:05:09"},
    };
    for (const auto& r : rows) {
        GridModel grid;
        FillResultGrid(grid, 6, 2);
        LoggerSettings settings = SettingsWith({1, 2});
        settings.TestDate = QDateTime(QDate(2020, 1, 1), QTime(0, 0));
        RecordingPage page;
        ASSERT_TRUE(
            PrintResults(page, grid, settings, GlobalsIn(r.Language), FixedClock(ResetTime())));
        EXPECT_EQ(TextAt(page, 10, 8), QString::fromUtf8(r.Title));
        EXPECT_EQ(TextAt(page, 160, 8), r.Time);
        // K and E with a lowered NWR over MN/m with a raised 3 and 2 (the first row at 125).
        EXPECT_EQ(TextAt(page, 118.5, 125) + TextAt(page, 120, 126.5), "KNWR@6");
        EXPECT_EQ(TextAt(page, 138.5, 125) + TextAt(page, 140, 126.5), "ENWR@6");
        EXPECT_EQ(TextAt(page, 117, 130) + TextAt(page, 123, 130), "MN/m3@6");
        EXPECT_EQ(TextAt(page, 137, 130) + TextAt(page, 143, 130), "MN/m2@6");
    }
}

// Every cell of the condition block and the amp input table where it stands, to the
// millimetre: a channel of sensor type 0 leaves its slot blank, a unit code 3 an empty box,
// a high-pass filter 0 prints OFF. (Texts are "text x,y", boxes "[x,y x,y]", lines "_".)
TEST(TestConditionBlock, EveryCellStandsWhereItIsMeasured)
{
    LoggerSettings s = SettingsWith({1, 2, 3, 4});
    s.Channel[2].SensorType = 0;
    s.Channel[4].UnitCode = 3;
    RecordingPage page;
    float valueX = 62, y = 20;
    EXPECT_FLOAT_EQ(mdlPublicPrint(page, GlobalsIn(UiLanguage::English))
                        .PrintTestCondition(s, valueX, y, 20, 10),
                    120);
    QStringList cells;
    const auto at = [](float x, float y) {
        return QString("%1,%2").arg(x + Margin).arg(y + Margin);
    };
    for (const auto& op : page.Ops) {
        if (op.What == Kind::Text)
            cells << op.Text + " " + at(op.X1, op.Y1) + (op.Size == 6 ? "@6" : "");
        else if (op.What == Kind::Box || op.What == Kind::Line)
            cells << (op.What == Kind::Box ? "[" : "_") + at(op.X1, op.Y1) + " " +
                         at(op.X2, op.Y2) + (op.What == Kind::Box ? "]" : "");
    }
    EXPECT_EQ(cells.join('|'),
              "Test Condition 15,20|Sampling 20,25|50 us 62,25|Data Length 20,30|800 Data 62,30|"
              "Pre-area Data Length 20,35|400 Data 62,35|Trigger Channel 20,40|1 62,40|"
              "Trigger Level 20,45|0.38 kN 62,45|Diameter of loading plate 20,50|90 mm 62,50|"
              "Poisson's Ratio 20,55|0.300 62,55|"
              "Calculation type of ground elasiticity coefficient 20,60|Burmister 97,60|"
              "Amp Input Setting 15,75|[18,79 50,84]|Channel 20,80|[18,84 50,89]|Sensor 20,85|"
              "[18,89 50,94]|Capacity 20,90|[18,94 50,99]|Unit 20,95|[18,99 50,104]|Sens 20,100|"
              "[18,104 50,109]|Full Scale 20,105|[18,109 50,114]|L.P.F.(Hz) 20,110|"
              "[18,114 50,119]|H.P.F. 20,115|_18,119 50,119|"
              "[50,79 70,84]|1 59.25,80|[50,84 70,89]|Load 57,85|[50,89 70,94]|20 65,90|"
              "[50,94 70,99]|kN 65,95|[50,99 70,104]|1060.0 59,100|[50,104 70,109]|1000 62,105|"
              "[50,109 70,114]|5000 62,110|[50,114 70,119]|OFF 61.5,115|_50,119 70,119|"
              "[90,79 110,84]|3 99.25,80|[90,84 110,89]|Acc. 97,85|[90,89 110,94]|1000 102,90|"
              "[90,94 110,99]|m/s 102,95|2 106.5,95@6|[90,99 110,104]|1615.0 99,100|"
              "[90,104 110,109]|1000 102,105|[90,109 110,114]|5000 102,110|[90,114 110,119]|"
              "ON 103,115|_90,119 110,119|"
              "[110,79 130,84]|4 119.25,80|[110,84 130,89]|Acc. 117,85|[110,89 130,94]|"
              "1000 122,90|[110,94 130,99]|[110,99 130,104]|1593.0 119,100|[110,104 130,109]|"
              "1000 122,105|[110,109 130,114]|5000 122,110|[110,114 130,119]|ON 123,115|"
              "_110,119 130,119");
}

// The trigger lines of the condition block: the channel and level of TriggerChannel, in kN
// for the load channel and in m/s with a raised "2" for an accelerometer, when the scan up
// to MaxChannel finds a channel with a level.
TEST(TestConditionBlock, TriggerLinesFollowTheScanAndTriggerChannel)
{
    const auto none = [](LoggerSettings& s) {
        for (auto& ch : s.Channel)
            ch.TriggerLevel = NoTriggerLevel;
    };
    const struct {
        std::function<void(LoggerSettings&)> Set;
        const char *Channel, *Level, *Raised;
    } rows[] = {
        {none, "<none>", "<none>", "<none>"},
        {[](LoggerSettings& s) {
             std::tie(s.TriggerChannel, s.Channel[2].Coefficient, s.Channel[2].TriggerLevel) =
                 std::tuple(int16_t(2), 0.01, 1234);
         },
         "2", "12.34 m/s", "2@6"},
        {[](LoggerSettings& s) {
             std::tie(s.Channel[1].Coefficient, s.Channel[1].TriggerLevel) = std::tuple(0.5, 100);
         },
         "1", "50.00 kN", "<none>"},
        {[](LoggerSettings& s) { // the values of TriggerChannel, not of the channel found
             s.Channel[1].TriggerLevel = NoTriggerLevel;
             std::tie(s.TriggerChannel, s.Channel[4].Coefficient, s.Channel[4].TriggerLevel) =
                 std::tuple(int16_t(4), 0.1, 250);
         },
         "4", "25.00 m/s", "2@6"},
        {[none](LoggerSettings& s) { // a level only beyond MaxChannel
             none(s);
             std::tie(s.MaxChannel, s.Channel[5].TriggerLevel) = std::tuple(int16_t(4), 10);
         },
         "<none>", "<none>", "<none>"},
        {[](LoggerSettings& s) { s.TriggerChannel = 7; }, "<none>", "<none>", "<none>"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.Level);
        LoggerSettings s = SettingsWith({1, 2, 4});
        r.Set(s);
        RecordingPage page;
        const Globals g = GlobalsIn(UiLanguage::English);
        float valueX = 62, y = 20;
        EXPECT_FLOAT_EQ(mdlPublicPrint(page, g).PrintTestCondition(s, valueX, y, 20, 10), 120);
        EXPECT_EQ(TextAt(page, 20, 40), "Trigger Channel");
        EXPECT_EQ(TextAt(page, 62, 40), r.Channel);
        EXPECT_EQ(TextAt(page, 62, 45), r.Level);
        EXPECT_EQ(TextAt(page, 62 + 1.8f * float(strlen(r.Level)), 45), r.Raised);
    }
}

// The copy of the results grid for a spreadsheet: the conditions, one field per active
// channel, fixed-length texts, the selected cells; every line ends in CR LF.
TEST(ResultCopy, OneCellCopiesTheWholeGridUnderTheConditions)
{
    LoggerSettings settings = SettingsWith({1, 2, 4, 6}); // as debug mode simulates them
    settings.Place = "Site A";
    settings.OperatorName = QString(QChar(0)) + "ghost"; // a field never filled
    GridModel grid;
    FillResultGrid(grid, 6, 1);
    grid.SetSelection(2, 3, 2, 3);
    MemoryClipboard clipboard;
    clipboard.SetText("what was there before");
    const QString file = "/home/op/Documents/VX-2968/data/20210407.csv";
    CopyResults(clipboard, grid, settings, GlobalsIn(UiLanguage::English), file);
    EXPECT_EQ(clipboard.Text(), "File Name\t" + file + "\r\nTest Condition\r\nComment\t" +
                                    QString(128, ' ') +
                                    "\r\n"
                                    "Diameter\t90 mm\r\n"
                                    "Height\t200 mm\r\n"
                                    "Weight\t5 kg\r\n"
                                    "Date\t04/07/2021 13:05:09\r\n"
                                    "Place\tSite A" +
                                    QString(34, ' ') +
                                    "\r\n"
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
                                    " \t \tN\tmm\tMN/m3\tMN/m2\r\n" // an empty cell is one blank
                                    "r2c0\tr2c1\tr2c2\tr2c3\tr2c4\tr2c5\r\n");
    EXPECT_EQ(std::vector<int>({grid.Row(), grid.Col(), grid.RowSel(), grid.ColSel()}),
              std::vector<int>({2, 5, 2, 5}));

    // In Japanese, dated by the transfer, a selection made upwards over one column.
    settings.TestDate = QDateTime(QDate(2021, 4, 8), QTime(9, 30, 0));
    FillResultGrid(grid, 6, 3);
    grid.SetSelection(4, 2, 2, 2);
    CopyResults(clipboard, grid, settings, GlobalsIn(UiLanguage::Japanese), file);
    QStringList labels;
    for (const QString& line : clipboard.Text().split("\r\n"))
        labels << line.section('\t', 0, 0);
    EXPECT_EQ(labels.join('|'),
              QString::fromUtf8("File Name|試験条件|コメント|載荷板直径|落下高さ|重錘質量|日付|"
                                "場所|番号|担当者名|ポアソン比||アンプ入力設定|チャンネル|"
                                "センサー|定格容量|単位|定格出力|測定フルスケール|L.P.F.(Hz)|"
                                "H.P.F.||r2c2|r3c2|r4c2|"));
    EXPECT_TRUE(clipboard.Text().contains(QString::fromUtf8("\r\n日付\t2021/04/08 09:30:00\r\n")));
    EXPECT_EQ(std::vector<int>({grid.Row(), grid.Col(), grid.RowSel(), grid.ColSel()}),
              std::vector<int>({4, 2, 2, 2}));
}

} // namespace
