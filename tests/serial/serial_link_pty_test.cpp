// The real QSerialLink on a real pseudo-terminal whose far end a test thread plays, so
// that framing, time-outs, status codes and line faults can be staged byte by byte.
#include "PtyPeer.h"
#include "TempHome.h"
#include "serial/QSerialLink.h"
#include "shell/MessageSink.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QTest>
#include <chrono>
#include <gtest/gtest.h>

namespace
{

class LinkOnPty : public ::testing::Test
{
protected:
    void Start(PtyPeer::Responder responder)
    {
        m_peer = std::make_unique<PtyPeer>(std::move(responder));
        m_peer->LinkAs(m_home.UserFolder(), 1);
        m_link = std::make_unique<QSerialLink>(m_settings, m_home.UserFolder(), m_messages);
        m_link->Connect(true);
        ASSERT_TRUE(m_link->PortOpened());
        m_link->SetReplyTimeout(1000);
    }

    TempHome m_home;
    PortSettings m_settings;
    RecordingMessages m_messages;
    std::unique_ptr<PtyPeer> m_peer;
    std::unique_ptr<QSerialLink> m_link;
};

} // namespace

// --- Completion and status -----------------------------------------------------------

struct ReplyCase {
    const char* Reply;
    int32_t Status;
};

class ReplyStatus : public LinkOnPty, public ::testing::WithParamInterface<ReplyCase>
{
};

TEST_P(ReplyStatus, FollowsTheReplyText)
{
    const QByteArray reply = GetParam().Reply;
    Start([reply](const QByteArray&) { return reply; });
    EXPECT_EQ(m_link->RSCom("RES"), GetParam().Status);
    EXPECT_EQ(m_link->ReplyText().toLatin1(), reply);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ReplyStatus,
    ::testing::Values(ReplyCase{"OK\r\n", 4}, // two letters and the line end
                      ReplyCase{"1000\r\n", 6}, ReplyCase{"ERR-002\r\n", -1}, // an error reply
                      ReplyCase{"12err34\r\n", -1}, // "err" inside, lower case
                      ReplyCase{"12,eRr\r\n", -1},
                      ReplyCase{"OK\r\r\n", 5})); // CR alone is no line end yet

TEST_F(LinkOnPty, CommandGoesOutWithCrLfAndNothingElse)
{
    Start([](const QByteArray&) { return QByteArray("OK\r\n"); });
    m_link->RSCom("SET1");
    m_link->RSCom("EPA32");
    ASSERT_TRUE(m_peer->WaitForCommands(2));
    EXPECT_EQ(m_peer->Commands(), (std::vector<QByteArray>{"SET1", "EPA32"}));
}

TEST_F(LinkOnPty, NulBytesOfAReplyAreKept)
{
    Start([](const QByteArray&) { return QByteArray("A\0B\r\n", 5); });
    EXPECT_EQ(m_link->RSCom("MDT"), 5);
    EXPECT_EQ(m_link->ReplyText(), QString::fromLatin1("A\0B\r\n", 5));
}

TEST_F(LinkOnPty, ReplyWithoutLineFeedTimesOutAndKeepsWhatCame)
{
    Start([](const QByteArray&) { return QByteArray("OK\r"); });
    m_link->SetReplyTimeout(300);
    EXPECT_EQ(m_link->RSCom("RES"), StatusNoReply);
    EXPECT_EQ(m_link->ReplyText(), QStringLiteral("OK\r"));
}

// --- Time-outs -----------------------------------------------------------------------

TEST_F(LinkOnPty, AnyReceptionLowersTheNextTimeOutTo500)
{
    Start([](const QByteArray& cmd) {
        return cmd == "RES" ? QByteArray("OK\r\n") : QByteArray("O");
    });
    m_link->SetReplyTimeout(1000);
    ASSERT_EQ(m_link->RSCom("RES"), 4);
    EXPECT_EQ(m_link->ReplyTimeout(), 500);

    m_link->SetReplyTimeout(800);
    ASSERT_EQ(m_link->RSCom("PARTIAL"), StatusNoReply); // a partial reply is a reception too
    EXPECT_EQ(m_link->ReplyTimeout(), 500);
}

TEST_F(LinkOnPty, SilenceLeavesTheTimeOutAsTheCallerSetIt)
{
    Start([](const QByteArray&) { return QByteArray(); });
    m_link->SetReplyTimeout(200);
    EXPECT_EQ(m_link->RSCom("RES"), StatusNoReply);
    EXPECT_EQ(m_link->ReplyTimeout(), 200);
    EXPECT_TRUE(m_link->ReplyText().isEmpty());
}

TEST_F(LinkOnPty, ZeroTimeOutGivesUpAtOnce)
{
    Start([](const QByteArray&) { return QByteArray(); });
    m_link->SetReplyTimeout(0);
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(m_link->RSCom("RES"), StatusNoReply);
    // Bounded far above any scheduling delay: it must not wait for a reply at all.
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(5));
}

// --- Input hygiene -------------------------------------------------------------------

TEST_F(LinkOnPty, StaleInputBeforeACommandIsDiscarded)
{
    Start([](const QByteArray&) { return QByteArray("OK\r\n"); });
    m_peer->Send("STALE\r\n");
    // Once the receive notification has seen it, the bytes sit in the port's buffer.
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_link->ReplyText().contains("STALE"); }, 5000));
    EXPECT_EQ(m_link->RSCom("RES"), 4);
    EXPECT_EQ(m_link->ReplyText(), QStringLiteral("OK\r\n"));
}

TEST_F(LinkOnPty, EndlessLineIsCappedAndEndsAtTheDeadline)
{
    Start([](const QByteArray&) { return QByteArray(20000, 'X'); });
    m_link->SetReplyTimeout(500);
    EXPECT_EQ(m_link->RSCom("VS"), StatusNoReply);
    EXPECT_EQ(m_link->ReplyText().size(), QSerialLink::ReceiveBufferBytes);
}

// --- Opening ---------------------------------------------------------------------------

TEST_F(LinkOnPty, OpeningAppliesTheStoredLineSettings)
{
    m_settings.BaudRate = 38400; // shown as " 4800", used as it is
    m_settings.ParityCode = 1;
    m_settings.StopBits = 2;
    Start([](const QByteArray&) { return QByteArray("OK\r\n"); });
    const termios t = m_peer->LineSettings();
    EXPECT_EQ(cfgetospeed(&t), speed_t(B38400));
    EXPECT_EQ(t.c_cflag & CSIZE, tcflag_t(CS8));
    // A pty clears PARENB whatever it is told; the odd/even choice shows in PARODD.
    EXPECT_TRUE(t.c_cflag & PARODD);
    EXPECT_TRUE(t.c_cflag & CSTOPB);
    EXPECT_FALSE(t.c_cflag & CRTSCTS);
    EXPECT_FALSE(t.c_iflag & (IXON | IXOFF));
    EXPECT_TRUE(m_messages.Shown.empty()); // DTR and RTS refused by a pty are no failure
}

TEST_F(LinkOnPty, ParityCodesOtherThanNoneAndOddMeanEven)
{
    m_settings.ParityCode = 7;
    Start([](const QByteArray&) { return QByteArray("OK\r\n"); });
    const termios t = m_peer->LineSettings();
    EXPECT_FALSE(t.c_cflag & PARODD);
    EXPECT_FALSE(t.c_cflag & CSTOPB);
    EXPECT_EQ(ParityForCode(7), QSerialPort::EvenParity);
    EXPECT_EQ(ParityForCode(2), QSerialPort::EvenParity);
    EXPECT_EQ(ParityForCode(-1), QSerialPort::EvenParity);
    EXPECT_EQ(ParityForCode(1), QSerialPort::OddParity);
    EXPECT_EQ(ParityForCode(0), QSerialPort::NoParity);
}

TEST_F(LinkOnPty, EveryOpeningRequestEndsInALaterSecond)
{
    using namespace std::chrono;
    Start([](const QByteArray&) { return QByteArray("OK\r\n"); });
    for (int i = 0; i < 2; ++i) { // the second request finds the port already open
        const auto before = floor<seconds>(system_clock::now());
        m_link->Connect(true);
        EXPECT_GT(floor<seconds>(system_clock::now()), before);
        EXPECT_TRUE(m_link->PortOpened());
    }
    EXPECT_EQ(m_link->RSCom("RES"), 4);
}

TEST_F(LinkOnPty, ASecondLinkFindsThePortInUse)
{
    Start([](const QByteArray&) { return QByteArray("OK\r\n"); });
    RecordingMessages messages;
    QSerialLink second(m_settings, m_home.UserFolder(), messages);
    second.Connect(true);
    EXPECT_FALSE(second.PortOpened());
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_TRUE(messages.Shown[0].Text.En.contains("COM1"));
    EXPECT_TRUE(messages.Shown[0].Text.En.contains("in use"));
    EXPECT_TRUE(messages.Shown[0].Text.Ja.contains(QString::fromUtf8("使用中")));
    EXPECT_EQ(m_link->RSCom("RES"), 4); // the first link is untouched
}

TEST_F(LinkOnPty, ClosingAndReopeningKeepsTheLineUsable)
{
    Start([](const QByteArray&) { return QByteArray("OK\r\n"); });
    m_link->Connect(false);
    EXPECT_FALSE(m_link->PortOpened());
    EXPECT_EQ(m_link->RSCom("RES"), StatusNoReply);
    m_link->Connect(false); // closing a closed port does nothing
    m_link->Connect(true);
    EXPECT_TRUE(m_link->PortOpened());
    EXPECT_EQ(m_link->RSCom("RES"), 4);
}

// --- A line that goes dead --------------------------------------------------------------

TEST_F(LinkOnPty, HangUpMidTransactionIsNoReplyAndClosesThePort)
{
    Start([](const QByteArray&) { return QByteArray("OK\r\n"); });
    m_peer->HangUpAfter(2);
    ASSERT_EQ(m_link->RSCom("RES"), 4);
    m_link->SetReplyTimeout(5000);
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(m_link->RSCom("SET1"), StatusNoReply);
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(4900));
    EXPECT_FALSE(m_link->PortOpened());
    EXPECT_EQ(m_link->RSCom("RES"), StatusNoReply);
}

// --- Raw blocks -------------------------------------------------------------------------

TEST_F(LinkOnPty, BinaryBlockArrivesWhole)
{
    QByteArray block;
    for (int i = 0; i < 20; ++i)
        block.append(char(0xF0 + i % 16));
    Start([block](const QByteArray&) { return block; });
    m_link->PortOutput("BDT10");
    m_link->SetBinaryInput(true);
    EXPECT_EQ(m_link->ReceiveBinary(20), 0);
    EXPECT_TRUE(m_link->State().ReplyDone);
    const auto& buffer = m_link->State().BinaryBuffer;
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(buffer.data()), 20), block);
}

TEST_F(LinkOnPty, BinaryBlockCutShortEndsWithMinusOne)
{
    Start([](const QByteArray&) { return QByteArray(7, '\x01'); });
    m_link->PortOutput("BDT10");
    m_link->SetBinaryInput(true);
    EXPECT_EQ(m_link->ReceiveBinary(20), -1);
    EXPECT_EQ(m_link->State().BinaryPos, 7);
    m_link->SetBinaryInput(false);
}

TEST_F(LinkOnPty, BinaryBlockLongerThanTheBufferFillsItAndStops)
{
    QByteArray block(12000, '\x55');
    block[10000] = '\x77';
    block[10001] = '\x99';
    Start([block](const QByteArray&) { return block; });
    LinkState& state = m_link->State();
    state.BinaryBuffer.fill(0);
    m_link->PortOutput("BDT6000");
    m_link->SetBinaryInput(true);
    EXPECT_EQ(m_link->ReceiveBinary(12000), 0);
    EXPECT_EQ(state.BinaryBuffer[10000], 0x77); // last index written, nothing beyond
    EXPECT_EQ(state.BinaryBuffer[9999], 0x55);
}

// --- Waiting --------------------------------------------------------------------------

TEST_F(LinkOnPty, WaitKeepsTimersAndReceptionsRunning)
{
    Start([](const QByteArray&) { return QByteArray("OK\r\n"); });
    bool ticked = false;
    QTimer::singleShot(0, [&] { ticked = true; });
    m_link->SetReplyTimeout(1000);
    m_peer->Send("X");
    m_link->Wait(100);
    EXPECT_TRUE(ticked);
}

// --- Ports that cannot be opened ------------------------------------------------------

TEST(LinkWithoutDevice, MissingDeviceLeavesThePortClosedWithAMessage)
{
    TempHome home;
    QTemporaryDir dev;
    PortSettings settings;
    settings.ComPort = 7;
    RecordingMessages messages;
    QSerialLink link(settings, home.UserFolder(), messages,
                     DeviceRoots{dev.path() + "/", dev.path() + "/"});
    link.Connect(true);
    EXPECT_FALSE(link.PortOpened());
    ASSERT_EQ(messages.Shown.size(), 1u);
    const UiMessage& m = messages.Shown[0];
    EXPECT_TRUE(m.Text.En.contains("COM7"));
    EXPECT_TRUE(m.Text.En.contains(dev.path() + "/ttyS6"));
    EXPECT_TRUE(m.Text.Ja.contains("COM7"));
    EXPECT_FALSE(m.Title.Ja.isEmpty());
    EXPECT_EQ(link.RSCom("RES"), StatusNoReply);
}

TEST(LinkWithoutDevice, DanglingPortLinkNamesItsTarget)
{
    TempHome home;
    QDir().mkpath(home.UserFolder() + "ports");
    QFile::link("/nonexistent/pts/99", home.UserFolder() + "ports/COM2");
    PortSettings settings;
    settings.ComPort = 2;
    RecordingMessages messages;
    QSerialLink link(settings, home.UserFolder(), messages);
    link.Connect(true);
    EXPECT_FALSE(link.PortOpened());
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_TRUE(messages.Shown[0].Text.En.contains("/nonexistent/pts/99"));
    EXPECT_TRUE(messages.Shown[0].Text.En.contains("does not exist"));
}
