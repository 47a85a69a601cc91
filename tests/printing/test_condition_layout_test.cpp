#include "PrintFixtures.h"

#include "printing/ConditionTexts.h"
#include "printing/mdlPublicPrint.h"

#include <gtest/gtest.h>

using namespace fixtures;
using Kind = RecordingPage::Kind;

namespace
{

struct Block {
    RecordingPage Page;
    float Returned = 0;
    float Y = 20;
    float ValueX = 62;
};

void PrintBlock(Block& b, const LoggerSettings& s, int16_t language = English)
{
    const Globals g = GlobalsIn(language);
    mdlPublicPrint print(b.Page, g);
    b.Returned = print.PrintTestCondition(s, b.ValueX, b.Y, 20, 10);
}

std::vector<RecordingPage::Op> BoxesWithLeft(const RecordingPage& page, float x)
{
    std::vector<RecordingPage::Op> found;
    for (const auto& op : page.OfKind(Kind::Box)) {
        if (std::abs(PageX(op) - x) < 0.01f)
            found.push_back(op);
    }
    return found;
}

// ---- Primitives --------------------------------------------------------------------

struct TextCase {
    const char* Name;
    void (mdlPublicPrint::*Call)(float, float, int16_t, const QString&);
    float ExpectedX; // on the page, after the shift
};

TEST(PrintPrimitives, TextsAreShiftedAndAlignedOnTheirMeasuredWidth)
{
    const TextCase cases[] = {
        {"left", &mdlPublicPrint::PrintTextLeft, 100 - Shift},
        {"centre", &mdlPublicPrint::PrintTextCenter, Centred(100, "abcd") - Shift},
        {"right", &mdlPublicPrint::PrintTextRight, EndingAt(100, "abcd") - Shift},
    };
    for (const TextCase& c : cases) {
        RecordingPage page;
        const Globals g = GlobalsIn(English);
        mdlPublicPrint print(page, g);
        (print.*c.Call)(100, 50, 10, "abcd");
        const auto texts = page.Texts();
        ASSERT_EQ(texts.size(), 1u) << c.Name;
        EXPECT_FLOAT_EQ(texts[0].X1, c.ExpectedX) << c.Name;
        EXPECT_FLOAT_EQ(texts[0].Y1, 50 - Shift) << c.Name;
        EXPECT_EQ(texts[0].Size, 10) << c.Name;
    }
}

TEST(PrintPrimitives, CentredAndRightTextIsMeasuredAtTheRequestedSize)
{
    RecordingPage page;
    page.SetFontSize(12);
    const Globals g = GlobalsIn(English);
    mdlPublicPrint print(page, g);
    // Measured at 6 points, whatever the size in effect before.
    print.PrintTextRight(50, 10, 6, "ab");
    EXPECT_FLOAT_EQ(page.Texts()[0].X1, EndingAt(50, "ab", 6) - Shift);
}

TEST(PrintPrimitives, LinesAndBoxesAreShiftedAtBothEnds)
{
    RecordingPage page;
    const Globals g = GlobalsIn(English);
    mdlPublicPrint print(page, g);
    print.PrintLine(18, 79, 50, 124, 0);
    print.PrintBox(50, 79, 70, 84, 0);
    const auto line = page.OfKind(Kind::Line).at(0);
    const auto box = page.OfKind(Kind::Box).at(0);
    EXPECT_FLOAT_EQ(line.X1, 12);
    EXPECT_FLOAT_EQ(line.Y1, 73);
    EXPECT_FLOAT_EQ(line.X2, 44);
    EXPECT_FLOAT_EQ(line.Y2, 118);
    EXPECT_FLOAT_EQ(box.X1, 44);
    EXPECT_FLOAT_EQ(box.Y2, 78);
}

TEST(PrintPrimitives, EveryTextCallRestoresTheSizeItFound)
{
    Block b;
    b.Page.SetFontSize(12);
    LoggerSettings s = SettingsWith({1, 2, 4});
    s.TriggerChannel = 2; // a raised "2" after the level as well
    PrintBlock(b, s);
    EXPECT_EQ(b.Page.FontSize(), 12);
    const auto& ops = b.Page.Ops;
    int texts = 0;
    for (size_t i = 0; i < ops.size(); ++i) {
        if (ops[i].What != Kind::Text)
            continue;
        ++texts;
        ASSERT_LT(i + 1, ops.size());
        EXPECT_EQ(ops[i + 1].What, Kind::FontSize) << ops[i].Text.toStdString();
        EXPECT_EQ(ops[i + 1].Size, 12) << ops[i].Text.toStdString();
    }
    EXPECT_GT(texts, 50);
}

// ---- The block's rows ------------------------------------------------------------------

TEST(TestConditionBlock, OccupiesTheRowsBothPrintoutsRelyOn)
{
    Block b;
    PrintBlock(b, SettingsWith({1, 2, 4}));

    const auto* heading = b.Page.FindText("Test Condition");
    ASSERT_NE(heading, nullptr);
    EXPECT_FLOAT_EQ(PageX(*heading), 15);
    EXPECT_FLOAT_EQ(PageY(*heading), 20);

    const char* labels[] = {"Sampling",
                            "Data Length",
                            "Pre-area Data Length",
                            "Trigger Channel",
                            "Trigger Level",
                            "Diameter of loading plate",
                            "Poisson's Ratio",
                            "Calculation type of ground elasiticity coefficient"};
    for (int i = 0; i < 8; ++i) {
        const auto* label = b.Page.FindText(labels[i]);
        ASSERT_NE(label, nullptr) << labels[i];
        EXPECT_FLOAT_EQ(PageX(*label), 20) << labels[i];
        EXPECT_FLOAT_EQ(PageY(*label), 25 + 5 * i) << labels[i];
        // Every condition line has its value at valueX, but for the one label that is
        // longer than its column.
        if (i < 7) {
            EXPECT_NE(TextAt(b.Page, 62, 25 + 5 * i), nullptr) << labels[i];
        }
    }

    const auto* table = b.Page.FindText("Amp Input Setting");
    ASSERT_NE(table, nullptr);
    EXPECT_FLOAT_EQ(PageX(*table), 15);
    EXPECT_FLOAT_EQ(PageY(*table), 75);

    const char* rows[] = {"Channel", "Sensor",     "Capacity",   "Unit",
                          "Sens",    "Full Scale", "L.P.F.(Hz)", "H.P.F."};
    const auto labelBoxes = BoxesWithLeft(b.Page, 18);
    ASSERT_EQ(labelBoxes.size(), 8u);
    for (int k = 0; k < 8; ++k) {
        const auto* label = TextAt(b.Page, 20, 80 + 5 * k);
        ASSERT_NE(label, nullptr) << rows[k];
        EXPECT_EQ(label->Text, rows[k]);
        EXPECT_FLOAT_EQ(labelBoxes[k].Y1 + Shift, 79 + 5 * k);
        EXPECT_FLOAT_EQ(labelBoxes[k].Y2 + Shift, 84 + 5 * k);
        EXPECT_FLOAT_EQ(labelBoxes[k].X2 + Shift, 50);
    }
    EXPECT_FLOAT_EQ(labelBoxes.back().Y2 + Shift, 119);

    EXPECT_FLOAT_EQ(b.Returned, 120);
    EXPECT_FLOAT_EQ(b.Y, 120);
}

TEST(TestConditionBlock, ValuesCarryTheirUnitsInEachLanguage)
{
    const LoggerSettings s = SettingsWith({1, 2});
    Block en, ja;
    PrintBlock(en, s, English);
    PrintBlock(ja, s, Japanese);
    const struct {
        float Y;
        QString English, Japanese;
    } lines[] = {
        {25, "50 us", QString::fromUtf8("50 μs")},
        {30, "800 Data", QString::fromUtf8("800 データ")},
        {35, "400 Data", QString::fromUtf8("400 データ")},
        {50, "90 mm", "90 mm"},
        {55, "0.300", "0.300"},
    };
    for (const auto& line : lines) {
        const auto* e = TextAt(en.Page, 62, line.Y);
        const auto* j = TextAt(ja.Page, 62, line.Y);
        ASSERT_NE(e, nullptr);
        ASSERT_NE(j, nullptr);
        EXPECT_EQ(e->Text, line.English);
        EXPECT_EQ(j->Text, line.Japanese);
    }
    EXPECT_NE(ja.Page.FindText(QString::fromUtf8("試験条件")), nullptr);
    EXPECT_NE(ja.Page.FindText(QString::fromUtf8("アンプ入力設定")), nullptr);
    EXPECT_NE(ja.Page.FindText(QString::fromUtf8("地盤弾性係数　算出式")), nullptr);
    EXPECT_NE(ja.Page.FindText(QString::fromUtf8("測定フルスケール")), nullptr);
}

TEST(TestConditionBlock, AnyCalculationTypeButOneIsBoussinesq)
{
    const struct {
        int16_t CalcType;
        const char* Shown;
    } cases[] = {{1, "Burmister"}, {2, "Boussinesq"}, {0, "Boussinesq"}, {7, "Boussinesq"}};
    for (const auto& c : cases) {
        LoggerSettings s = SettingsWith({1, 2});
        s.CalcType = c.CalcType;
        Block b;
        PrintBlock(b, s, Japanese);
        const auto* value = TextAt(b.Page, 62, 60);
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->Text, c.Shown) << c.CalcType;
    }
}

TEST(TestConditionBlock, AValueNeverOverprintsALabelLongerThanItsColumn)
{
    Block en, ja;
    PrintBlock(en, SettingsWith({1, 2}), English);
    PrintBlock(ja, SettingsWith({1, 2}), Japanese);
    const QString label = "Calculation type of ground elasiticity coefficient";
    const auto line = TextsAtY(en.Page, 60);
    ASSERT_EQ(line.size(), 2u);
    EXPECT_EQ(line[0].Text, label);
    EXPECT_EQ(line[1].Text, "Burmister");
    EXPECT_FLOAT_EQ(PageX(line[1]), 20 + Width(label) + 2);
    // Labels that fit keep their values in the value column, in both languages.
    EXPECT_NE(TextAt(en.Page, 62, 50), nullptr); // "Diameter of loading plate"
    EXPECT_EQ(TextAt(ja.Page, 62, 60)->Text, "Burmister");
}

// ---- Trigger ---------------------------------------------------------------------------

TEST(TestConditionBlock, NoTriggerSourceLeavesBothTriggerValuesOut)
{
    LoggerSettings s = SettingsWith({1, 2, 4});
    for (auto& ch : s.Channel)
        ch.TriggerLevel = NoTriggerLevel;
    Block b;
    PrintBlock(b, s);
    EXPECT_NE(b.Page.FindText("Trigger Channel"), nullptr);
    EXPECT_NE(b.Page.FindText("Trigger Level"), nullptr);
    EXPECT_EQ(TextsAtY(b.Page, 40).size(), 1u); // the label alone
    EXPECT_EQ(TextsAtY(b.Page, 45).size(), 1u);
}

TEST(TestConditionBlock, LevelInMetresPerSecondGetsARaisedTwoAfterItsCharacters)
{
    LoggerSettings s = SettingsWith({1, 2, 4});
    s.TriggerChannel = 2;
    s.Channel[2].Coefficient = 0.01;
    s.Channel[2].TriggerLevel = 1234;
    Block b;
    PrintBlock(b, s);
    const auto* level = TextAt(b.Page, 62, 45);
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->Text, "12.34 m/s");
    const auto* index = TextAt(b.Page, 62 + 16.2f, 45);
    ASSERT_NE(index, nullptr);
    EXPECT_EQ(index->Text, "2");
    EXPECT_EQ(index->Size, 6);
}

TEST(TestConditionBlock, LevelOfTheLoadChannelIsInKilonewtonsWithoutIndex)
{
    LoggerSettings s = SettingsWith({1, 2});
    s.Channel[1].Coefficient = 0.5;
    s.Channel[1].TriggerLevel = 100;
    Block b;
    PrintBlock(b, s);
    const auto line = TextsAtY(b.Page, 45);
    ASSERT_EQ(line.size(), 2u); // label and value, no "2"
    EXPECT_EQ(TextAt(b.Page, 62, 45)->Text, "50.00 kN");
}

TEST(TestConditionBlock, TriggerValuesComeFromTriggerChannelNotFromTheScan)
{
    LoggerSettings s = SettingsWith({1, 2, 4});
    s.Channel[1].TriggerLevel = NoTriggerLevel; // the scan stops at CH2
    s.TriggerChannel = 4;
    s.Channel[4].Coefficient = 0.1;
    s.Channel[4].TriggerLevel = 250;
    Block b;
    PrintBlock(b, s);
    EXPECT_EQ(TextAt(b.Page, 62, 40)->Text, "4");
    EXPECT_EQ(TextAt(b.Page, 62, 45)->Text, "25.00 m/s");
}

TEST(TestConditionBlock, ATriggerLevelBeyondMaxChannelIsNoTrigger)
{
    LoggerSettings s = SettingsWith({1, 2});
    for (int c = 1; c <= 4; ++c)
        s.Channel[c].TriggerLevel = NoTriggerLevel; // first real level on CH5, MaxChannel 2
    Block b;
    PrintBlock(b, s);
    EXPECT_EQ(TextAt(b.Page, 62, 40), nullptr);
    EXPECT_EQ(TextAt(b.Page, 62, 45), nullptr);
}

TEST(TestConditionBlock, ADamagedTriggerChannelNeverIndexesPastTheChannels)
{
    for (int32_t damaged : {0, 7, -1, 1000}) {
        LoggerSettings s = SettingsWith({1, 2});
        s.TriggerChannel = damaged;
        Block b;
        PrintBlock(b, s);
        EXPECT_EQ(TextAt(b.Page, 62, 40), nullptr) << damaged;
        EXPECT_EQ(TextAt(b.Page, 62, 45), nullptr) << damaged;
    }
}

// ---- Amp input table ---------------------------------------------------------------------

TEST(AmpInputTable, InactiveChannelsTakeNoColumn)
{
    Block b;
    PrintBlock(b, SettingsWith({1, 2, 4}));
    for (float x : {50.f, 70.f, 90.f})
        EXPECT_EQ(BoxesWithLeft(b.Page, x).size(), 8u) << x;
    EXPECT_TRUE(BoxesWithLeft(b.Page, 110).empty());
    // The channel numbers head the columns, centred on them.
    const struct {
        float Centre;
        const char* Number;
    } heads[] = {{60, "1"}, {80, "2"}, {100, "4"}};
    for (const auto& h : heads) {
        const auto* t = TextAt(b.Page, Centred(h.Centre, h.Number), 80);
        ASSERT_NE(t, nullptr) << h.Number;
        EXPECT_EQ(t->Text, h.Number);
    }
    // Each printed column is closed along its bottom edge.
    int bottoms = 0;
    for (const auto& line : b.Page.OfKind(Kind::Line))
        bottoms += std::abs(line.Y1 + Shift - 119) < 0.01f ? 1 : 0;
    EXPECT_EQ(bottoms, 4); // the label column and three channels
}

TEST(AmpInputTable, AChannelWithoutSensorKeepsABlankSlot)
{
    LoggerSettings s = SettingsWith({1, 2, 4});
    s.Channel[2].SensorType = 0;
    Block b;
    PrintBlock(b, s);
    EXPECT_EQ(BoxesWithLeft(b.Page, 50).size(), 8u);
    EXPECT_TRUE(BoxesWithLeft(b.Page, 70).empty());
    EXPECT_EQ(BoxesWithLeft(b.Page, 90).size(), 8u);
    EXPECT_EQ(TextAt(b.Page, 79, 80), nullptr);
    EXPECT_FLOAT_EQ(b.Returned, 120);
}

TEST(AmpInputTable, ReturnsBelowTheTableWhateverTheLastChannelIs)
{
    LoggerSettings s = SettingsWith({1, 2, 3, 4, 5});
    s.MaxChannel = 6; // CH6 inactive
    Block b;
    PrintBlock(b, s);
    EXPECT_FLOAT_EQ(b.Returned, 120);
    s.Channel[6].Active = true;
    s.Channel[6].SensorType = -1;
    Block c;
    PrintBlock(c, s);
    EXPECT_FLOAT_EQ(c.Returned, 120);
}

TEST(AmpInputTable, CellsSitWhereTheirRowsPlaceThem)
{
    LoggerSettings s = SettingsWith({1, 2});
    s.Channel[1].Capacity = 20;
    s.Channel[2].Capacity = 0.5;
    Block b;
    PrintBlock(b, s);
    // Column of CH1 starts at 50, CH2 at 70.
    const struct {
        float X, Y;
        const char* Text;
    } cells[] = {
        {Centred(60, "Load"), 85, "Load"},       {Centred(80, "Acc."), 85, "Acc."},
        {EndingAt(68, "20"), 90, "20"},          {EndingAt(88, "0.5"), 90, "0.5"}, // general form
        {EndingAt(68, "kN"), 95, "kN"},          {EndingAt(86.5f, "m/s"), 95, "m/s"}, // m/s: +16.5
        {EndingAt(68, "1060.0"), 100, "1060.0"}, {EndingAt(88, "1593.4"), 100, "1593.4"},
        {EndingAt(68, "1000"), 105, "1000"},     {EndingAt(68, "5000"), 110, "5000"},
        {EndingAt(66, "OFF"), 115, "OFF"},       {EndingAt(86, "ON"), 115, "ON"}, // +16
    };
    for (const auto& c : cells) {
        const auto* t = TextAt(b.Page, c.X, c.Y);
        ASSERT_NE(t, nullptr) << c.Text;
        EXPECT_EQ(t->Text, c.Text);
    }
    const auto* index = TextAt(b.Page, 86.5f, 95);
    ASSERT_NE(index, nullptr);
    EXPECT_EQ(index->Text, "2");
    EXPECT_EQ(index->Size, 6);
}

TEST(AmpInputTable, OnlyHighPassOneIsOn)
{
    const struct {
        int32_t HighPass;
        const char* Shown;
    } cases[] = {{0, "OFF"}, {1, "ON"}, {2, "OFF"}, {-1, "OFF"}};
    for (const auto& c : cases) {
        LoggerSettings s = SettingsWith({1, 2});
        s.Channel[1].HighPass = c.HighPass;
        Block b;
        PrintBlock(b, s);
        const auto* t = TextAt(b.Page, EndingAt(66, c.Shown), 115);
        ASSERT_NE(t, nullptr) << c.HighPass;
        EXPECT_EQ(t->Text, c.Shown);
    }
}

TEST(AmpInputTable, AnUnknownUnitLeavesItsBoxEmpty)
{
    LoggerSettings s = SettingsWith({1, 2});
    s.Channel[2].UnitCode = 3;
    Block b;
    PrintBlock(b, s);
    int inUnitBox = 0;
    for (const auto& t : TextsAtY(b.Page, 95))
        inUnitBox += PageX(t) >= 70 ? 1 : 0;
    EXPECT_EQ(inUnitBox, 0);
    int unitBoxes = 0;
    for (const auto& box : BoxesWithLeft(b.Page, 70))
        unitBoxes += std::abs(box.Y1 + Shift - 94) < 0.01f ? 1 : 0;
    EXPECT_EQ(unitBoxes, 1);
}

// ---- The settings page -------------------------------------------------------------------

TEST(SettingsPage, IsTheBlockAloneOnAPortraitPage)
{
    RecordingPage page;
    const Globals g = GlobalsIn(Japanese);
    ASSERT_TRUE(PrintSettings(page, SettingsWith({1, 2}), g));
    EXPECT_EQ(page.Setup.Orientation, PageOrientation::Portrait);
    EXPECT_EQ(page.Setup.FontName, QString::fromUtf8("ＭＳ 明朝"));
    EXPECT_FLOAT_EQ(page.Setup.Margin, Shift);
    EXPECT_EQ(page.Ops.front().What, Kind::Begin);
    EXPECT_EQ(page.Ops.back().What, Kind::End);
    EXPECT_EQ(page.Pages(), 1);
    // Nothing above the block: no title, no date.
    for (const auto& t : page.Texts())
        EXPECT_GE(PageY(t), 20 - 0.01f) << t.Text.toStdString();
}

TEST(SettingsPage, APageThatCannotBeginDrawsNothingAndSaysSo)
{
    RecordingPage page;
    page.FailBegin = true;
    EXPECT_FALSE(PrintSettings(page, SettingsWith({1, 2}), GlobalsIn(English)));
    EXPECT_TRUE(page.Ops.empty());
}

} // namespace
