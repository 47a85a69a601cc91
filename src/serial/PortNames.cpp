#include "PortNames.h"

#include "PortSettings.h"
#include "shell/Bilingual.h"
#include "shell/FileLookup.h"
#include "shell/Formatting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <algorithm>

namespace
{

struct DeviceFamily {
    const char* Prefix;
    int FirstCom;
    int Count; // numbers beyond would run into the next family
};

constexpr DeviceFamily Families[] = {
    {"ttyS", 1, 32},
    {"ttyUSB", 33, 32},
    {"ttyACM", 65, 32767 - 65},
};

constexpr int MaxPortsExamined = 21;

QString PortsFolder(const QString& userFolder)
{
    return FindIgnoringCase(userFolder, QStringLiteral("ports")) + QLatin1Char('/');
}

// A ttyS node exists for every UART the kernel could drive; sysfs reports type 0 for
// those without hardware behind them.
bool SerialUartPresent(const QString& name, const DeviceRoots& roots)
{
    QFile type(roots.SysTty + name + QStringLiteral("/type"));
    if (!type.open(QIODevice::ReadOnly))
        return true;
    return type.readAll().trimmed() != "0";
}

bool FixedDevicePresent(const QString& name, const DeviceRoots& roots)
{
    if (!QFileInfo::exists(roots.Dev + name))
        return false;
    return !name.startsWith(QLatin1String("ttyS")) || SerialUartPresent(name, roots);
}

QString FixedDeviceName(int comPort)
{
    for (const DeviceFamily& f : Families) {
        if (comPort >= f.FirstCom && comPort < f.FirstCom + f.Count)
            return QString::fromLatin1(f.Prefix) + QString::number(comPort - f.FirstCom);
    }
    return {};
}

bool IsLink(const QFileInfo& info)
{
    return info.isSymLink() || info.exists();
}

// "COM" followed by a number, in any letter case: the number, otherwise 0.
int NumberOfComName(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^COM([0-9]{1,5})$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = pattern.match(name);
    if (!m.hasMatch())
        return 0;
    const int n = m.captured(1).toInt();
    return n >= 1 && n <= 32767 ? n : 0;
}

} // namespace

ComDevice ComDevicePath(int comPort, const QString& userFolder, const DeviceRoots& roots)
{
    ComDevice device;
    if (comPort < 1)
        return device;
    const QString link =
        FindIgnoringCase(PortsFolder(userFolder), QStringLiteral("COM%1").arg(comPort));
    const QFileInfo linkInfo(link);
    if (IsLink(linkInfo)) {
        device.Link = link;
        const QString target = linkInfo.canonicalFilePath();
        device.Present = !target.isEmpty();
        // Open the device itself, so that its lock is the same whichever name reached it.
        device.Path = device.Present ? target : linkInfo.symLinkTarget();
        if (device.Path.isEmpty())
            device.Path = link;
        return device;
    }
    const QString name = FixedDeviceName(comPort);
    if (name.isEmpty())
        return device;
    device.Path = roots.Dev + name;
    device.Present = FixedDevicePresent(name, roots);
    return device;
}

int ComNumberOfDevice(const QString& deviceName)
{
    for (const DeviceFamily& f : Families) {
        const QLatin1String prefix(f.Prefix);
        if (!deviceName.startsWith(prefix))
            continue;
        const QString rest = deviceName.mid(prefix.size());
        bool ok = false;
        const int k = rest.toInt(&ok);
        const bool digitsOnly = !rest.isEmpty() && std::all_of(rest.begin(), rest.end(),
                                                               [](QChar c) { return c.isDigit(); });
        if (ok && digitsOnly && k >= 0 && k < f.Count)
            return f.FirstCom + k;
    }
    return 0;
}

QStringList SerialPortNames(const QString& userFolder, const DeviceRoots& roots)
{
    QMap<int, bool> numbers; // ascending, each number once
    const QStringList devices = QDir(roots.Dev).entryList(
        {QStringLiteral("ttyS*"), QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*")},
        QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    for (const QString& name : devices) {
        const int n = ComNumberOfDevice(name);
        if (n > 0 && FixedDevicePresent(name, roots))
            numbers.insert(n, true);
    }
    // A link names its number whatever the fixed order says, so its presence decides.
    const QDir ports(PortsFolder(userFolder));
    for (const QFileInfo& entry :
         ports.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        const int n = NumberOfComName(entry.fileName());
        if (n == 0)
            continue;
        if (!entry.canonicalFilePath().isEmpty())
            numbers.insert(n, true);
        else
            numbers.remove(n);
    }
    QStringList names;
    for (auto it = numbers.cbegin(); it != numbers.cend(); ++it)
        names.append(QStringLiteral("COM%1").arg(it.key()));
    return names;
}

int16_t EnumerateSerialPorts(PortInventory& ports, const QStringList& portNames)
{
    ports = PortInventory{};
    const int examined = std::min<int>(int(portNames.size()), MaxPortsExamined);
    for (int i = 0; i < examined; ++i) {
        const QString rest = portNames.at(i).mid(3);
        const bool digitsOnly =
            !rest.isEmpty() && rest.size() <= 5 &&
            std::all_of(rest.begin(), rest.end(), [](QChar c) { return c.isDigit(); });
        if (!digitsOnly || rest.toInt() < 1 || rest.toInt() > 32767)
            continue; // a virtual port named CNCA0, say
        ports.PortList[ports.PortCount++] = static_cast<int16_t>(rest.toInt());
    }
    std::sort(ports.PortList.begin(), ports.PortList.begin() + ports.PortCount);
    return ports.PortCount;
}

int16_t EnumerateSerialPorts(PortInventory& ports, const QString& userFolder,
                             const DeviceRoots& roots)
{
    return EnumerateSerialPorts(ports, SerialPortNames(userFolder, roots));
}

QString DescribeComDevice(int comPort, const ComDevice& device)
{
    const QString com = QStringLiteral("COM%1").arg(comPort);
    if (device.Link.isEmpty())
        return QStringLiteral("%1 (%2)").arg(com, device.Path);
    return QStringLiteral("%1 (%2 -> %3)").arg(com, device.Link, device.Path);
}

QString ComChoiceText(const QString& choiceText, const QString& userFolder, UiLanguage language,
                      const DeviceRoots& roots)
{
    double number = 0;
    if (!ParseNumber(choiceText, &number) || number != RoundHalfEven(number) || number < 1 ||
        number > 32767)
        // The number named is the one "Main Menu" will really store (2.5 stores 2).
        return Tr(language, "番号ではありません\n（ポート %1 になります）",
                  "not a port number\n(port %1 will be stored)")
            .arg(PortChoiceNumber(choiceText));
    const ComDevice device = ComDevicePath(int(number), userFolder, roots);
    if (device.Path.isEmpty())
        return Tr(language, "対応するデバイスなし", "no device for this number");
    const QString name =
        device.Link.isEmpty()
            ? device.Path
            : QStringLiteral("ports/%1 → %2").arg(QFileInfo(device.Link).fileName(), device.Path);
    return name + QLatin1Char('\n') +
           (device.Present ? Tr(language, "接続されています", "present")
                           : Tr(language, "見つかりません", "not present"));
}
