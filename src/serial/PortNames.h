#pragma once

#include "PortSettings.h"

#include <QString>
#include <QStringList>
#include <cstdint>

// Where COM numbers find their devices. The roots are injectable so that tests can lay
// out a device folder of their own.
struct DeviceRoots {
    QString Dev = QStringLiteral("/dev/");
    QString SysTty = QStringLiteral("/sys/class/tty/"); // tells real ttyS ports from phantoms
};

// The device a COM number names: a ports/COMn link in the user folder first, otherwise
// /dev/ttyS<k> for COM k+1, /dev/ttyUSB<k> for COM k+33, /dev/ttyACM<k> for COM k+65.
struct ComDevice {
    QString Path; // what to open; empty when the number names nothing
    QString Link; // the ports/COMn link, when that is what named it
    bool Present = false;
};

ComDevice ComDevicePath(int comPort, const QString& userFolder, const DeviceRoots& roots = {});

// The COM number of a device name of the fixed order ("ttyS0" 1, "ttyUSB2" 35, "ttyACM0"
// 65); 0 for any other name.
int ComNumberOfDevice(const QString& deviceName);

// "COMn" for every device present, links included, ascending by number.
QStringList SerialPortNames(const QString& userFolder, const DeviceRoots& roots = {});

// Fills `ports` from a list of port names in enumeration order: at most the first 21 are
// examined, each must be three letters followed by a number, the numbers kept ascending.
// Returns PortCount.
int16_t EnumerateSerialPorts(PortInventory& ports, const QStringList& portNames);
// The same on the ports present on this computer.
int16_t EnumerateSerialPorts(PortInventory& ports, const QString& userFolder,
                             const DeviceRoots& roots = {});

// What the settings window shows beside the port choice: the device the typed number
// names and whether it is there, on two lines.
QString ComChoiceText(const QString& choiceText, const QString& userFolder, UiLanguage language,
                      const DeviceRoots& roots = {});

// "COM3 (/dev/ttyS2)", or with a link "COM3 (ports/COM3 -> /dev/pts/4)", for messages.
QString DescribeComDevice(int comPort, const ComDevice& device);
