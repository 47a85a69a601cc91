// fwd.rs: reading with defaults for whatever is missing or unusable, the exact bytes
// written, the choice typed in the settings window, and the texts the window shows.
#include "TempHome.h"
#include "serial/PortSettings.h"
#include "shell/MessageSink.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <gtest/gtest.h>

namespace
{

struct Six {
    int16_t ComPort;
    int32_t BaudRate;
    int16_t ParityCode, StopBits, HandshakeCode, DelimiterCode;
};

Six Values(const PortSettings& p)
{
    return {p.ComPort, p.BaudRate, p.ParityCode, p.StopBits, p.HandshakeCode, p.DelimiterCode};
}

bool operator==(const Six& a, const Six& b)
{
    return a.ComPort == b.ComPort && a.BaudRate == b.BaudRate && a.ParityCode == b.ParityCode &&
           a.StopBits == b.StopBits && a.HandshakeCode == b.HandshakeCode &&
           a.DelimiterCode == b.DelimiterCode;
}

void PrintTo(const Six& s, std::ostream* os)
{
    *os << s.ComPort << "," << s.BaudRate << "," << s.ParityCode << "," << s.StopBits << ","
        << s.HandshakeCode << "," << s.DelimiterCode;
}

constexpr Six Defaults{1, 9600, 0, 1, 0, 1};

struct FileCase {
    const char* Name;
    QByteArray Bytes;
    Six Expected;
};

void PrintTo(const FileCase& c, std::ostream* os)
{
    *os << c.Name;
}

} // namespace

// --- Reading ----------------------------------------------------------------------------

class ReadingFwdRs : public ::testing::TestWithParam<FileCase>
{
};

TEST_P(ReadingFwdRs, GivesTheseSettings)
{
    PortSettings port;
    port.ComPort = 9; // whatever was held before is replaced, defaults first
    ParsePortSettings(port, GetParam().Bytes);
    EXPECT_EQ(Values(port), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadingFwdRs,
    ::testing::Values(
        FileCase{"six lines", "3\r\n19200\r\n2\r\n2\r\n1\r\n0\r\n", {3, 19200, 2, 2, 1, 0}},
        FileCase{"commas", "4,4800,1,1,0,1\r\n", {4, 4800, 1, 1, 0, 1}},
        FileCase{"commas and lines mixed", "5, 9600\n0,1\n1\n1", {5, 9600, 0, 1, 1, 1}},
        FileCase{"leading blanks",
                 "  6\r\n\t 38400\r\n 0\r\n 1\r\n 0\r\n 1\r\n",
                 {6, 38400, 0, 1, 0, 1}},
        FileCase{"bare line feeds, no last line end", "2\n9600\n0\n1\n0\n1", {2, 9600, 0, 1, 0, 1}},
        FileCase{"blank lines skipped",
                 "\r\n7\r\n\r\n9600\r\n0\r\n1\r\n0\r\n1\r\n",
                 {7, 9600, 0, 1, 0, 1}},
        FileCase{
            "short file keeps defaults for the rest", "12\r\n19200\r\n", {12, 19200, 0, 1, 0, 1}},
        FileCase{"empty file", "", Defaults},
        FileCase{"garbage", "hello world\r\n\x01\x02\xff", Defaults},
        FileCase{"one bad value among good ones",
                 "3\r\nfast\r\n1\r\n2\r\n0\r\n0\r\n",
                 {3, 9600, 1, 2, 0, 0}},
        FileCase{"port 0 and a negative rate are no settings", "0\r\n-9600\r\n0\r\n1\r\n0\r\n1\r\n",
                 Defaults},
        FileCase{"three stop bits are none", "1\r\n9600\r\n0\r\n3\r\n0\r\n1\r\n", Defaults},
        FileCase{"numbers too large for their field",
                 "40000\r\n99999999999\r\n70000\r\n1\r\n0\r\n1\r\n", Defaults},
        FileCase{"a seventh value is ignored", "2,9600,0,1,0,1,99\r\n", {2, 9600, 0, 1, 0, 1}},
        FileCase{"negative codes are kept",
                 "1\r\n9600\r\n-1\r\n1\r\n-1\r\n-1\r\n",
                 {1, 9600, -1, 1, -1, -1}}));

TEST(ReadingFwdRs, DelimiterTextFollowsTheDelimiterCode)
{
    PortSettings port;
    ParsePortSettings(port, "1\r\n9600\r\n0\r\n1\r\n0\r\n0\r\n");
    EXPECT_EQ(port.DelimiterText, QStringLiteral("\r"));
    ParsePortSettings(port, "1\r\n9600\r\n0\r\n1\r\n0\r\n5\r\n"); // any code but 0
    EXPECT_EQ(port.DelimiterText, QStringLiteral("\r\n"));
}

TEST(ReadingFwdRs, MissingFileGivesDefaults)
{
    TempHome home;
    PortSettings port;
    port.ComPort = 5;
    port.BaudRate = 19200;
    EXPECT_EQ(ReadPortSettings(port, home.Path() + "/"), 0);
    EXPECT_EQ(Values(port), Defaults);
    EXPECT_EQ(port.DelimiterText, QStringLiteral("\r\n"));
}

TEST(ReadingFwdRs, FileNameMatchesWithoutRegardToCase)
{
    TempHome home;
    home.WriteFile("app/FWD.RS", "8\r\n19200\r\n0\r\n1\r\n0\r\n1\r\n");
    PortSettings port;
    ReadPortSettings(port, home.Path() + "/app/");
    EXPECT_EQ(port.ComPort, 8);
    EXPECT_EQ(port.BaudRate, 19200);
}

// --- Writing ----------------------------------------------------------------------------

TEST(WritingFwdRs, DefaultsAreSixDecimalLinesWithCrLf)
{
    PortSettings port;
    SetDefaultPortSettings(port);
    EXPECT_EQ(PortSettingsFileBytes(port), QByteArray("1\r\n9600\r\n0\r\n1\r\n0\r\n1\r\n"));
}

TEST(WritingFwdRs, WhatIsWrittenReadsBackTheSame)
{
    TempHome home;
    const QString app = home.Path() + "/";
    PortSettings port;
    port.ComPort = 12; // stored though no COM12 exists
    port.BaudRate = 38400;
    port.ParityCode = -1;
    port.StopBits = 2;
    port.HandshakeCode = 1;
    port.DelimiterCode = 0;
    RecordingMessages messages;
    ASSERT_EQ(WritePortSettings(port, app, messages), 0);
    EXPECT_TRUE(messages.Shown.empty());
    QFile file(app + "fwd.rs");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("12\r\n38400\r\n-1\r\n2\r\n1\r\n0\r\n"));
    PortSettings back;
    ReadPortSettings(back, app);
    EXPECT_EQ(Values(back), Values(port));
}

TEST(WritingFwdRs, ReplacesAnExistingFileOfAnotherCase)
{
    TempHome home;
    home.WriteFile("Fwd.Rs", "1\r\n9600\r\n0\r\n1\r\n0\r\n1\r\n");
    PortSettings port;
    port.ComPort = 4;
    RecordingMessages messages;
    ASSERT_EQ(WritePortSettings(port, home.Path() + "/", messages), 0);
    EXPECT_FALSE(QFile::exists(home.Path() + "/fwd.rs"));
    PortSettings back;
    ReadPortSettings(back, home.Path() + "/");
    EXPECT_EQ(back.ComPort, 4);
}

TEST(WritingFwdRs, AFolderThatCannotBeWrittenIsReportedAndKeepsTheOldFile)
{
    TempHome home;
    home.WriteFile("ro/fwd.rs", "3\r\n9600\r\n0\r\n1\r\n0\r\n1\r\n");
    const QString folder = home.Path() + "/ro/";
    // A file where the folder should be fails for root as well as for anyone else.
    PortSettings port;
    port.ComPort = 6;
    RecordingMessages messages;
    EXPECT_EQ(WritePortSettings(port, folder + "fwd.rs/", messages), -1);
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_FALSE(messages.Shown[0].Text.Ja.isEmpty());
    EXPECT_TRUE(messages.Shown[0].Text.En.contains("could not be saved"));
    EXPECT_NE(messages.Shown[0].Text.Ja, messages.Shown[0].Text.En);
    PortSettings back;
    ReadPortSettings(back, folder);
    EXPECT_EQ(back.ComPort, 3);
}

// --- The port choice ---------------------------------------------------------------------

TEST(PortChoice, NumbersAreTakenAnythingElseGivesPortOne)
{
    const std::pair<const char*, int> cases[] = {
        {"12", 12},  {" 3 ", 3}, {"4.0", 4}, {"", 1},      {"abc", 1},
        {"COM3", 1}, {"0", 1},   {"-2", 1},  {"99999", 1}, {"32767", 32767},
    };
    for (const auto& [text, expected] : cases) {
        PortSettings port;
        port.ComPort = 9;
        ApplyPortChoice(port, QString::fromLatin1(text));
        EXPECT_EQ(port.ComPort, expected) << "choice \"" << text << "\"";
    }
}

// --- Window texts ----------------------------------------------------------------------------

TEST(PortTexts, BaudRateShowsThreeRatesOnly)
{
    EXPECT_EQ(BaudRateText(19200), QStringLiteral("19200"));
    EXPECT_EQ(BaudRateText(9600), QStringLiteral(" 9600"));
    for (int32_t other : {38400, 4800, 2400, 115200, 0})
        EXPECT_EQ(BaudRateText(other), QStringLiteral(" 4800")) << other;
}

TEST(PortTexts, ParityNamesTwoCodesAndCallsTheRestNone)
{
    EXPECT_EQ(ParityText(2, 0), QString::fromUtf8("偶数"));
    EXPECT_EQ(ParityText(2, 1), QStringLiteral("EVEN"));
    EXPECT_EQ(ParityText(1, 0), QString::fromUtf8("奇数"));
    EXPECT_EQ(ParityText(1, 1), QStringLiteral("ODD"));
    for (int16_t code : {0, 3, -1}) {
        EXPECT_EQ(ParityText(code, 0), QString::fromUtf8("無し"));
        EXPECT_EQ(ParityText(code, 1), QStringLiteral("NONE"));
    }
}

TEST(PortTexts, SwitchesAndDelimiter)
{
    EXPECT_EQ(HandshakeText(1), QStringLiteral("ON"));
    EXPECT_EQ(HandshakeText(2), QStringLiteral("OFF"));
    EXPECT_EQ(HandshakeText(0), QStringLiteral("OFF"));
    EXPECT_EQ(DelimiterDisplayText(1), QStringLiteral("CR+LF"));
    EXPECT_EQ(DelimiterDisplayText(2), QStringLiteral("CR")); // display only: not the file's rule
    EXPECT_EQ(StopBitsText(2), QStringLiteral("2"));
}
