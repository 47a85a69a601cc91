#include "logger/LiveMonitor.h"
#include "logger/MeasurementRun.h"
#include "shell/AppContext.h"

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

class MeasurementRunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ctx.G.UiLanguage = 1;
        InitGlobalValues(ctx.G);
        ctx.Link = &link;
        ctx.Messages = &messages;
        ctx.Time = &clock;
        UseChannels({1, 2});
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

    void UseChannels(std::initializer_list<int> channels)
    {
        for (auto& c : ctx.Logger.Channel)
            c.Active = false;
        for (int ch : channels)
            ctx.Logger.Channel[ch].Active = true;
    }

    // The commands sent after the first `from`.
    std::vector<QString> SentFrom(size_t from) const
    {
        return std::vector<QString>(link.Sent.begin() + std::min(from, link.Sent.size()),
                                    link.Sent.end());
    }
    int Count(const QString& cmd) const
    {
        return int(std::count(link.Sent.begin(), link.Sent.end(), cmd));
    }

    AppContext ctx;
    HangingLink link;
    RecordingMessages messages;
    FixedClock clock{QDateTime(QDate(2021, 4, 7), QTime(13, 5, 9))};
    MeasurementRun run{ctx};
};

TEST_F(MeasurementRunTest, OpeningReadsTheNumberAndWaitsForTheTrigger)
{
    run.Open();
    EXPECT_EQ(link.Sent, std::vector<QString>{"MNO?"});
    EXPECT_EQ(run.FileNo(), 25);
    EXPECT_EQ(run.View().FileNoText, "25");
    EXPECT_EQ(run.State(), RunState::WaitingToArm);
    EXPECT_TRUE(run.View().TimerRunning);
    EXPECT_FALSE(run.View().StartShown);
    EXPECT_TRUE(run.View().CancelShown);
    EXPECT_EQ(run.View().Status, "Wait for Trigger. Click [Measure] button,Return to  Measure.");
    EXPECT_EQ(ctx.MeasurementDone, 0);
}

struct NumberReply {
    const char* Reply;
    int16_t FileNo;
};

class RunFileNumber : public MeasurementRunTest, public ::testing::WithParamInterface<NumberReply>
{
};

TEST_P(RunFileNumber, IsTheFirstFieldOfTheReply)
{
    link.On("MNO?", GetParam().Reply);
    run.Open();
    EXPECT_EQ(run.FileNo(), GetParam().FileNo);
    EXPECT_EQ(run.State(), RunState::WaitingToArm);
}

INSTANTIATE_TEST_SUITE_P(Run, RunFileNumber,
                         ::testing::Values(NumberReply{"25", 25}, NumberReply{"12,12,12", 12},
                                           NumberReply{"", 0}, NumberReply{"-5", 0},
                                           NumberReply{"+00032", 32}, NumberReply{"abc", 0},
                                           NumberReply{"99999", 0}));

TEST_F(MeasurementRunTest, AnErrorReplyToTheNumberLeavesTheOperatorToStartByHand)
{
    link.On("MNO?", "ERR-001");
    run.Open();
    EXPECT_EQ(run.State(), RunState::Manual);
    EXPECT_FALSE(run.View().TimerRunning);
    EXPECT_TRUE(run.View().StartShown);
    EXPECT_TRUE(run.View().FileNoText.isEmpty());
    run.Tick(); // no timer: a stray tick does nothing
    EXPECT_EQ(link.Sent.size(), 1u);

    run.StartPressed();
    EXPECT_FALSE(run.View().StartShown);
    EXPECT_TRUE(run.Armed());
    EXPECT_TRUE(run.View().TimerRunning);
    EXPECT_EQ(ctx.MeasurementDone, 1);
}

TEST_F(MeasurementRunTest, DebugModeShowsItselfAndTouchesNoLine)
{
    ctx.G.DebugMode = 1;
    ctx.Link = nullptr; // any use of the line would crash here
    run.Open();
    EXPECT_EQ(run.FileNo(), 200);
    EXPECT_EQ(run.View().Status, "Debug mode");
    EXPECT_EQ(run.State(), RunState::Debug);
    EXPECT_FALSE(run.View().TimerRunning);
    EXPECT_FALSE(run.View().StartShown); // only the cancel command is offered
    run.Cancel();
    EXPECT_TRUE(run.View().Closed);
    EXPECT_EQ(run.Outcome(), RunOutcome::Cancelled);
}

TEST_F(MeasurementRunTest, ArmingBalancesAndStartsTheWaitForTheDrop)
{
    run.Open();
    run.Tick();
    EXPECT_EQ(SentFrom(1),
              (std::vector<QString>{"RES", "SET1", "SET2", "MDT", "TRM21", "BAL", "DTG"}));
    EXPECT_TRUE(run.Armed());
    EXPECT_EQ(run.State(), RunState::Armed);
    EXPECT_EQ(ctx.MeasurementDone, 1);
    EXPECT_TRUE(messages.Shown.empty());
}

struct TriggerCase {
    int32_t Channel;
    double Level;
    const char* Reading;
    bool Arms;
};

class TriggerCheck : public MeasurementRunTest, public ::testing::WithParamInterface<TriggerCase>
{
};

TEST_P(TriggerCheck, RefusesAChannelAboveItsLevelRoundedHalfToEven)
{
    const TriggerCase& c = GetParam();
    ctx.Logger.TriggerChannel = c.Channel;
    ctx.Logger.Channel[c.Channel].TriggerLevel = c.Level;
    link.On("MDT", c.Reading);
    run.Open();
    run.Tick();
    EXPECT_EQ(run.Armed(), c.Arms);
    EXPECT_EQ(Count("DTG"), c.Arms ? 1 : 0);
    if (!c.Arms) {
        ASSERT_EQ(messages.Shown.size(), 1u);
        EXPECT_EQ(messages.Shown[0].Title.En, " Measurement impossible!!");
        EXPECT_EQ(messages.Shown[0].Text.En, "The current data is beyond the trigger level!!");
        EXPECT_EQ(messages.Shown[0].Title.Ja, QString::fromUtf8("計測不可能"));
        // Refused as a cancel: the wait is stopped and the channels selected again.
        EXPECT_TRUE(run.View().Closed);
        EXPECT_EQ(run.Outcome(), RunOutcome::Cancelled);
        EXPECT_EQ(SentFrom(link.Sent.size() - 4),
                  (std::vector<QString>{"RES", "RES", "SET1", "SET2"}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Run, TriggerCheck,
    ::testing::Values(TriggerCase{1, 100.4, "100,0", true}, TriggerCase{1, 100.4, "101,0", false},
                      TriggerCase{1, 100.5, "101,0", false}, // 100.5 is 100
                      TriggerCase{1, 101.5, "102,0", true},  // 101.5 is 102
                      TriggerCase{1, 100, "+000099,+999999", true},
                      TriggerCase{2, 200, "0,201", false}, TriggerCase{2, 200, "0,200", true},
                      TriggerCase{1, 100, "xyz,0", true})); // no number: no reading over the level

TEST_F(MeasurementRunTest, AFailedReadingDoesNotStopTheRun)
{
    link.Silent("MDT");
    run.Open();
    run.Tick();
    EXPECT_TRUE(run.Armed());
    EXPECT_TRUE(messages.Shown.empty());
}

TEST_F(MeasurementRunTest, ATriggerChannelThatIsNoChannelIsRefusedClearly)
{
    for (int32_t channel : {0, 7, -1}) {
        MeasurementRun r(ctx);
        ctx.Logger.TriggerChannel = channel;
        messages.Shown.clear();
        r.Open();
        r.Tick();
        EXPECT_FALSE(r.Armed()) << channel;
        EXPECT_TRUE(r.View().Closed) << channel;
        ASSERT_EQ(messages.Shown.size(), 1u) << channel;
        EXPECT_TRUE(messages.Shown[0].Text.En.contains(QString::number(channel)));
    }
    EXPECT_EQ(Count("DTG"), 0);
    EXPECT_EQ(Count("MDT"), 0);
}

TEST_F(MeasurementRunTest, TheBarFollowsTheRecording)
{
    ctx.Logger.RecordLength = 2000;
    link.OnSequence("EOC", {"0,0", "500,500", "ERR-005", "1999,1999"});
    run.Open();
    run.Tick(); // arms
    run.Tick();
    EXPECT_EQ(run.View().Progress, 0);
    run.Tick();
    EXPECT_EQ(run.View().Progress, 25);
    run.Tick(); // an error reply reads as 0 %: the bar keeps what it showed
    EXPECT_EQ(run.View().Progress, 25);
    EXPECT_EQ(run.State(), RunState::Armed);
    run.Tick();
    EXPECT_EQ(run.View().Progress, 99);
    EXPECT_EQ(run.State(), RunState::Armed);
}

TEST_F(MeasurementRunTest, ACompleteRecordingIsFetchedIntoANewEntry)
{
    for (const char* complete : {"2000", "2400,2400"}) {
        ctx.Results.ResultCount = 0;
        ctx.Logger.RecordLength = 2000;
        link.On("EOC", complete);
        MeasurementRun r(ctx);
        int repaints = 0;
        r.Repaint = [&] {
            ++repaints;
            EXPECT_EQ(r.View().SecondLine, "Transfer Data");
            EXPECT_FALSE(r.View().CancelShown);
        };
        r.Open();
        r.Tick();
        const size_t armed = link.Sent.size();
        r.Tick();
        EXPECT_EQ(SentFrom(armed), (std::vector<QString>{"EOC", "RES", "SET1", "SET2", "EXE0",
                                                         "EOC", "ANS0", "ANS?"}));
        EXPECT_EQ(repaints, 1);
        EXPECT_EQ(r.View().Progress, 100);
        EXPECT_TRUE(r.View().Closed);
        EXPECT_EQ(r.Outcome(), RunOutcome::Measured);
        EXPECT_EQ(ctx.MeasurementDone, 1);
        ASSERT_EQ(ctx.Results.ResultCount, 1);
        const ResultEntry& e = ctx.Results.Entries[0];
        EXPECT_EQ(e.No, "25");
        EXPECT_EQ(e.DateTime, "04/07/2021 13:05:09");
        EXPECT_DOUBLE_EQ(e.Answer[1], 30000);
        EXPECT_DOUBLE_EQ(e.Answer[2], 1.0);
    }
    EXPECT_EQ(ctx.Logger.MeasTime, clock.Now());
    EXPECT_EQ(ctx.Logger.TestDate, clock.Now());
}

struct AnswerCase {
    const char* Name;
    std::vector<int> Channels;
    const char* Reply;
    std::array<double, 7> Answer; // index 1 to 6
};

class PeakValues : public MeasurementRunTest, public ::testing::WithParamInterface<AnswerCase>
{
};

TEST_P(PeakValues, AreWalkedOverTheActiveChannels)
{
    const AnswerCase& c = GetParam();
    for (auto& ch : ctx.Logger.Channel)
        ch.Active = false;
    for (int ch : c.Channels)
        ctx.Logger.Channel[ch].Active = true;
    link.On("ANS?", c.Reply);
    run.Open();
    run.Tick();
    run.Tick();
    ASSERT_EQ(ctx.Results.ResultCount, 1);
    for (int ch = 1; ch <= 6; ++ch)
        EXPECT_DOUBLE_EQ(ctx.Results.Entries[0].Answer[ch], c.Answer[ch]) << "CH" << ch;
}

INSTANTIATE_TEST_SUITE_P(
    Run, PeakValues,
    ::testing::Values(
        AnswerCase{
            "ThreeChannels", {1, 2, 3}, "12345,1520,880", {0, 12345, 1.52, 0.88, -1, -1, -1}},
        AnswerCase{"GapAtCH3", {1, 2, 4}, "12345,1520,880", {0, 12345, 1.52, -1, 0.88, -1, -1}},
        AnswerCase{"FewerFieldsThanChannels",
                   {1, 2, 3, 4},
                   "12345,1520",
                   {0, 12345, 1.52, -1, -1, -1, -1}},
        AnswerCase{"NoNumbers", {1, 2}, "x,+0001520", {0, -1, 1.52, -1, -1, -1, -1}},
        AnswerCase{"OneValueOnly", {1, 2}, "12345", {0, 12345, -1, -1, -1, -1, -1}},
        AnswerCase{"FarMoreFieldsThanTheTableHolds",
                   {1, 2, 3, 4, 5, 6},
                   "1,1000,2000,3000,4000,5000,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23",
                   {0, 1, 1, 2, 3, 4, 5}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(MeasurementRunTest, AnErrorOrNumberlessPeakReplyEndsTheRunWithoutAResult)
{
    for (const char* reply : {"ERR-002", "x,y", "\xA5#?~"}) {
        link.On("ANS?", reply);
        MeasurementRun r(ctx);
        r.Open();
        r.Tick();
        r.Tick();
        EXPECT_EQ(r.Outcome(), RunOutcome::LinkLost) << reply;
        EXPECT_EQ(ctx.Results.ResultCount, 0) << reply;
    }
}

TEST_F(MeasurementRunTest, ANewEntryNeverGoesPastTheTable)
{
    for (int i = 0; i < 11; ++i)
        ctx.Results.Entries[ctx.Results.ResultCount++].No = QString::number(i);
    run.Open();
    run.Tick();
    run.Tick();
    EXPECT_EQ(ctx.Results.ResultCount, 11); // MaxResults + 1 at most, the screen drops one
    EXPECT_EQ(ctx.Results.Entries[0].No, "1");
    EXPECT_EQ(ctx.Results.Entries[10].No, "25");
}

TEST_F(MeasurementRunTest, CancelWhileWaitingStopsTheLoggerAndAddsNothing)
{
    run.Open();
    run.Tick();
    const size_t armed = link.Sent.size();
    run.Cancel();
    EXPECT_EQ(SentFrom(armed), (std::vector<QString>{"RES", "RES", "SET1", "SET2"}));
    EXPECT_EQ(ctx.MeasurementDone, 0);
    EXPECT_EQ(ctx.Results.ResultCount, 0);
    EXPECT_TRUE(run.View().Closed);
    EXPECT_FALSE(run.View().TimerRunning);
    run.Tick(); // a tick already queued does nothing more
    run.Cancel();
    EXPECT_EQ(link.Sent.size(), armed + 4);
}

TEST_F(MeasurementRunTest, CancelWithoutTheTimerOnlySelectsTheChannelsAgain)
{
    link.On("MNO?", "ERR-001");
    run.Open();
    run.Cancel();
    EXPECT_EQ(SentFrom(1), (std::vector<QString>{"RES", "SET1", "SET2"}));
}

TEST_F(MeasurementRunTest, ALoggerThatFallsSilentWhileArmedEndsTheRun)
{
    ctx.Results.ResultCount = 1;
    ctx.Results.Entries[0].No = "00007";
    run.Open();
    run.Tick();
    link.Silent("EOC");
    for (int i = 1; i < MeasurementRun::SilentPollLimit; ++i) {
        run.Tick();
        EXPECT_FALSE(run.View().Closed) << "a single lost reply is ridden over";
    }
    run.Tick();
    EXPECT_TRUE(run.View().Closed);
    EXPECT_EQ(run.Outcome(), RunOutcome::LinkLost);
    EXPECT_EQ(ctx.MeasurementDone, 0);
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Text.En, CommunicationFailureMessage().Text.En);
    EXPECT_EQ(ctx.Results.ResultCount, 1);
    EXPECT_EQ(ctx.Results.Entries[0].No, "00007");
}

TEST_F(MeasurementRunTest, ALoggerThatFallsSilentDuringTheTransferAddsNothing)
{
    // The line dies after each of the transfer's commands in turn.
    const std::vector<QString> transfer{"EOC", "RES", "SET1", "SET2", "EXE0", "EOC", "ANS0"};
    for (int answered = 1; answered <= int(transfer.size()); ++answered) {
        link.HangUpAfter = -1;
        ctx.Results.ResultCount = 0;
        messages.Shown.clear();
        MeasurementRun r(ctx);
        r.Open();
        r.Tick();
        link.HangUpAfter = answered;
        r.Tick();
        EXPECT_EQ(r.Outcome(), RunOutcome::LinkLost) << "answered " << answered;
        EXPECT_EQ(ctx.Results.ResultCount, 0);
        EXPECT_EQ(messages.Shown.size(), 1u);
    }
    // Asked for only once the recording was reported complete (the last two cases).
    EXPECT_EQ(Count("ANS?"), 2);
}

TEST_F(MeasurementRunTest, TheWaitForACompleteRecordingIsBounded)
{
    ctx.Logger.RecordLength = 800;
    run.Open();
    run.Tick();
    // The progress poll says complete, then the logger never counts up to the end again.
    QStringList replies{"800,800"};
    for (int i = 0; i < MeasurementRun::TransferPollLimit + 10; ++i)
        replies << "10,10";
    link.OnSequence("EOC", replies);
    run.Tick();
    EXPECT_EQ(run.Outcome(), RunOutcome::LinkLost);
    EXPECT_EQ(ctx.Results.ResultCount, 0);
    EXPECT_LE(Count("EOC"), MeasurementRun::TransferPollLimit + 1);
    EXPECT_EQ(Count("ANS?"), 0);
}

TEST_F(MeasurementRunTest, TheJapaneseRunShowsJapaneseTextsAndDates)
{
    ctx.G.UiLanguage = 0;
    run.Open();
    EXPECT_EQ(run.View().Status,
              QString::fromUtf8("トリガ待ち。中止は「計測モニタ」ボタンを押してください。"));
    run.Tick();
    run.Tick();
    EXPECT_EQ(ctx.Results.Entries[0].DateTime, "2021/04/07 13:05:09");
}

} // namespace
