// The real QSerialLink against the logger simulator on a real pseudo-terminal, reached
// through its ports/COM1 link as the program reaches a logger.
#include "SimProcess.h"
#include "TempHome.h"
#include "serial/QSerialLink.h"
#include "shell/MessageSink.h"

#include <QRegularExpression>
#include <chrono>
#include <gtest/gtest.h>

namespace
{

class LinkToSimulator : public ::testing::Test
{
protected:
    void Start(QStringList options = {})
    {
        options << "--com"
                << "1"
                << "--no-pace";
        ASSERT_TRUE(m_sim.Start(options)) << m_sim.ErrorText().toStdString();
        m_link = std::make_unique<QSerialLink>(m_settings, m_home.UserFolder(), m_messages);
        m_link->Connect(true);
        ASSERT_TRUE(m_link->PortOpened());
        EXPECT_TRUE(m_messages.Shown.empty());
        m_link->SetReplyTimeout(1000);
    }

    TempHome m_home; // first: the simulator's link goes below this HOME
    SimProcess m_sim;
    PortSettings m_settings;
    RecordingMessages m_messages;
    std::unique_ptr<QSerialLink> m_link;
};

// The bytes of a transcript reply line, \xNN written out.
QByteArray TranscriptBytes(const QString& line)
{
    QByteArray out;
    const QByteArray in = line.toLatin1();
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] == '\\' && i + 3 < in.size() && in[i + 1] == 'x') {
            out.append(char(in.mid(i + 2, 2).toInt(nullptr, 16)));
            i += 3;
        } else {
            out.append(in[i]);
        }
    }
    return out;
}

} // namespace

TEST_F(LinkToSimulator, TwoLetterReplyGivesFour)
{
    Start();
    EXPECT_EQ(m_link->RSCom("RES"), 4);
    EXPECT_EQ(m_link->ReplyText(), QStringLiteral("OK\r\n"));
    EXPECT_EQ(m_link->RSCom("SET1"), 4);
    EXPECT_EQ(m_link->RSCom("RNG?"), 6);
    EXPECT_EQ(m_link->ReplyText(), QStringLiteral("1000\r\n"));
    EXPECT_EQ(m_sim.Commands(), (QStringList{"RES", "SET1", "RNG?"}));
}

TEST_F(LinkToSimulator, ReplyWithoutLineFeedGivesMinusTwoAfterTheTimeOut)
{
    Start({"--fault", "partial RES"});
    m_link->SetReplyTimeout(400);
    EXPECT_EQ(m_link->RSCom("RES"), StatusNoReply);
    EXPECT_EQ(m_link->ReplyText(), QStringLiteral("OK\r")); // the partial text stays
    // The next command is not confused by what the last one left.
    m_link->SetReplyTimeout(1000);
    EXPECT_EQ(m_link->RSCom("SET1"), 4);
}

TEST_F(LinkToSimulator, ErrAnywhereInAnyCaseGivesMinusOne)
{
    Start({"--firmware", "2.1err"});
    EXPECT_EQ(m_link->RSCom("VS"), StatusErrorReply);
    EXPECT_TRUE(m_link->ReplyText().contains("err"));
    EXPECT_EQ(m_link->RSCom("RNG?"), StatusErrorReply); // no channel selected: ERR-001
    EXPECT_TRUE(m_link->ReplyText().startsWith("ERR-001"));
    EXPECT_EQ(m_link->RSCom("NOSUCH"), StatusErrorReply);
}

TEST_F(LinkToSimulator, AfterAnyReceptionTheNextTransactionHas500Ms)
{
    Start({"--fault", "slow SET1 800"});
    m_link->SetReplyTimeout(1000);
    ASSERT_EQ(m_link->RSCom("RES"), 4);
    EXPECT_EQ(m_link->ReplyTimeout(), 500);
    // 500 ms is too short for an 800 ms reply ...
    EXPECT_EQ(m_link->RSCom("SET1"), StatusNoReply);
    // ... unless the caller sets a longer time-out again before the transaction.
    m_link->SetReplyTimeout(3000);
    EXPECT_EQ(m_link->RSCom("SET1"), 4);
    EXPECT_EQ(m_link->ReplyTimeout(), 500);
}

TEST_F(LinkToSimulator, StaleInputBeforeACommandIsDiscarded)
{
    Start({"--fault", "stray"}); // a stray byte before and two after every reply
    // Bytes behind the line end that came in the same read stay behind it.
    ASSERT_GT(m_link->RSCom("RES"), 0);
    EXPECT_TRUE(m_link->ReplyText().startsWith(QString::fromLatin1("\xffOK\r\n")));
    m_link->Wait(100); // whatever was still in transit arrives meanwhile
    ASSERT_GT(m_link->RSCom("SET1"), 0);
    EXPECT_EQ(m_link->ReplyText().left(5), QString::fromLatin1("\xffOK\r\n"));
}

TEST_F(LinkToSimulator, NulBytesInAReplyAreKept)
{
    Start({"--fault", "nul RNG?"});
    m_link->RSCom("SET1");
    EXPECT_EQ(m_link->RSCom("RNG?"), 8);
    EXPECT_EQ(m_link->ReplyText(), QString::fromLatin1("10\0\0"
                                                       "00\r\n",
                                                       8));
}

TEST_F(LinkToSimulator, OverLongLineEndsAtTheDeadlineWithBoundedText)
{
    Start({"--fault", "longline VS"});
    m_link->SetReplyTimeout(700);
    EXPECT_EQ(m_link->RSCom("VS"), StatusNoReply);
    EXPECT_LE(m_link->ReplyText().size(), QSerialLink::ReceiveBufferBytes);
    EXPECT_EQ(m_link->RSCom("RES"), 4);
}

TEST_F(LinkToSimulator, TwentyByteBlockArrivesWhole)
{
    Start({"--channels", "1,2", "--noise", "0", "--offset", "1=256", "--mry", "16", "--mry-pre",
           "12"});
    for (const char* cmd : {"RES", "SET1", "DTG"})
        ASSERT_EQ(m_link->RSCom(cmd), 4) << cmd;
    ASSERT_TRUE(m_sim.Control("drop"));
    // The block is that of the last completed recording: wait for all 16 samples.
    bool complete = false;
    for (int i = 0; i < 200 && !complete; ++i)
        complete = m_link->RSCom("EOC") > 0 && m_link->ReplyText() == "16\r\n";
    ASSERT_TRUE(complete);
    m_link->PortOutput("BDT10");
    m_link->SetBinaryInput(true);
    m_link->State().BinaryPos = 0;
    EXPECT_EQ(m_link->ReceiveBinary(20), 0);
    m_link->SetBinaryInput(false);

    ASSERT_TRUE(m_sim.WaitForTranscript("< "));
    const QStringList replies = m_sim.Replies();
    const QByteArray sent = TranscriptBytes(replies.last());
    ASSERT_EQ(sent.size(), 20);
    const auto& buffer = m_link->State().BinaryBuffer;
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(buffer.data()), 20), sent);
    EXPECT_EQ(buffer[0], 0x01); // 256 at rest before the trigger
    EXPECT_EQ(buffer[1], 0x00);
    EXPECT_EQ(m_link->RSCom("RES"), 4); // text reception goes on
}

TEST_F(LinkToSimulator, SimulatorHangingUpMidTransactionGivesMinusTwo)
{
    Start();
    ASSERT_TRUE(m_sim.Control("fault hangup-after 1"));
    m_link->SetReplyTimeout(8000);
    const auto before = std::chrono::steady_clock::now();
    const int32_t status = m_link->RSCom("RES");
    // Whatever came before the line dropped, the transaction ends at the hang-up, not at
    // its deadline.
    EXPECT_TRUE(status == StatusNoReply || status == 4) << status;
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(7500));
    EXPECT_EQ(m_link->RSCom("SET1"), StatusNoReply);
    EXPECT_FALSE(m_link->PortOpened());
}

TEST(LinkWithoutSimulator, DeviceThatDoesNotExistLeavesThePortClosedWithTheMessage)
{
    TempHome home;
    PortSettings settings;
    settings.ComPort = 3000; // /dev/ttyACM2935: on no machine
    RecordingMessages messages;
    QSerialLink link(settings, home.UserFolder(), messages);
    link.Connect(true);
    EXPECT_FALSE(link.PortOpened());
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_TRUE(messages.Shown[0].Text.En.contains("COM3000 (/dev/ttyACM2935) does not exist"));
    EXPECT_TRUE(messages.Shown[0].Text.Ja.contains("COM3000 (/dev/ttyACM2935)"));
    EXPECT_EQ(messages.Shown[0].Title.En, QStringLiteral("Port error"));
    EXPECT_EQ(link.RSCom("RES"), StatusNoReply);
}
