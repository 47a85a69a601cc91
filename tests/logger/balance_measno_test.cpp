#include "logger/BalanceAndMeasNo.h"
#include "shell/AppContext.h"

#include "ScriptedLink.h"

#include <gtest/gtest.h>

namespace
{

class BalanceAndMeasNoTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ctx.G.UiLanguage = 1;
        InitGlobalValues(ctx.G);
        ctx.Link = &link;
        ctx.Messages = &messages;
        for (int ch : {1, 2, 4})
            ctx.Logger.Channel[ch].Active = true;
        ctx.Logger.MeasNo = 3;
        link.Otherwise = [](const QString&) { return QStringLiteral("OK"); };
    }

    AppContext ctx;
    ScriptedLink link;
    RecordingMessages messages;
};

TEST_F(BalanceAndMeasNoTest, BalanceIsSentOnlyAfterOk)
{
    int asked = 0;
    Balance(ctx, [&] {
        ++asked;
        return BalanceCancel;
    });
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(link.Sent.empty());
    Balance(ctx, [] { return BalanceOk; });
    EXPECT_EQ(link.Sent, std::vector<QString>{"BAL"});
}

TEST_F(BalanceAndMeasNoTest, DebugModeBalancesNothing)
{
    ctx.G.DebugMode = 1;
    ctx.Link = nullptr;
    Balance(ctx, [] { return BalanceOk; });
    EXPECT_TRUE(link.Sent.empty());
}

TEST_F(BalanceAndMeasNoTest, TheDialogProposesTheLoggersNumber)
{
    struct Case {
        const char* Reply; // null: no reply
        const char* Proposed;
    };
    for (const Case& c : {Case{"25", "25"}, Case{"+00025", "25"}, Case{"32767", "32767"},
                          Case{"32768", ""}, Case{"-1", ""}, Case{"12,12,12", "12"},
                          Case{"x,12", ""}, Case{"", ""}, Case{"ERR-001", ""}, Case{nullptr, ""}}) {
        if (c.Reply)
            link.On("MNO?", c.Reply);
        else
            link.Silent("MNO?");
        EXPECT_EQ(LoadMeasNo(ctx), c.Proposed) << (c.Reply ? c.Reply : "(silent)");
    }
    ctx.G.DebugMode = 1;
    link.Sent.clear();
    EXPECT_EQ(LoadMeasNo(ctx), "1000");
    EXPECT_TRUE(link.Sent.empty());
}

TEST_F(BalanceAndMeasNoTest, ANewNumberGoesToEveryActiveChannelOneAtATime)
{
    EXPECT_EQ(ApplyMeasNo(ctx, "7"), 0);
    const std::vector<QString> expected{"RES",  "SET1", "MNO7", "RES",  "SET2", "MNO7", "RES",
                                        "SET4", "MNO7", "RES",  "SET1", "SET2", "SET4"};
    EXPECT_EQ(link.Sent, expected);
    EXPECT_EQ(ctx.Logger.MeasNo, 7);
    EXPECT_TRUE(messages.Shown.empty());
}

struct EntryCase {
    const char* Entry;
    int16_t Result;
    const char* Message; // English title, or null for no message
    int16_t MeasNo;      // afterwards (3 before)
};

class MeasNoEntry : public BalanceAndMeasNoTest, public ::testing::WithParamInterface<EntryCase>
{
};

TEST_P(MeasNoEntry, IsCheckedBeforeAnythingIsSent)
{
    const EntryCase& c = GetParam();
    EXPECT_EQ(ApplyMeasNo(ctx, QString::fromUtf8(c.Entry)), c.Result);
    EXPECT_EQ(ctx.Logger.MeasNo, c.MeasNo);
    if (c.Message) {
        ASSERT_EQ(messages.Shown.size(), 1u);
        EXPECT_EQ(messages.Shown[0].Title.En, c.Message);
        EXPECT_EQ(messages.Shown[0].Buttons, MessageButtons::Ok);
        EXPECT_EQ(messages.Shown[0].Icon, MessageIcon::None);
    } else {
        EXPECT_TRUE(messages.Shown.empty());
    }
    if (c.Result != 0) {
        EXPECT_TRUE(link.Sent.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    MeasNo, MeasNoEntry,
    ::testing::Values(EntryCase{"32767", 0, nullptr, 32767}, EntryCase{"0", 0, nullptr, 0},
                      EntryCase{" 12 ", 0, nullptr, 12}, EntryCase{"32768", -1, "out of range.", 3},
                      EntryCase{"-1", -1, "out of range.", 3},
                      EntryCase{"99999", -1, "out of range.", 3},
                      EntryCase{"1e9", -1, "out of range.", 3},
                      EntryCase{"12a", -1, "Input Number!", 3},
                      EntryCase{"   ", -1, "Input Number!", 3},
                      EntryCase{"１２", -1, "Input Number!", 3}, // full-width digits
                      EntryCase{"", -1, nullptr, 3}));

TEST_F(BalanceAndMeasNoTest, TheHighestNumberReachesEveryChannel)
{
    ApplyMeasNo(ctx, "32767");
    EXPECT_EQ(std::count(link.Sent.begin(), link.Sent.end(), "MNO32767"), 3);
}

TEST_F(BalanceAndMeasNoTest, DebugModeAcceptsWithoutChangingAnything)
{
    ctx.G.DebugMode = 1;
    EXPECT_EQ(ApplyMeasNo(ctx, "55"), 0);
    EXPECT_TRUE(link.Sent.empty());
    EXPECT_EQ(ctx.Logger.MeasNo, 3);
    EXPECT_EQ(ApplyMeasNo(ctx, "40000"), -1); // still checked
}

TEST_F(BalanceAndMeasNoTest, MessagesInBothLanguages)
{
    EXPECT_EQ(NotANumberMessage().Title.Ja, QString::fromUtf8("数値入力"));
    EXPECT_EQ(NotANumberMessage().Text.En, "Input Number Only!");
    EXPECT_EQ(NumberOutOfRangeMessage().Text.Ja,
              QString::fromUtf8("数値が入力範囲を超えています！範囲内の数値を入力してください。"));
    EXPECT_EQ(NumberOutOfRangeMessage().Text.En, "Inputed No. is out of range!");
}

} // namespace
