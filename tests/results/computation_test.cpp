#include "results/ResultComputation.h"
#include "results/ResultsFile.h"
#include "shell/AppContext.h"
#include "shell/Formatting.h"

#include "ScriptedLink.h"
#include "TempHome.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{

const double NaN = std::numeric_limits<double>::quiet_NaN();

struct GroundValueCase {
    const char* Name;
    double P, D;
    int32_t Diameter;
    double Poisson;
    int16_t CalcType;
    double K, E; // -1: undefined
    const char* KShown;
    const char* EShown;
};

class GroundValues : public ::testing::TestWithParam<GroundValueCase>
{
};

TEST_P(GroundValues, FollowTheDefinitions)
{
    const GroundValueCase& c = GetParam();
    const double k = CalcK(c.P, c.D, c.Diameter);
    const double e = CalcE(c.P, c.D, c.Diameter, c.Poisson, c.CalcType);
    // Two decimals as the figures are given, relative for the very large ones.
    auto tolerance = [](double v) { return std::max(0.005, std::abs(v) * 1e-6); };
    if (c.K < 0) {
        EXPECT_EQ(k, -1.0);
    } else {
        EXPECT_NEAR(k, c.K, tolerance(c.K));
    }
    if (c.E < 0) {
        EXPECT_EQ(e, -1.0);
    } else {
        EXPECT_NEAR(e, c.E, tolerance(c.E));
    }
    if (c.KShown) {
        EXPECT_EQ(FormatNumber(k, KFormat), c.KShown);
    }
    if (c.EShown) {
        EXPECT_EQ(FormatNumber(e, EFormat), c.EShown);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Results, GroundValues,
    ::testing::Values(
        GroundValueCase{"Boussinesq300", 30000, 1.0, 300, 0.35, 2, 424.41, 87.75, "424", "88"},
        GroundValueCase{"Burmister300", 30000, 1.0, 300, 0.35, 1, 424.41, 111.73, "424", "112"},
        // Any type but 1 is Boussinesq.
        GroundValueCase{"TypeZeroIsBoussinesq", 30000, 1.0, 300, 0.35, 0, 424.41, 87.75, nullptr,
                        nullptr},
        // The 150 of K stays 150 for another plate: K scales with 1/d only.
        GroundValueCase{"Plate450", 30000, 1.0, 450, 0.35, 2, 282.94, 58.5, nullptr, nullptr},
        GroundValueCase{"BelowThreshold", 30000, 0.0000005, 300, 0.35, 1, -1, -1, nullptr, nullptr},
        GroundValueCase{"AtThreshold", 30000, 1e-6, 300, 0.35, 2, 424413180.0, 87750000.0, nullptr,
                        nullptr},
        GroundValueCase{"NegativeDisplacement", 30000, -0.5, 300, 0.35, 2, -1, -1, nullptr,
                        nullptr},
        GroundValueCase{"NoDisplacementNumber", 30000, NaN, 300, 0.35, 2, -1, -1, nullptr, nullptr},
        // A plate diameter of 0 would divide by zero: undefined, never "inf" in the file.
        GroundValueCase{"NoPlate", 30000, 1.0, 0, 0.35, 2, -1, -1, nullptr, nullptr}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(GroundValues, UseTheShortPi)
{
    // 2000 * 30000 / (150 * pi * 300): the seventh significant digit shows which pi it was.
    EXPECT_DOUBLE_EQ(CalcK(30000, 1.0, 300), 30000.0 / 1.0 / 150.0 / 3.1415927 / 300.0 * 2000.0);
    EXPECT_NE(CalcK(30000, 1.0, 300), 2000.0 * 30000.0 / (150.0 * M_PI * 300.0));
}

TEST(FormatPositive, ShowsDashesForNothingMeasured)
{
    EXPECT_EQ(FormatPositive(0.0000005, "0.000"), "0.000"); // above 0, however small
    EXPECT_EQ(FormatPositive(1.52, "0.000"), "1.520");
    EXPECT_EQ(FormatPositive(12345, "0"), "12345");
    EXPECT_EQ(FormatPositive(0, "0"), "------");
    EXPECT_EQ(FormatPositive(-1, "0.000"), "------");
    EXPECT_EQ(FormatPositive(NaN, "0"), "------");
}

TEST(MeasNumbering, WrapsAfterTheHighestNumber)
{
    EXPECT_EQ(NextMeasNo(0), 1);
    EXPECT_EQ(NextMeasNo(32766), 32767);
    EXPECT_EQ(NextMeasNo(32767), 0);
    EXPECT_EQ(NextMeasNo(-1), 0);
}

TEST(ResultsTableBounds, ElevenResultsKeepTheLatestTen)
{
    ResultsTable table;
    for (int i = 0; i < 11; ++i)
        table.Entries[table.ResultCount++].No = QString::number(i);
    KeepLatestResults(table, 10);
    ASSERT_EQ(table.ResultCount, 10);
    EXPECT_EQ(table.Entries[0].No, "1");
    EXPECT_EQ(table.Entries[9].No, "10");
    EXPECT_TRUE(table.Entries[10].No.isEmpty()); // the slot that was freed holds nothing old
}

TEST(ResultsTableBounds, DroppingFromAnEmptyOrFullTableStaysInside)
{
    ResultsTable empty;
    DropOldestResult(empty);
    EXPECT_EQ(empty.ResultCount, 0);

    ResultsTable full;
    full.ResultCount = 5000; // never held, but must not walk past the array
    DropOldestResult(full);
    EXPECT_EQ(full.ResultCount, ResultsTable::Capacity - 1);
    EXPECT_EQ(KeptResults(0), 10);
    EXPECT_EQ(KeptResults(500), ResultsTable::Capacity - 1);
}

// ComputeResult against a scripted logger and a real data folder.
class ComputeResultTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InitGlobalValues(ctx.G);
        ctx.UserFolder = home.UserFolder();
        ctx.G.DataFolder = home.UserFolder() + "data/";
        QDir().mkpath(ctx.G.DataFolder);
        ctx.Link = &link;
        ctx.Messages = &messages;
        ctx.Time = &clock;
        ctx.Logger.PlateDiameter = 300;
        ctx.Logger.PoissonRatio = 0.35;
        ctx.Logger.CalcType = 2;
        ctx.Logger.MaxChannel = 4;
        for (int ch : {1, 2, 4})
            ctx.Logger.Channel[ch].Active = true;
        link.Otherwise = [](const QString&) { return QStringLiteral("OK"); };
    }

    void AddDrop(double p, double d)
    {
        ResultEntry& e = ctx.Results.Entries[ctx.Results.ResultCount++];
        e.No = "17"; // the run form's number, replaced by MeasNo
        e.DateTime = "04/07/2021 13:05:09";
        e.Answer.fill(-1);
        e.Answer[1] = p;
        e.Answer[2] = d;
        e.Flag = 3;
    }

    QString TodaysFile() const { return ctx.G.DataFolder + "20210407.csv"; }

    TempHome home;
    AppContext ctx;
    ScriptedLink link;
    RecordingMessages messages;
    FixedClock clock{QDateTime(QDate(2021, 4, 7), QTime(13, 5, 30))};
};

TEST_F(ComputeResultTest, NumbersTheNewestEntryAndGivesEveryChannelTheNextNumber)
{
    ctx.Logger.MeasNo = 41;
    AddDrop(30000, 1.0);
    EXPECT_TRUE(ComputeResult(ctx, true));
    const ResultEntry& e = ctx.Results.Entries[0];
    EXPECT_EQ(e.No, "00041");
    EXPECT_EQ(e.Flag, 0);
    EXPECT_NEAR(e.K, 424.41, 0.005);
    EXPECT_NEAR(e.E, 87.75, 0.005);
    EXPECT_EQ(ctx.Logger.MeasNo, 42);
    // Every channel up to MaxChannel, CH3 included although it is not active; then the
    // active channels are selected again.
    const std::vector<QString> expected{"RES", "SET1", "MNO42", "RES", "SET2", "MNO42",
                                        "RES", "SET3", "MNO42", "RES", "SET4", "MNO42",
                                        "RES", "SET1", "SET2",  "SET4"};
    EXPECT_EQ(link.Sent, expected);
    EXPECT_TRUE(QFile::exists(TodaysFile()));
}

TEST_F(ComputeResultTest, TheHighestNumberIsFollowedByZero)
{
    ctx.Logger.MeasNo = 32767;
    AddDrop(30000, 1.0);
    ComputeResult(ctx, false);
    EXPECT_EQ(ctx.Results.Entries[0].No, "32767");
    EXPECT_EQ(ctx.Logger.MeasNo, 0);
    EXPECT_EQ(link.Sent.at(2), "MNO0");
    EXPECT_FALSE(QFile::exists(TodaysFile())); // not asked to write
}

TEST_F(ComputeResultTest, NoLoadLeavesBothValuesUndefinedWhateverTheDisplacement)
{
    AddDrop(0, 1.0);
    ComputeResult(ctx, false);
    EXPECT_EQ(ctx.Results.Entries[0].K, -1.0);
    EXPECT_EQ(ctx.Results.Entries[0].E, -1.0);
    AddDrop(-1, 1.0); // a load field that was not a number
    ComputeResult(ctx, false);
    EXPECT_EQ(ctx.Results.Entries[1].K, -1.0);
    EXPECT_EQ(ctx.Results.Entries[1].E, -1.0);
}

TEST_F(ComputeResultTest, OnlyTheNewestEntryIsTouched)
{
    AddDrop(30000, 1.0);
    ComputeResult(ctx, false);
    const ResultEntry first = ctx.Results.Entries[0];
    AddDrop(15000, 1.0);
    ctx.Logger.CalcType = 1;
    ComputeResult(ctx, false);
    EXPECT_EQ(ctx.Results.Entries[0].No, first.No);
    EXPECT_EQ(ctx.Results.Entries[0].E, first.E);
    EXPECT_NEAR(ctx.Results.Entries[1].E, 111.73 / 2, 0.005);
}

TEST_F(ComputeResultTest, AnEmptyTableComputesAndSendsNothing)
{
    EXPECT_FALSE(ComputeResult(ctx, true));
    EXPECT_TRUE(link.Sent.empty());
    EXPECT_EQ(ctx.Logger.MeasNo, 0);
    EXPECT_FALSE(QFile::exists(TodaysFile()));
}

TEST_F(ComputeResultTest, AGivenUpAppendKeepsTheResultButHidesPrint)
{
    // The data folder is a file: the daily file cannot be made. Cancel is the answer.
    QDir(ctx.G.DataFolder).removeRecursively();
    home.WriteFile("Documents/VX-2968/data", "not a folder");
    messages.Answers = {MessageAnswer::Cancel};
    AddDrop(30000, 1.0);
    EXPECT_FALSE(ComputeResult(ctx, true));
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Buttons, MessageButtons::RetryCancel);
    EXPECT_EQ(ctx.Results.ResultCount, 1);
    EXPECT_EQ(ctx.Results.Entries[0].No, "00000");
    EXPECT_EQ(ctx.Logger.MeasNo, 1); // the number was used: the logger still gets the next
    EXPECT_NE(std::find(link.Sent.begin(), link.Sent.end(), "MNO1"), link.Sent.end());
}

} // namespace
