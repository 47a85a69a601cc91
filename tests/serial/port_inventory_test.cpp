// COM numbers: the rule on a list of port names, and the devices a number names on this
// system (ports/COMn links first, then the fixed order of device names).
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

    TempHome m_home;
    QTemporaryDir m_dev;
};

} // namespace

TEST(PortNameList, AscendingNumbersFromAtMost21NamesSkippingOthers)
{
    PortInventory ports;
    QStringList names{"CNCA0", "COMX", "COM1a"};
    for (int i = 30; i > 0; --i)
        names.append(QStringLiteral("COM%1").arg(i));  // COM30 down to COM1
    EXPECT_EQ(EnumerateSerialPorts(ports, names), 18); // the first 21 names examined
    EXPECT_EQ(ports.PortList.front(), 13);
    EXPECT_EQ(ports.PortList[17], 30);
    EXPECT_EQ(ports.PortList[18], 0);
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
