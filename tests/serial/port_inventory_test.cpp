// COM numbers: the list of port names and its rules, and the devices a number names on
// this system (ports/COMn links first, then the fixed order of device names).
#include "TempHome.h"
#include "serial/PortNames.h"

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

// A device folder of the test's own: plain files stand in for device nodes.
class FakeDevices
{
public:
    FakeDevices() { QDir().mkpath(m_dir.path() + "/sys"); }
    DeviceRoots Roots() const { return {m_dir.path() + "/", m_dir.path() + "/sys/"}; }
    void Add(const QString& name) const
    {
        QFile f(m_dir.path() + "/" + name);
        f.open(QIODevice::WriteOnly);
    }
    void SetUartType(const QString& name, const char* type) const
    {
        QDir().mkpath(m_dir.path() + "/sys/" + name);
        QFile f(m_dir.path() + "/sys/" + name + "/type");
        f.open(QIODevice::WriteOnly);
        f.write(type);
    }
    QString Path(const QString& name) const { return m_dir.path() + "/" + name; }

private:
    QTemporaryDir m_dir;
};

void Link(const QString& userFolder, const QString& name, const QString& target)
{
    QDir().mkpath(userFolder + "ports");
    QFile::link(target, userFolder + "ports/" + name);
}

} // namespace

// --- The rule on a list of names ----------------------------------------------------------

TEST(PortNameList, NumbersComeOutAscending)
{
    PortInventory ports;
    EXPECT_EQ(EnumerateSerialPorts(ports, QStringList{"COM3", "COM1", "COM4"}), 3);
    EXPECT_EQ(Listed(ports), (std::vector<int>{1, 3, 4}));
}

TEST(PortNameList, ANameWithoutNumberIsSkippedWithoutAGap)
{
    PortInventory ports;
    EXPECT_EQ(
        EnumerateSerialPorts(ports, QStringList{"COM5", "CNCA0", "COM2", "COMX", "COM", "COM1a"}),
        2);
    EXPECT_EQ(Listed(ports), (std::vector<int>{2, 5}));
    EXPECT_EQ(ports.PortList[2], 0); // entries beyond the count stay 0
}

TEST(PortNameList, OnlyTheFirst21AreExamined)
{
    QStringList names;
    for (int i = 30; i > 0; --i)
        names.append(QStringLiteral("COM%1").arg(i)); // COM30 down to COM1
    PortInventory ports;
    EXPECT_EQ(EnumerateSerialPorts(ports, names), 21);
    EXPECT_EQ(ports.PortList.front(), 10); // COM30 .. COM10 were examined
    EXPECT_EQ(ports.PortList.back(), 30);
}

TEST(PortNameList, SkippedNamesStillCountAsExamined)
{
    QStringList names;
    for (int i = 0; i < 20; ++i)
        names.append(QStringLiteral("CNCA%1").arg(i));
    names << "COM7"
          << "COM8";
    PortInventory ports;
    EXPECT_EQ(EnumerateSerialPorts(ports, names), 1);
    EXPECT_EQ(Listed(ports), (std::vector<int>{7}));
}

TEST(PortNameList, RefillingForgetsTheOldList)
{
    PortInventory ports;
    EnumerateSerialPorts(ports, QStringList{"COM1", "COM2", "COM3"});
    EXPECT_EQ(EnumerateSerialPorts(ports, QStringList{"COM9"}), 1);
    EXPECT_EQ(Listed(ports), (std::vector<int>{9}));
    EXPECT_EQ(ports.PortList[1], 0);
}

// --- Device names and numbers --------------------------------------------------------------

TEST(ComNumbers, FixedOrderOfDeviceNames)
{
    const std::pair<const char*, int> cases[] = {
        {"ttyS0", 1},    {"ttyS31", 32}, {"ttyUSB0", 33}, {"ttyUSB3", 36}, {"ttyACM0", 65},
        {"ttyACM2", 67}, {"ttyS32", 0},  {"ttyUSB32", 0}, {"tty0", 0},     {"ttyS", 0},
        {"ttyS1x", 0},   {"ttyAMA0", 0}, {"ttyS-1", 0},   {"pts/3", 0},
    };
    for (const auto& [name, com] : cases)
        EXPECT_EQ(ComNumberOfDevice(name), com) << name;
}

TEST(ComNumbers, EachNumberNamesItsFixedDevice)
{
    TempHome home;
    FakeDevices dev;
    dev.Add("ttyUSB1");
    const ComDevice usb = ComDevicePath(34, home.UserFolder(), dev.Roots());
    EXPECT_EQ(usb.Path, dev.Path("ttyUSB1"));
    EXPECT_TRUE(usb.Present);
    EXPECT_TRUE(usb.Link.isEmpty());

    const ComDevice absent = ComDevicePath(66, home.UserFolder(), dev.Roots());
    EXPECT_EQ(absent.Path, dev.Path("ttyACM1"));
    EXPECT_FALSE(absent.Present);

    EXPECT_TRUE(ComDevicePath(0, home.UserFolder(), dev.Roots()).Path.isEmpty());
    EXPECT_TRUE(ComDevicePath(-3, home.UserFolder(), dev.Roots()).Path.isEmpty());
}

TEST(ComNumbers, APortsLinkOverridesTheFixedOrder)
{
    TempHome home;
    FakeDevices dev;
    dev.Add("ttyS0");
    dev.Add("pts7");
    Link(home.UserFolder(), "COM1", dev.Path("pts7"));
    const ComDevice d = ComDevicePath(1, home.UserFolder(), dev.Roots());
    EXPECT_EQ(d.Path, dev.Path("pts7"));
    EXPECT_EQ(d.Link, home.UserFolder() + "ports/COM1");
    EXPECT_TRUE(d.Present);
    EXPECT_EQ(DescribeComDevice(1, d),
              QStringLiteral("COM1 (%1 -> %2)").arg(d.Link, dev.Path("pts7")));
}

TEST(ComNumbers, ADanglingLinkNamesAnAbsentDevice)
{
    TempHome home;
    FakeDevices dev;
    dev.Add("ttyS1");
    Link(home.UserFolder(), "COM2", dev.Path("gone"));
    const ComDevice d = ComDevicePath(2, home.UserFolder(), dev.Roots());
    EXPECT_EQ(d.Path, dev.Path("gone"));
    EXPECT_FALSE(d.Present);
}

// --- The inventory of this system ---------------------------------------------------------

TEST(PortsPresent, DevicesAndLinksTogetherAscending)
{
    TempHome home;
    FakeDevices dev;
    for (const char* name : {"ttyUSB0", "ttyS2", "ttyACM1", "ttyS0", "tty5", "ttyprintk"})
        dev.Add(name);
    dev.Add("pts4");
    Link(home.UserFolder(), "COM5", dev.Path("pts4"));
    EXPECT_EQ(SerialPortNames(home.UserFolder(), dev.Roots()),
              (QStringList{"COM1", "COM3", "COM5", "COM33", "COM66"}));
    PortInventory ports;
    EXPECT_EQ(EnumerateSerialPorts(ports, home.UserFolder(), dev.Roots()), 5);
    EXPECT_EQ(Listed(ports), (std::vector<int>{1, 3, 5, 33, 66}));
}

TEST(PortsPresent, UartsWithoutHardwareAreLeftOut)
{
    TempHome home;
    FakeDevices dev;
    for (const char* name : {"ttyS0", "ttyS1", "ttyS2"})
        dev.Add(name);
    dev.SetUartType("ttyS0", "4\n");
    dev.SetUartType("ttyS1", "0\n"); // the kernel's placeholder for a UART that is not there
    EXPECT_EQ(SerialPortNames(home.UserFolder(), dev.Roots()), (QStringList{"COM1", "COM3"}));
    EXPECT_FALSE(ComDevicePath(2, home.UserFolder(), dev.Roots()).Present);
}

TEST(PortsPresent, ADanglingLinkHidesTheDeviceItOverrides)
{
    TempHome home;
    FakeDevices dev;
    dev.Add("ttyS0");
    dev.Add("ttyS1");
    Link(home.UserFolder(), "COM1", dev.Path("unplugged"));
    Link(home.UserFolder(), "com9", dev.Path("ttyS1")); // any letter case
    Link(home.UserFolder(), "notes", dev.Path("ttyS1"));
    EXPECT_EQ(SerialPortNames(home.UserFolder(), dev.Roots()), (QStringList{"COM2", "COM9"}));
}

TEST(PortsPresent, NoDevicesNoPorts)
{
    TempHome home;
    FakeDevices dev;
    PortInventory ports;
    ports.PortCount = 3;
    ports.PortList[0] = 4;
    EXPECT_EQ(EnumerateSerialPorts(ports, home.UserFolder(), dev.Roots()), 0);
    EXPECT_EQ(ports.PortList[0], 0);
}
