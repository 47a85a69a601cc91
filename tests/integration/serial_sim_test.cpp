// The real QSerialLink against the logger simulator on a real pseudo-terminal, reached
// through its ports/COM1 link as the program reaches a logger.
#include "SimProcess.h"
#include "TempHome.h"
#include "serial/QSerialLink.h"
#include "shell/MessageSink.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

namespace
{

class LinkToSimulator : public ::testing::Test
{
protected:
    void Start(QStringList options = {})
    {
        ASSERT_TRUE(m_sim.Start(options << "--com"
                                        << "1"
                                        << "--no-pace"))
            << m_sim.ErrorText().toStdString();
        m_link = std::make_unique<QSerialLink>(m_settings, m_home.UserFolder(), m_messages);
        m_link->Connect(true);
        ASSERT_TRUE(m_link->PortOpened());
        EXPECT_TRUE(m_messages.Shown.empty()); // DTR and RTS refused by a pty are no failure
        m_link->SetReplyTimeout(1000);
    }

    // A raw block of 2 x `values` bytes after the command, as the test terminal asks.
    int16_t Block(int values)
    {
        m_link->PortOutput(QStringLiteral("BDT%1").arg(values));
        m_link->SetBinaryInput(true);
        const int16_t status = m_link->ReceiveBinary(2 * values);
        m_link->SetBinaryInput(false);
        return status;
    }

    TempHome m_home; // first: the simulator's link goes below this HOME
    SimProcess m_sim;
    PortSettings m_settings;
    RecordingMessages m_messages;
    std::unique_ptr<QSerialLink> m_link;
};

TEST_F(LinkToSimulator, StatusIsTheReplyLengthOrErrOrNoReply)
{
    Start({"--firmware", "2.1err", "--fault", "partial SET2", "--fault", "longline VS?"});
    EXPECT_EQ(m_link->RSCom("RES"), 4); // two letters and the line end
    EXPECT_EQ(m_link->ReplyText(), QStringLiteral("OK\r\n"));
    EXPECT_EQ(m_link->ReplyTimeout(), 500); // every reception lowers the time-out
    EXPECT_EQ(m_link->RSCom("VS"), -1);     // an error reply: "err" in the middle, lower case
    EXPECT_EQ(m_link->RSCom("RNG?"), -1);   // ERR-001: no channel selected
    EXPECT_EQ(m_link->RSCom("SET1"), 4);
    EXPECT_EQ(m_link->RSCom("RNG?"), 6);
    EXPECT_EQ(m_link->RSCom("SET2"), -2);                   // no reply: no line end by the deadline
    EXPECT_EQ(m_link->ReplyText(), QStringLiteral("OK\r")); // the partial text stays
    EXPECT_EQ(m_link->RSCom("VS?"), -2);                    // 6000 bytes: kept only up to the cap
    EXPECT_EQ(m_link->ReplyText().size(), QSerialLink::ReceiveBufferBytes);
    EXPECT_EQ(m_sim.Commands(), (QStringList{"RES", "VS", "RNG?", "SET1", "RNG?", "SET2", "VS?"}));
}

TEST_F(LinkToSimulator, RawBlocksArriveWholeAndStopAtTheBuffer)
{
    Start({"--noise", "0", "--offset", "1=256", "--mry", "16", "--mry-pre", "12"});
    for (const char* cmd : {"RES", "SET1", "DTG"})
        ASSERT_EQ(m_link->RSCom(cmd), 4) << cmd;
    ASSERT_TRUE(m_sim.Control("drop"));
    bool complete = false; // the block is that of the last completed recording
    for (int i = 0; i < 200 && !complete; ++i)
        complete = m_link->RSCom("EOC") > 0 && m_link->ReplyText() == "16\r\n";
    ASSERT_TRUE(complete);

    EXPECT_EQ(Block(10), 0);
    const auto& buffer = m_link->State().BinaryBuffer;
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(buffer[size_t(i)], i % 2 == 0 ? 0x01 : 0x00) << i; // 256 at rest

    m_link->State().BinaryBuffer.fill(0xAA);
    EXPECT_EQ(Block(6000), 0); // 12000 bytes for a buffer of 10001: the rest is dropped
    EXPECT_EQ(m_link->State().BinaryBuffer[10000], 0x00); // zeros beyond the recording
    EXPECT_EQ(m_link->RSCom("SET1"), 4); // and none of it spills into the next reply
}

TEST_F(LinkToSimulator, OpeningAppliesTheStoredLineSettings)
{
    m_settings.BaudRate = 38400;
    m_settings.ParityCode = 1;
    m_settings.StopBits = 2;
    Start();
    const int fd = ::open(m_sim.SlavePath().toLocal8Bit().constData(), O_RDONLY | O_NOCTTY);
    ASSERT_GE(fd, 0);
    termios t{};
    ::tcgetattr(fd, &t);
    ::close(fd);
    EXPECT_EQ(cfgetospeed(&t), speed_t(B38400));
    EXPECT_EQ(t.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_TRUE(t.c_cflag & PARODD); // a pty clears PARENB whatever it is told
    EXPECT_TRUE(t.c_cflag & CSTOPB);
    EXPECT_FALSE(t.c_cflag & CRTSCTS);
    EXPECT_FALSE(t.c_iflag & (IXON | IXOFF));
}

TEST_F(LinkToSimulator, ASecondLinkFindsThePortInUseAMissingOneIsSaidSoAndAClosedLineReopens)
{
    Start();
    RecordingMessages messages;
    QSerialLink second(m_settings, m_home.UserFolder(), messages);
    second.Connect(true);
    EXPECT_FALSE(second.PortOpened());
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_TRUE(messages.Shown[0].Text.En.contains("COM1 (") &&
                messages.Shown[0].Text.En.contains("in use"));
    EXPECT_EQ(m_link->RSCom("RES"), 4); // the first link is untouched
    m_link->Connect(false);
    EXPECT_EQ(m_link->RSCom("RES"), -2); // no reply on a closed line
    m_link->Connect(true);
    EXPECT_EQ(m_link->RSCom("RES"), 4);

    m_settings.ComPort = 3000; // /dev/ttyACM2935: on no machine
    QSerialLink third(m_settings, m_home.UserFolder(), messages);
    third.Connect(true);
    EXPECT_FALSE(third.PortOpened());
    ASSERT_EQ(messages.Shown.size(), 2u);
    EXPECT_TRUE(messages.Shown[1].Text.En.contains("COM3000 (/dev/ttyACM2935) does not exist"));
}

} // namespace
