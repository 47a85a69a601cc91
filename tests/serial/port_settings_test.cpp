// fwd.rs: defaults for whatever is missing or unusable, the exact bytes written, and the
// port choice typed in the settings window.
#include "TempHome.h"
#include "serial/PortSettings.h"
#include "shell/MessageSink.h"

#include <QFile>
#include <gtest/gtest.h>

namespace
{

constexpr const char* Defaults = "1\r\n9600\r\n0\r\n1\r\n0\r\n1\r\n";

// What a file reads as, written back in the file's own form.
std::string ReadAs(const QByteArray& bytes)
{
    PortSettings port;
    port.ComPort = 9; // whatever was held before is replaced, defaults first
    ParsePortSettings(port, bytes);
    return PortSettingsFileBytes(port).toStdString();
}

} // namespace

TEST(ReadingFwdRs, FreeFormNumbersWithDefaultsForWhatIsMissingOrBad)
{
    const std::pair<const char*, const char*> cases[] = {
        {"3\r\n19200\r\n2\r\n2\r\n1\r\n0\r\n", "3\r\n19200\r\n2\r\n2\r\n1\r\n0\r\n"},
        {"4,4800,1,1,0,1\r\n", "4\r\n4800\r\n1\r\n1\r\n0\r\n1\r\n"}, // commas
        {"5, 9600\n0,1\n1\n1", "5\r\n9600\r\n0\r\n1\r\n1\r\n1\r\n"}, // mixed, LF only
        {"  6\r\n\t 38400\r\n 0\r\n 1\r\n 0\r\n 1\r\n", "6\r\n38400\r\n0\r\n1\r\n0\r\n1\r\n"},
        {"12\r\n19200\r\n", "12\r\n19200\r\n0\r\n1\r\n0\r\n1\r\n"}, // short file
        {"hello world\r\n\x01\x02\xff", Defaults},
        {"3\r\nfast\r\n1\r\n2\r\n0\r\n0\r\n", "3\r\n9600\r\n1\r\n2\r\n0\r\n0\r\n"}, // one bad
        {"0\r\n-9600\r\n0\r\n3\r\n0\r\n1\r\n", Defaults}, // port 0, rate < 0, 3 stop bits
        {"40000\r\n99999999999\r\n70000\r\n1\r\n0\r\n1\r\n", Defaults}, // too large
        {"2,9600,0,1,0,1,99\r\n", "2\r\n9600\r\n0\r\n1\r\n0\r\n1\r\n"}, // a seventh ignored
        {"1\r\n9600\r\n-1\r\n1\r\n-1\r\n-1\r\n", "1\r\n9600\r\n-1\r\n1\r\n-1\r\n-1\r\n"},
    };
    for (const auto& [file, expected] : cases)
        EXPECT_EQ(ReadAs(file), expected) << "file: " << file;
}

TEST(FwdRs, ReadAndWrittenInTheProgramFolderWhateverTheLetterCaseOfItsName)
{
    TempHome home;
    PortSettings port;
    port.BaudRate = 19200;
    EXPECT_EQ(ReadPortSettings(port, home.Path() + "/"), 0);
    EXPECT_EQ(PortSettingsFileBytes(port), QByteArray(Defaults)); // none: the defaults
    home.WriteFile("Fwd.Rs", "8\r\n38400\r\n0\r\n1\r\n0\r\n1\r\n");
    ReadPortSettings(port, home.Path() + "/");
    EXPECT_EQ(port.ComPort, 8);
    EXPECT_EQ(port.BaudRate, 38400); // used as it is, though shown as " 4800"
    port.ComPort = 12;               // stored though no COM12 exists
    port.ParityCode = -1;
    RecordingMessages messages;
    ASSERT_EQ(WritePortSettings(port, home.Path() + "/", messages), 0);
    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_FALSE(QFile::exists(home.Path() + "/fwd.rs"));
    QFile file(home.Path() + "/Fwd.Rs");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("12\r\n38400\r\n-1\r\n1\r\n0\r\n1\r\n"));
}

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
