// The measurement run on the screen's timer against a scripted logger: the trigger check
// and a logger lost while armed or in the transfer.
#include "logger/LiveMonitor.h"
#include "logger/LoggerContext.h"
#include "logger/MeasurementRun.h"

#include "ScriptedLink.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{

// A scripted logger whose line can go dead: after HangUpAfter more commands nothing is
// answered any more.
class HangingLink : public ScriptedLink
{
public:
    int32_t RSCom(const QString& cmd) override
    {
        if (HangUpAfter >= 0 && HangUpAfter-- == 0) {
            HangUpAfter = 0;
            Sent.push_back(cmd);
            State().ReplyText.clear();
            return StatusNoReply;
        }
        return ScriptedLink::RSCom(cmd);
    }
    int HangUpAfter = -1;
};

// Names the refusal, so that a test sees which one the run showed.
UiMessage NamedRefusal(const ArmRefusal& r)
{
    const char* why = r.Why == ArmRefusal::Reason::TriggerExceeded ? "exceeded" : "invalid";
    return UiMessage{{}, {{}, QStringLiteral("%1 CH%2").arg(why).arg(r.TriggerChannel)}};
}

class MeasurementRunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ctx.G.UiLanguage = UiLanguage::English;
        InitGlobalValues(ctx.G);
        ctx.Link = &link;
        ctx.Messages = &messages;
        ctx.Time = &clock;
        ctx.Logger.Channel[1].Active = ctx.Logger.Channel[2].Active = true;
        ctx.Logger.RecordLength = 800;
        ctx.Logger.TriggerChannel = 1;
        ctx.Logger.Channel[1].TriggerLevel = 100;
        ctx.Logger.Channel[2].TriggerLevel = 200;
        link.Otherwise = [](const QString&) { return QStringLiteral("OK"); };
        link.On("MNO?", "25");
        link.On("MDT", "+000010,+000020");
        link.On("EOC", "800,800");
        link.On("ANS?", "30000,1000");
    }

    int Count(const QString& cmd) const
    {
        return int(std::count(link.Sent.begin(), link.Sent.end(), cmd));
    }

    LoggerContext ctx;
    HangingLink link;
    RecordingMessages messages;
    FixedClock clock{QDateTime(QDate(2021, 4, 7), QTime(13, 5, 9))};
};

TEST_F(MeasurementRunTest, ArmingRefusesAChannelAboveItsLevelRoundedHalfToEven)
{
    struct Case {
        int32_t Channel;
        double Level;
        const char* Reading;
        bool Arms;
    };
    const Case cases[] = {{1, 100.4, "100,0", true},
                          {1, 100.4, "101,0", false},
                          {1, 100.5, "101,0", false}, // 100.5 is 100
                          {1, 101.5, "102,0", true},  // 101.5 is 102
                          {1, 100, "+000099,+999999", true},
                          {2, 200, "0,201", false},
                          {2, 200, "0,200", true},
                          {1, 100, "xyz,0", true},
                          {1, 100, "", true}}; // no number: no reading over the level
    for (const Case& c : cases) {
        ctx.Logger.TriggerChannel = c.Channel;
        ctx.Logger.Channel[c.Channel].TriggerLevel = c.Level;
        link.On("MDT", c.Reading);
        link.Sent.clear();
        messages.Shown.clear();
        MeasurementRun r(ctx, NamedRefusal);
        r.Open();
        r.Tick();
        EXPECT_EQ(r.Armed(), c.Arms) << c.Level << " " << c.Reading;
        EXPECT_EQ(Count("DTG"), c.Arms ? 1 : 0);
        ASSERT_EQ(messages.Shown.size(), c.Arms ? 0u : 1u);
        if (!c.Arms) { // refused as a cancel: the wait is stopped, the channels selected again
            EXPECT_EQ(messages.Shown[0].Text.En, QStringLiteral("exceeded CH%1").arg(c.Channel));
            EXPECT_EQ(std::vector<QString>(link.Sent.end() - 4, link.Sent.end()),
                      (std::vector<QString>{"RES", "RES", "SET1", "SET2"}));
        }
    }
}

TEST_F(MeasurementRunTest, ALoggerLostWhileArmedOrInTheTransferAddsNothing)
{
    struct Case {
        std::function<void()> Arrange;
        int Ticks; // until the run gives up
    };
    // The progress poll says complete, then the logger never counts up to the end again.
    QStringList stuck{"800,800"};
    for (int i = 0; i < MeasurementRun::TransferPollLimit + 10; ++i)
        stuck << "10,10";
    const Case cases[] = {
        {[&] { link.OnSequence("EOC", stuck); }, 1},
        // The line dies at the transfer's start (EOC polls unanswered), or before "ANS?".
        {[&] { link.HangUpAfter = 1; }, 1},
        {[&] { link.HangUpAfter = 7; }, 1},
        // Silent while armed: a single lost reply is ridden over.
        {[&] { link.Silent("EOC"); }, MeasurementRun::SilentPollLimit}};
    for (const Case& c : cases) {
        link.HangUpAfter = -1;
        link.On("EOC", "800,800");
        messages.Shown.clear();
        MeasurementRun r(ctx, NamedRefusal);
        r.Open();
        r.Tick();
        c.Arrange();
        for (int i = 1; i < c.Ticks; ++i)
            r.Tick();
        EXPECT_FALSE(r.View().Closed);
        r.Tick();
        EXPECT_EQ(r.Outcome(), RunOutcome::LinkLost);
        EXPECT_FALSE(r.Result().Drop); // nothing for the results to take
        ASSERT_EQ(messages.Shown.size(), 1u);
        EXPECT_EQ(messages.Shown[0].Text.En, CommunicationFailureMessage().Text.En);
    }
    // Asked for only once the recording was reported complete and ANS0 went.
    EXPECT_EQ(Count("ANS?"), 1);
}

// The recording's progress is the EOC count against the record length: 500 of 2000 shows 25,
// an error or no number 0, and the transfer starts at 2000 or more and dates the test.
TEST_F(MeasurementRunTest, ProgressFollowsTheCountUpToTheTransfer)
{
    const struct {
        const char* Eoc;
        int Shown; // -1: transferred
    } rows[] = {{"500,500", 25}, {"ERR-001", 0}, {"abc", 0}, {"2000,2000", -1}, {"2400", -1}};
    ctx.Logger.RecordLength = 2000;
    for (const auto& r : rows) {
        link.On("EOC", r.Eoc);
        MeasurementRun run(ctx, NamedRefusal);
        run.Open();
        run.Tick();
        run.Tick();
        EXPECT_EQ(run.View().Closed, r.Shown < 0) << r.Eoc;
        EXPECT_EQ(run.View().Progress, r.Shown < 0 ? 100 : r.Shown) << r.Eoc;
        // The test date (the copy's and printout's Date) is the transfer's, and the drop's.
        EXPECT_EQ(ctx.Logger.TestDate, r.Shown < 0 ? clock.Now() : QDateTime()) << r.Eoc;
        const std::optional<DropAnswers> drop = run.Result().Drop;
        EXPECT_EQ(drop ? drop->MeasTime : QDateTime(), ctx.Logger.TestDate) << r.Eoc;
        ctx.Logger.TestDate = QDateTime();
    }
}

} // namespace
