// Balancing and the measurement number dialog's logic: what is sent, what is proposed and
// which entries are taken.
#include "logger/BalanceAndMeasNo.h"
#include "logger/LoggerContext.h"

#include "ScriptedLink.h"

#include <gtest/gtest.h>

namespace
{

class BalanceAndMeasNoTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ctx.G.UiLanguage = UiLanguage::English;
        InitGlobalValues(ctx.G);
        ctx.Link = &link;
        ctx.Messages = &messages;
        for (int ch : {1, 2, 4})
            ctx.Logger.Channel[ch].Active = true;
        ctx.Logger.MeasNo = 3;
        link.Otherwise = [](const QString&) { return QStringLiteral("OK"); };
    }

    LoggerContext ctx;
    ScriptedLink link;
    RecordingMessages messages;
};

TEST_F(BalanceAndMeasNoTest, BalanceIsSentOnlyAfterOkAndNeverInDebugMode)
{
    struct Case {
        int16_t Debug;
        int16_t Answer;
        std::vector<QString> Sent;
    };
    for (const Case& c :
         {Case{0, BalanceCancel, {}}, Case{0, BalanceOk, {"BAL"}}, Case{1, BalanceOk, {}}}) {
        ctx.G.DebugMode = c.Debug;
        link.Sent.clear();
        int asked = 0;
        Balance(ctx, [&] {
            ++asked;
            return c.Answer;
        });
        EXPECT_EQ(asked, 1); // the operator is asked either way
        EXPECT_EQ(link.Sent, c.Sent) << c.Debug << " " << c.Answer;
    }
}

TEST_F(BalanceAndMeasNoTest, TheDialogProposesTheLoggersNumber)
{
    struct Case {
        const char* Reply; // null: no reply
        const char* Proposed;
    };
    for (const Case& c :
         {Case{"+00025", "25"}, Case{"32767", "32767"}, Case{"32768", ""}, Case{"-1", ""},
          Case{"12,12,12", "12"}, Case{"x,12", ""}, Case{"ERR-001", ""}, Case{nullptr, ""}}) {
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

TEST_F(BalanceAndMeasNoTest, AnEntryIsCheckedBeforeItGoesToEveryActiveChannel)
{
    struct Case {
        const char* Entry;
        int16_t Debug;
        int16_t Result;
        const char* Message; // English title, or "" for none
        int16_t MeasNo;      // afterwards (3 before)
        int Sent;            // MNO commands sent
    };
    const Case cases[] = {{"32767", 0, 0, "", 32767, 3},
                          {"0", 0, 0, "", 0, 3},
                          {" 12 ", 0, 0, "", 12, 3},
                          {"32768", 0, -1, "out of range.", 3, 0},
                          {"-1", 0, -1, "out of range.", 3, 0},
                          {"12a", 0, -1, "Input Number!", 3, 0},
                          {"１２", 0, -1, "Input Number!", 3, 0}, // full-width digits
                          {"", 0, -1, "", 3, 0},
                          {"55", 1, 0, "", 3, 0}, // debug mode: accepted, nothing changes
                          {"40000", 1, -1, "out of range.", 3, 0}};
    for (const Case& c : cases) {
        ctx.G.DebugMode = c.Debug;
        ctx.Logger.MeasNo = 3;
        link.Sent.clear();
        messages.Shown.clear();
        EXPECT_EQ(ApplyMeasNo(ctx, QString::fromUtf8(c.Entry)), c.Result) << c.Entry;
        EXPECT_EQ(ctx.Logger.MeasNo, c.MeasNo) << c.Entry;
        EXPECT_EQ(messages.Shown.empty() ? "" : messages.Shown[0].Title.En, c.Message) << c.Entry;
        EXPECT_LE(messages.Shown.size(), 1u);
        const QString mno = QStringLiteral("MNO%1").arg(c.MeasNo);
        EXPECT_EQ(std::count(link.Sent.begin(), link.Sent.end(), mno), c.Sent) << c.Entry;
        EXPECT_EQ(link.Sent.empty(), c.Result != 0 || c.Debug) << c.Entry;
    }
}

} // namespace
