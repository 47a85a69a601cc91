// COM numbers: the rule on a list of port names, and the devices a number names on this
// system (ports/COMn links first, then the fixed order of device names).
#include "TempHome.h"
#include "serial/PortNames.h"
#include "serial/PortSettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

std::vector<int> Listed(const PortInventory& ports)
{
    return std::vector<int>(ports.PortList.begin(), ports.PortList.begin() + ports.PortCount);
}

// A device folder and user folder of the test's own: plain files stand in for devices.
class Devices : public ::testing::Test
{
protected:
    DeviceRoots Roots() const { return {m_dev.path() + "/", m_dev.path() + "/sys/"}; }
    QString Dev(const QString& name) const { return m_dev.path() + "/" + name; }
    void Add(std::initializer_list<const char*> names) const
    {
        for (const char* name : names)
            QFile(Dev(name)).open(QIODevice::WriteOnly);
    }
    void UartType(const QString& name, const char* type) const
    {
        QDir().mkpath(m_dev.path() + "/sys/" + name);
        QFile f(m_dev.path() + "/sys/" + name + "/type");
        f.open(QIODevice::WriteOnly);
        f.write(type);
    }
    void Link(const QString& name, const QString& target) const
    {
        QDir().mkpath(m_home.UserFolder() + "ports");
        QFile::link(target, m_home.UserFolder() + "ports/" + name);
    }
    QStringList Present() const { return SerialPortNames(m_home.UserFolder(), Roots()); }
    ComDevice Device(int com) const { return ComDevicePath(com, m_home.UserFolder(), Roots()); }

    TempHome m_home;
    QTemporaryDir m_dev;
};

} // namespace

TEST(PortNameList, AscendingNumbersWithoutGapsFromAtMost21Names)
{
    PortInventory ports;
    EXPECT_EQ(EnumerateSerialPorts(ports, QStringList{"COM3", "COM1", "COM4"}), 3);
    EXPECT_EQ(Listed(ports), (std::vector<int>{1, 3, 4}));

    EnumerateSerialPorts(ports, QStringList{"COM5", "CNCA0", "COM2", "COMX", "COM", "COM1a"});
    EXPECT_EQ(Listed(ports), (std::vector<int>{2, 5}));
    EXPECT_EQ(ports.PortList[2], 0); // entries beyond the count are 0 again

    QStringList names;
    for (int i = 30; i > 0; --i)
        names.append(QStringLiteral("COM%1").arg(i)); // COM30 down to COM1
    EXPECT_EQ(EnumerateSerialPorts(ports, names), 21);
    EXPECT_EQ(ports.PortList.front(), 10); // COM30 .. COM10 were examined
    EXPECT_EQ(ports.PortList.back(), 30);

    names.clear();
    for (int i = 0; i < 20; ++i)
        names.append(QStringLiteral("CNCA%1").arg(i)); // skipped, but examined
    names << "COM7"
          << "COM8";
    EnumerateSerialPorts(ports, names);
    EXPECT_EQ(Listed(ports), (std::vector<int>{7}));
}

TEST(PortNameList, FixedOrderOfDeviceNames)
{
    const std::pair<const char*, int> cases[] = {
        {"ttyS0", 1},    {"ttyS31", 32}, {"ttyUSB0", 33}, {"ttyUSB3", 36}, {"ttyACM0", 65},
        {"ttyACM2", 67}, {"ttyS32", 0},  {"ttyUSB32", 0}, {"tty0", 0},     {"ttyS", 0},
        {"ttyS1x", 0},   {"ttyAMA0", 0}, {"ttyS-1", 0},
    };
    for (const auto& [name, com] : cases)
        EXPECT_EQ(ComNumberOfDevice(name), com) << name;
}

TEST_F(Devices, ANumberNamesItsLinkOrItsFixedDevice)
{
    Add({"ttyUSB1", "ttyS0", "pts7"});
    EXPECT_EQ(Device(34).Path, Dev("ttyUSB1"));
    EXPECT_TRUE(Device(34).Present);
    EXPECT_EQ(Device(66).Path, Dev("ttyACM1"));
    EXPECT_FALSE(Device(66).Present);
    EXPECT_TRUE(Device(0).Path.isEmpty());

    Link("COM1", Dev("pts7"));
    Link("COM2", Dev("gone"));
    EXPECT_EQ(Device(1).Path, Dev("pts7"));
    EXPECT_EQ(Device(1).Link, m_home.UserFolder() + "ports/COM1");
    EXPECT_EQ(DescribeComDevice(1, Device(1)),
              QStringLiteral("COM1 (%1 -> %2)").arg(Device(1).Link, Dev("pts7")));
    EXPECT_EQ(Device(2).Path, Dev("gone"));
    EXPECT_FALSE(Device(2).Present);
}

TEST_F(Devices, PresentAreDevicesAndLiveLinksAscending)
{
    Add({"ttyUSB0", "ttyS2", "ttyACM1", "ttyS0", "ttyS3", "tty5", "ttyprintk", "pts4"});
    UartType("ttyS0", "4\n");
    UartType("ttyS3", "0\n"); // the kernel's placeholder for a UART that is not there
    Link("COM5", Dev("pts4"));
    Link("com9", Dev("ttyS2"));     // any letter case
    Link("COM1", Dev("unplugged")); // a dead link hides the device it overrides
    Link("notes", Dev("ttyS2"));
    EXPECT_EQ(Present(), (QStringList{"COM3", "COM5", "COM9", "COM33", "COM66"}));
    PortInventory ports;
    EXPECT_EQ(EnumerateSerialPorts(ports, m_home.UserFolder(), Roots()), 5);
    EXPECT_EQ(Listed(ports), (std::vector<int>{3, 5, 9, 33, 66}));
}

TEST_F(Devices, ChoiceTextTellsTheDeviceAndWhetherItIsThere)
{
    Add({"ttyS1", "pts2"});
    Link("COM4", Dev("pts2"));
    auto text = [&](const char* choice, int16_t language = 1) {
        return ComChoiceText(choice, m_home.UserFolder(), language, Roots());
    };
    EXPECT_EQ(text("2"), Dev("ttyS1") + "\npresent");
    EXPECT_EQ(text("3"), Dev("ttyS2") + "\nnot present");
    EXPECT_EQ(text("4"), "ports/COM4 → " + Dev("pts2") + "\npresent");
    // A choice that names no port says which port "Main Menu" really stores.
    for (const char* choice : {"x", "2.5", "3.5", "0", "99999"}) {
        PortSettings stored;
        ApplyPortChoice(stored, choice);
        EXPECT_EQ(text(choice),
                  QStringLiteral("not a port number\n(port %1 will be stored)").arg(stored.ComPort))
            << choice;
    }
    EXPECT_EQ(text("2.5"), QStringLiteral("not a port number\n(port 2 will be stored)"));
    EXPECT_EQ(text("2", 0), Dev("ttyS1") + QString::fromUtf8("\n接続されています"));
}
