// The test terminal's logic: the BDT count, the value table, and on a scripted line the
// parameter dumps that go wrong part way.
#include "ScriptedLink.h"
#include "serial/RSTestTerminal.h"
#include "shell/MessageSink.h"

#include <gtest/gtest.h>

namespace
{

QString Table(std::initializer_list<int> bytes, double seconds)
{
    std::vector<uint8_t> b(bytes.begin(), bytes.end());
    return BinaryTableText(b.data(), int32_t(b.size() / 2), seconds);
}

} // namespace

TEST(BdtCount, AcceptsOneTo1001AndRefusesTheRestWithAReason)
{
    const struct {
        const char* Cmd;
        int Values; // 0: refused
        const char* Why;
    } cases[] = {
        {"BDT10", 10, ""},
        {"BDT1", 1, ""},
        {"BDT1001", 1001, ""},
        {"BDT 5", 5, ""},
        {"XBDT3", 3, ""},
        {"BDT", 0, "needs a count"},
        {"BDTX", 0, "not a number"},
        {"BDT-1", 0, "not a number"},
        {"BDT1.5", 0, "not a number"},
        {"BDT10BDT3", 0, "not a number"},
        {"BDT0", 0, "out of range"},
        {"BDT1002", 0, "out of range"},
        {"BDT99999999999999999999", 0, "out of range"},
    };
    for (const auto& c : cases) {
        const BdtCount count = ParseBdtCount(QString::fromLatin1(c.Cmd));
        EXPECT_EQ(count.Accepted(), c.Values > 0) << c.Cmd;
        EXPECT_EQ(count.Values, c.Values) << c.Cmd;
        EXPECT_TRUE(count.Refusal.contains(QLatin1String(c.Why))) << c.Cmd;
        if (c.Values == 0) {
            EXPECT_TRUE(count.Refusal.contains("Nothing was sent")) << c.Cmd;
        }
    }
}

TEST(BinaryTable, BigEndianSignedValuesInRowsOfEight)
{
    EXPECT_EQ(Table({0xFF, 0xFE, 0x01, 0x00, 0,    0,    0,    7,    0x80, 0,
                     0x7F, 0xFF, 0,    12,   0xFF, 0xFF, 0x03, 0xE8, 0xFC, 0x18},
                    0.0208)
                  .toStdString(),
              "000000      -2    256      0      7 -32768  32767     12     -1 \r\n"
              "000008    1000  -1000 \r\n" // the line end after the last value
              "0.021Sec\r\n");
    // A full last row is followed by the line end after the last value as well.
    EXPECT_EQ(Table({0, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 7, 0, 8}, 1.5).toStdString(),
              "000000       1      2      3      4      5      6      7      8 \r\n"
              "\r\n1.500Sec\r\n");
}

class Terminal : public ::testing::Test
{
protected:
    ScriptedLink m_link;
    RecordingMessages m_messages;
    RSTestTerminal m_terminal{m_link, m_messages};
};

TEST_F(Terminal, ParaLeavesOutTheExchangesThatFailed)
{
    m_link.Silent("RES");
    m_link.Otherwise = [](const QString& cmd) {
        return cmd == "EPA40" ? QStringLiteral("ERR-007") : QStringLiteral("5");
    };
    m_terminal.Para(0);
    const QString r = m_terminal.Response();
    EXPECT_TRUE(r.startsWith(QStringLiteral("SET1 5\r\nEPA32 5\r\nEPD? 5\r\n")));
    EXPECT_TRUE(r.contains(QStringLiteral("EPA39 5\r\nEPD? 5\r\nEPD? 5\r\nEPA41 5")));
    EXPECT_TRUE(r.endsWith(QStringLiteral("EPA63 5\r\nEPD? 5\r\n\r\n")));
}
