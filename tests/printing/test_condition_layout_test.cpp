#include "PrintFixtures.h"

#include "printing/ConditionTexts.h"
#include "printing/mdlPublicPrint.h"

#include <functional>
#include <gtest/gtest.h>

using namespace fixtures;
using Kind = RecordingPage::Kind;

namespace
{

struct Block {
    explicit Block(const LoggerSettings& s, int16_t language = English, int sizeBefore = 10)
    {
        Page.SetFontSize(sizeBefore);
        const Globals g = GlobalsIn(language);
        mdlPublicPrint print(Page, g);
        Returned = print.PrintTestCondition(s, ValueX, Y, 20, 10);
    }
    // Left edges of the channel columns' boxes (the label column's start at 18).
    std::vector<float> ColumnLefts() const
    {
        std::vector<float> lefts;
        for (const auto& box : Page.OfKind(Kind::Box)) {
            const float x = PageX(box);
            if (x > 18 && std::find(lefts.begin(), lefts.end(), x) == lefts.end())
                lefts.push_back(x);
        }
        return lefts;
    }
    QString TextAt(float x, float y) const
    {
        const auto* op = fixtures::TextAt(Page, x, y);
        return op ? op->Text : QStringLiteral("<none>");
    }
    RecordingPage Page;
    float ValueX = 62, Y = 20, Returned = 0;
};

TEST(PrintPrimitives, ShiftEveryPositionAndAlignTextsOnTheirWidthAtTheRequestedSize)
{
    RecordingPage page;
    page.SetFontSize(12);
    const Globals g = GlobalsIn(English);
    mdlPublicPrint print(page, g);
    print.PrintTextLeft(100, 50, 10, "abcd");
    print.PrintTextCenter(100, 50, 10, "abcd");
    print.PrintTextRight(100, 50, 6, "abcd"); // measured at 6 points, not at the 12 in effect
    print.PrintLine(18, 79, 50, 124, 0);
    print.PrintBox(50, 79, 70, 84, 0);
    const auto texts = page.Texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_FLOAT_EQ(texts[0].X1, 100 - Shift);
    EXPECT_FLOAT_EQ(texts[1].X1, Centred(100, "abcd") - Shift);
    EXPECT_FLOAT_EQ(texts[2].X1, EndingAt(100, "abcd", 6) - Shift);
    EXPECT_FLOAT_EQ(texts[2].Y1, 50 - Shift);
    EXPECT_EQ(texts[2].Size, 6);
    const auto line = page.OfKind(Kind::Line).at(0), box = page.OfKind(Kind::Box).at(0);
    EXPECT_EQ(std::vector<float>({line.X1, line.Y1, line.X2, line.Y2}),
              std::vector<float>({12, 73, 44, 118}));
    EXPECT_EQ(std::vector<float>({box.X1, box.Y1, box.X2, box.Y2}),
              std::vector<float>({44, 73, 64, 78}));
}

TEST(PrintPrimitives, EveryTextCallRestoresTheSizeItFound)
{
    LoggerSettings s = SettingsWith({1, 2, 4});
    s.TriggerChannel = 2; // a raised "2" after the level as well
    const Block b(s, English, 12);
    EXPECT_EQ(b.Page.FontSize(), 12);
    int texts = 0;
    for (size_t i = 0; i < b.Page.Ops.size(); ++i) {
        if (b.Page.Ops[i].What != Kind::Text)
            continue;
        ++texts;
        ASSERT_LT(i + 1, b.Page.Ops.size());
        EXPECT_EQ(b.Page.Ops[i + 1].What, Kind::FontSize);
        EXPECT_EQ(b.Page.Ops[i + 1].Size, 12) << b.Page.Ops[i].Text.toStdString();
    }
    EXPECT_GT(texts, 50);
}

TEST(TestConditionBlock, OccupiesTheRowsBothPrintoutsRelyOn)
{
    const Block b(SettingsWith({1, 2, 4}));
    EXPECT_EQ(b.TextAt(15, 20), "Test Condition");
    const char* labels[] = {"Sampling",
                            "Data Length",
                            "Pre-area Data Length",
                            "Trigger Channel",
                            "Trigger Level",
                            "Diameter of loading plate",
                            "Poisson's Ratio",
                            "Calculation type of ground elasiticity coefficient"};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(b.TextAt(20, 25 + 5 * i), labels[i]);
    EXPECT_EQ(b.TextAt(15, 75), "Amp Input Setting");
    const char* rows[] = {"Channel", "Sensor",     "Capacity",   "Unit",
                          "Sens",    "Full Scale", "L.P.F.(Hz)", "H.P.F."};
    std::vector<float> labelBoxTops;
    for (const auto& box : b.Page.OfKind(Kind::Box)) {
        if (PageX(box) == 18 && box.X2 + Shift == 50)
            labelBoxTops.push_back(PageY(box));
    }
    EXPECT_EQ(labelBoxTops, std::vector<float>({79, 84, 89, 94, 99, 104, 109, 114}));
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(b.TextAt(20, 80 + 5 * k), rows[k]);
    EXPECT_FLOAT_EQ(b.Page.OfKind(Kind::Line).front().Y1 + Shift, 119);
    EXPECT_FLOAT_EQ(b.Returned, 120);
    EXPECT_FLOAT_EQ(b.Y, 120);
    EXPECT_EQ(b.ColumnLefts(), std::vector<float>({50, 70, 90})); // CH3 takes no column
}

TEST(TestConditionBlock, ValuesInEachLanguage)
{
    const LoggerSettings s = SettingsWith({1, 2});
    const Block en(s, English), ja(s, Japanese);
    const struct {
        float Y;
        const char *English, *Japanese;
    } lines[] = {{25, "50 us", "50 μs"},         {30, "800 Data", "800 データ"},
                 {35, "400 Data", "400 データ"}, {50, "90 mm", "90 mm"},
                 {55, "0.300", "0.300"},         {60, "<none>", "Burmister"}};
    for (const auto& line : lines) {
        EXPECT_EQ(en.TextAt(62, line.Y), line.English);
        EXPECT_EQ(ja.TextAt(62, line.Y), QString::fromUtf8(line.Japanese));
    }
    for (const char* text :
         {"試験条件", "アンプ入力設定", "地盤弾性係数　算出式", "測定フルスケール"})
        EXPECT_NE(ja.Page.FindText(QString::fromUtf8(text)), nullptr) << text;
    // The one English label longer than its column pushes its value past its end.
    const QString label = "Calculation type of ground elasiticity coefficient";
    EXPECT_EQ(en.TextAt(20 + Width(label) + 2, 60), "Burmister");
}

TEST(TestConditionBlock, AnyCalculationTypeButOneIsBoussinesq)
{
    for (int16_t calc : {1, 2, 0, 7}) {
        LoggerSettings s = SettingsWith({1, 2});
        s.CalcType = calc;
        EXPECT_EQ(Block(s, Japanese).TextAt(62, 60), calc == 1 ? "Burmister" : "Boussinesq");
    }
}

TEST(TestConditionBlock, TriggerLinesFollowTheScanAndTriggerChannel)
{
    const auto none = [](LoggerSettings& s) {
        for (auto& ch : s.Channel)
            ch.TriggerLevel = NoTriggerLevel;
    };
    const struct {
        const char* Name;
        std::function<void(LoggerSettings&)> Set;
        const char *Channel, *Level;
        bool RaisedTwo;
    } cases[] = {
        {"no channel triggers", none, "<none>", "<none>", false},
        {"level in m/s, raised 2 at valueX + 1.8 per character",
         [](LoggerSettings& s) {
             s.TriggerChannel = 2;
             s.Channel[2].Coefficient = 0.01;
             s.Channel[2].TriggerLevel = 1234;
         },
         "2", "12.34 m/s", true},
        {"load channel in kN",
         [](LoggerSettings& s) {
             s.Channel[1].Coefficient = 0.5;
             s.Channel[1].TriggerLevel = 100;
         },
         "1", "50.00 kN", false},
        {"values from TriggerChannel, not from the channel the scan found",
         [](LoggerSettings& s) {
             s.Channel[1].TriggerLevel = NoTriggerLevel;
             s.TriggerChannel = 4;
             s.Channel[4].Coefficient = 0.1;
             s.Channel[4].TriggerLevel = 250;
         },
         "4", "25.00 m/s", true},
        {"first level beyond MaxChannel",
         [none](LoggerSettings& s) {
             none(s);
             s.MaxChannel = 4;
             s.Channel[5].TriggerLevel = 10;
         },
         "<none>", "<none>", false},
        {"damaged TriggerChannel", [](LoggerSettings& s) { s.TriggerChannel = 7; }, "<none>",
         "<none>", false},
    };
    for (const auto& c : cases) {
        LoggerSettings s = SettingsWith({1, 2, 4});
        c.Set(s);
        const Block b(s);
        EXPECT_EQ(b.TextAt(20, 40), "Trigger Channel") << c.Name;
        EXPECT_EQ(b.TextAt(20, 45), "Trigger Level") << c.Name;
        EXPECT_EQ(b.TextAt(62, 40), c.Channel) << c.Name;
        EXPECT_EQ(b.TextAt(62, 45), c.Level) << c.Name;
        const auto* two = TextAt(b.Page, 62 + 1.8f * float(strlen(c.Level)), 45);
        EXPECT_EQ(two != nullptr && two->Text == "2" && two->Size == 6, c.RaisedTwo) << c.Name;
    }
}

TEST(AmpInputTable, ColumnsForActiveChannelsWithABlankSlotForNoSensor)
{
    const struct {
        std::initializer_list<int> Active;
        int NoSensor; // channel with SensorType 0, or 0
        int16_t MaxChannel;
        std::vector<float> Lefts;
    } cases[] = {
        {{1, 2, 4}, 0, 4, {50, 70, 90}},
        {{1, 2, 4}, 2, 4, {50, 90}},                     // CH2's slot stays blank
        {{1, 2, 3, 4, 5}, 0, 6, {50, 70, 90, 110, 130}}, // CH6 inactive
        {{1, 2, 6}, 6, 6, {50, 70}},
    };
    for (const auto& c : cases) {
        LoggerSettings s = SettingsWith(c.Active);
        s.MaxChannel = c.MaxChannel;
        if (c.NoSensor)
            s.Channel[c.NoSensor].SensorType = 0;
        const Block b(s);
        EXPECT_EQ(b.ColumnLefts(), c.Lefts);
        EXPECT_FLOAT_EQ(b.Returned, 120);
        // Eight boxes and a closing line along the bottom of every printed column.
        EXPECT_EQ(b.Page.OfKind(Kind::Box).size(), 8 * (c.Lefts.size() + 1));
        EXPECT_EQ(b.Page.OfKind(Kind::Line).size(), c.Lefts.size() + 1);
    }
}

TEST(AmpInputTable, CellsSitWhereTheirRowsPlaceThem)
{
    LoggerSettings s = SettingsWith({1, 2, 3});
    s.Channel[2].Capacity = 0.5;
    s.Channel[2].HighPass = 2;
    s.Channel[3].UnitCode = 3;
    s.Channel[3].SensorType = 5;
    const Block b(s);
    // CH1's column starts at 50, CH2's at 70, CH3's at 90.
    const struct {
        float X, Y;
        const char* Text;
    } cells[] = {
        {Centred(60, "1"), 80, "1"},
        {Centred(60, "Load"), 85, "Load"},
        {Centred(80, "Acc."), 85, "Acc."},
        {EndingAt(68, "20"), 90, "20"},
        {EndingAt(88, "0.5"), 90, "0.5"},
        {EndingAt(68, "kN"), 95, "kN"},
        {EndingAt(86.5f, "m/s"), 95, "m/s"},
        {86.5f, 95, "2"},
        {EndingAt(68, "1060.0"), 100, "1060.0"},
        {EndingAt(68, "1000"), 105, "1000"},
        {EndingAt(68, "5000"), 110, "5000"},
        {EndingAt(66, "OFF"), 115, "OFF"},
        {EndingAt(86, "OFF"), 115, "OFF"},
        {EndingAt(106, "ON"), 115, "ON"},
    };
    for (const auto& c : cells)
        EXPECT_EQ(b.TextAt(c.X, c.Y), c.Text) << c.Text << " at " << c.X << "," << c.Y;
    // An unknown sensor kind and an unknown unit leave their boxes empty.
    for (float y : {85.f, 95.f}) {
        for (const auto& t : TextsAtY(b.Page, y))
            EXPECT_LT(PageX(t), 90) << t.Text.toStdString();
    }
}

TEST(SettingsPage, IsTheBlockAloneOnOnePortraitPage)
{
    RecordingPage page;
    ASSERT_TRUE(PrintSettings(page, SettingsWith({1, 2}), GlobalsIn(Japanese)));
    EXPECT_EQ(page.Setup.Orientation, PageOrientation::Portrait);
    EXPECT_EQ(page.Setup.FontName, QString::fromUtf8("ＭＳ 明朝"));
    EXPECT_FLOAT_EQ(page.Setup.Margin, Shift);
    EXPECT_EQ(page.Ops.front().What, Kind::Begin);
    EXPECT_EQ(page.Ops.back().What, Kind::End);
    EXPECT_EQ(page.Pages(), 1);
    for (const auto& t : page.Texts())
        EXPECT_GE(PageY(t), 20 - 0.01f) << t.Text.toStdString(); // no title, no date

    RecordingPage refusing;
    refusing.FailBegin = true;
    EXPECT_FALSE(PrintSettings(refusing, SettingsWith({1, 2}), GlobalsIn(English)));
    EXPECT_TRUE(refusing.Ops.empty());
}

} // namespace
