// The test terminal's logic on a scripted line: the start-up probe, typed commands, the
// BDT count and table, and the parameter dumps.
#include "ScriptedLink.h"
#include "serial/RSTestTerminal.h"
#include "shell/MessageSink.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace
{

std::vector<QString> Strings(std::initializer_list<const char*> list)
{
    std::vector<QString> out;
    for (const char* s : list)
        out.push_back(QString::fromLatin1(s));
    return out;
}

QByteArray Bytes(std::initializer_list<int> list)
{
    QByteArray out;
    for (int b : list)
        out.append(char(b));
    return out;
}

} // namespace

// --- The count of a BDT command ------------------------------------------------------------

TEST(BdtCount, AcceptsOneTo1001)
{
    const std::pair<const char*, int> accepted[] = {
        {"BDT10", 10}, {"BDT1", 1}, {"BDT1001", 1001}, {"BDT 5", 5}, {"BDT007", 7}, {"XBDT3", 3},
    };
    for (const auto& [cmd, n] : accepted) {
        const BdtCount c = ParseBdtCount(QString::fromLatin1(cmd));
        EXPECT_TRUE(c.Accepted()) << cmd << ": " << c.Refusal.toStdString();
        EXPECT_EQ(c.Values, n) << cmd;
    }
}

TEST(BdtCount, RefusesWithAReason)
{
    const std::pair<const char*, const char*> refused[] = {
        {"BDT", "needs a count"},
        {"BDT  ", "needs a count"},
        {"BDTX", "not a number"},
        {"BDT-1", "not a number"},
        {"BDT10BDT3", "not a number"},
        {"BDT1.5", "not a number"},
        {"BDT0", "out of range"},
        {"BDT1002", "out of range"},
        {"BDT99999999999999999999", "out of range"},
    };
    for (const auto& [cmd, why] : refused) {
        const BdtCount c = ParseBdtCount(QString::fromLatin1(cmd));
        EXPECT_FALSE(c.Accepted()) << cmd;
        EXPECT_TRUE(c.Refusal.contains(QLatin1String(why)))
            << cmd << ": " << c.Refusal.toStdString();
        EXPECT_TRUE(c.Refusal.contains(QLatin1String("Nothing was sent"))) << cmd;
    }
}

// --- Values and the table ------------------------------------------------------------------

TEST(BinaryValues, AreBigEndianSigned16Bit)
{
    EXPECT_EQ(BigEndianValue(0xFF, 0xFE), -2);
    EXPECT_EQ(BigEndianValue(0x01, 0x00), 256);
    EXPECT_EQ(BigEndianValue(0x00, 0x01), 1);
    EXPECT_EQ(BigEndianValue(0x7F, 0xFF), 32767);
    EXPECT_EQ(BigEndianValue(0x80, 0x00), -32768);
}

TEST(BinaryTable, TenValuesMakeTwoRows)
{
    const QByteArray b = Bytes({0xFF, 0xFE, 0x01, 0x00, 0,    0,    0,    7,    0x80, 0,
                                0x7F, 0xFF, 0,    12,   0xFF, 0xFF, 0x03, 0xE8, 0xFC, 0x18});
    const QString text =
        BinaryTableText(reinterpret_cast<const uint8_t*>(b.constData()), 10, 0.0208);
    EXPECT_EQ(text.toStdString(),
              QStringLiteral("000000      -2    256      0      7 -32768  32767     12     -1 \r\n"
                             "000008    1000  -1000 \r\n" // the line end after the last value
                             "0.021Sec\r\n")
                  .toStdString());
}

TEST(BinaryTable, AFullLastRowIsFollowedByAnEmptyLine)
{
    const QByteArray b(16, '\0');
    const QString text = BinaryTableText(reinterpret_cast<const uint8_t*>(b.constData()), 8, 1.5);
    EXPECT_EQ(text.toStdString(),
              "000000       0      0      0      0      0      0      0      0 \r\n"
              "\r\n1.500Sec\r\n");
}

TEST(BinaryTable, RowHeadsCountValuesUpTo1001)
{
    const QByteArray b(2 * 1001, '\x01');
    const QString text =
        BinaryTableText(reinterpret_cast<const uint8_t*>(b.constData()), 1001, 0.5);
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.size(), 126 + 2); // 125 full rows, one of a single value, time, ""
    EXPECT_TRUE(lines[125].startsWith(QStringLiteral("001000     257 ")));
    EXPECT_EQ(lines[125].size(), 8 + 7);
}

// --- Start-up ---------------------------------------------------------------------------

class Terminal : public ::testing::Test
{
protected:
    ScriptedLink m_link;
    RecordingMessages m_messages;
    RSTestTerminal m_terminal{m_link, m_messages};
};

TEST_F(Terminal, StartUpEnablesTheButtonsWhoseSetCommandWasAccepted)
{
    m_link.On("RES", "OK");
    m_link.On("SET1", "OK");
    m_link.On("SET3", "ERR-001");
    m_link.On("SET4", "OK");
    m_link.Silent("SET5");
    m_link.On("SET6", "OK");
    ASSERT_TRUE(m_terminal.StartUp());
    EXPECT_EQ(m_terminal.ParaEnabled(), (std::array<bool, 5>{true, false, true, false, true}));
    EXPECT_EQ(m_link.Sent, Strings({"RES", "SET1", "RES", "SET3", "RES", "SET4", "RES", "SET5",
                                    "RES", "SET6", "RES"}));
    EXPECT_TRUE(m_link.PortOpened());
    EXPECT_EQ(m_link.WaitCalls, 1);
    EXPECT_TRUE(m_messages.Shown.empty());
}

TEST_F(Terminal, ProbeWaitsASecondForTheFirstReply)
{
    int32_t timeoutSeen = -1;
    m_link.Otherwise = [&](const QString& cmd) -> QString {
        if (timeoutSeen < 0)
            timeoutSeen = m_link.ReplyTimeout();
        return cmd == "RES" ? QStringLiteral("OK") : QString();
    };
    m_link.SetReplyTimeout(0);
    m_terminal.StartUp();
    EXPECT_EQ(timeoutSeen, 1000);
}

TEST_F(Terminal, SilentOrFailingLoggerIsNotConnected)
{
    for (const bool silent : {true, false}) {
        ScriptedLink link;
        RecordingMessages messages;
        RSTestTerminal terminal(link, messages);
        if (silent)
            link.Silent("RES");
        else
            link.On("RES", "ERR-031");
        EXPECT_FALSE(terminal.StartUp());
        EXPECT_EQ(link.Sent, Strings({"RES"}));
        EXPECT_FALSE(link.PortOpened()); // closed again
        ASSERT_EQ(messages.Shown.size(), 1u);
        const UiMessage& m = messages.Shown[0];
        EXPECT_EQ(m.Title, (Bilingual{QString::fromUtf8("未接続"), QStringLiteral("No Connect!")}));
        EXPECT_EQ(m.Text, Both(QStringLiteral("QL-860H Not Connected!")));
        EXPECT_EQ(m.Buttons, MessageButtons::Ok);
        EXPECT_EQ(m.Icon, MessageIcon::None);
    }
}

// --- Typed commands ----------------------------------------------------------------------

TEST_F(Terminal, ACommandIsUpperCasedSentAndItsReplyReplacesTheArea)
{
    m_link.On("RNG?", "1000");
    m_link.On("CLK?", "50");
    EXPECT_EQ(m_terminal.EnterCommand("rng?"), QStringLiteral("RNG?"));
    EXPECT_EQ(m_terminal.Response(), QStringLiteral("RNG?\r\n1000\r\n"));
    m_terminal.EnterCommand("Clk?");
    EXPECT_EQ(m_terminal.Response(), QStringLiteral("CLK?\r\n50\r\n"));
    EXPECT_EQ(m_link.Sent, Strings({"RNG?", "CLK?"}));
}

TEST_F(Terminal, AFailedCommandLeavesTheAreaAsItWas)
{
    m_link.On("RNG?", "1000");
    m_link.On("XYZ", "ERR-002");
    m_link.Silent("MDT");
    m_terminal.EnterCommand("RNG?");
    m_terminal.EnterCommand("xyz");
    m_terminal.EnterCommand("mdt");
    EXPECT_EQ(m_terminal.Response(), QStringLiteral("RNG?\r\n1000\r\n"));
}

TEST_F(Terminal, BdtIsReceivedRawAndShownAsATable)
{
    m_link.BinaryBlock =
        Bytes({0xFF, 0xFE, 0x01, 0x00, 0, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 7, 0, 8});
    EXPECT_EQ(m_terminal.EnterCommand("bdt10"), QStringLiteral("BDT10"));
    EXPECT_EQ(m_link.Sent, Strings({"BDT10"})); // sent by PortOutput: no reply line awaited
    const QStringList lines = m_terminal.Response().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0], QStringLiteral("BDT10"));
    EXPECT_EQ(lines[1], QString());
    EXPECT_EQ(lines[2],
              QStringLiteral("000000      -2    256      1      2      3      4      5      6 "));
    EXPECT_EQ(lines[3], QStringLiteral("000008       7      8 "));
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^[0-9]+\\.[0-9]{3}Sec$")).match(lines[4]).hasMatch())
        << lines[4].toStdString();
    EXPECT_EQ(m_link.State().BinaryMode, 0); // back in text reception
    EXPECT_FALSE(m_terminal.Busy());
}

TEST_F(Terminal, ABlockCutShortChangesNothingAndTheLineGoesOn)
{
    m_link.On("RNG?", "1000");
    m_terminal.EnterCommand("RNG?");
    m_link.BinaryBlock = Bytes({1, 2, 3});
    m_terminal.EnterCommand("BDT10");
    EXPECT_EQ(m_terminal.Response(), QStringLiteral("RNG?\r\n1000\r\n"));
    EXPECT_EQ(m_link.State().BinaryMode, 0);
    m_link.On("CLK?", "50");
    m_terminal.EnterCommand("CLK?");
    EXPECT_EQ(m_terminal.Response(), QStringLiteral("CLK?\r\n50\r\n"));
}

TEST_F(Terminal, ARefusedBdtSendsNothingAndSaysWhy)
{
    for (const char* cmd : {"bdt", "bdtx", "bdt0", "bdt1002"}) {
        m_terminal.EnterCommand(QString::fromLatin1(cmd));
        const QString upper = QString::fromLatin1(cmd).toUpper();
        EXPECT_TRUE(m_terminal.Response().startsWith(upper + "\r\nBDT")) << cmd;
        EXPECT_TRUE(m_terminal.Response().contains("Nothing was sent")) << cmd;
    }
    EXPECT_TRUE(m_link.Sent.empty());
    EXPECT_EQ(m_link.State().BinaryMode, 0);
}

// --- Parameter dumps -----------------------------------------------------------------------

TEST_F(Terminal, ParaDumpsEpa32To63InWireOrder)
{
    m_link.On("RES", "OK");
    m_link.On("SET3", "OK");
    m_link.Otherwise = [](const QString& cmd) {
        return cmd.startsWith("EPA") ? QStringLiteral("OK") : QString();
    };
    // Words that tell the addresses apart.
    QStringList words;
    for (int a = 32; a <= 63; ++a)
        words << QString::number(a * 10);
    m_link.OnSequence("EPD?", words);
    m_terminal.Para(1);

    std::vector<QString> expected = Strings({"RES", "SET3"});
    for (int a = 32; a <= 63; ++a) {
        expected.push_back(QStringLiteral("EPA%1").arg(a));
        expected.push_back(QStringLiteral("EPD?"));
    }
    EXPECT_EQ(m_link.Sent, expected);

    const QStringList lines = m_terminal.Response().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 2 + 64 + 2); // RES, SET3, 32 pairs, the closing line end, ""
    EXPECT_EQ(lines[0], QStringLiteral("RES OK"));
    EXPECT_EQ(lines[1], QStringLiteral("SET3 OK"));
    for (int address = 32; address <= 63; ++address) {
        const int at = 2 + 2 * (address - 32);
        EXPECT_EQ(lines[at], QStringLiteral("EPA%1 OK").arg(address));
        EXPECT_EQ(lines[at + 1], QStringLiteral("EPD? %1").arg(address * 10));
    }
    EXPECT_EQ(lines[66], QString());
}

TEST_F(Terminal, ParaWhoseSetCommandFailsShowsOnlyTheLogSoFar)
{
    m_link.On("RES", "OK");
    m_link.On("SET6", "ERR-001");
    m_terminal.Para(4);
    EXPECT_EQ(m_terminal.Response(), QStringLiteral("RES OK\r\n\r\n"));
    EXPECT_EQ(m_link.Sent, Strings({"RES", "SET6"}));
}

TEST_F(Terminal, ParaLeavesOutExchangesThatFailed)
{
    m_link.Silent("RES");
    m_link.On("SET1", "OK");
    m_link.Otherwise = [](const QString& cmd) {
        if (cmd == "EPA40")
            return QStringLiteral("ERR-007");
        return cmd.startsWith("EPA") ? QStringLiteral("OK") : QString();
    };
    m_link.On("EPD?", "5");
    m_terminal.Para(0);
    const QString r = m_terminal.Response();
    EXPECT_TRUE(r.startsWith(QStringLiteral("SET1 OK\r\nEPA32 OK\r\nEPD? 5\r\n")));
    EXPECT_FALSE(r.contains(QStringLiteral("EPA40")));
    EXPECT_TRUE(r.contains(QStringLiteral("EPA39 OK\r\nEPD? 5\r\nEPD? 5\r\nEPA41 OK")));
}

TEST_F(Terminal, EndClosesTheLine)
{
    m_link.On("RES", "OK");
    m_terminal.StartUp();
    m_terminal.End();
    EXPECT_FALSE(m_link.PortOpened());
}
