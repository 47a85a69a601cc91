#include "PortSettings.h"

#include "shell/Bilingual.h"
#include "shell/FileLookup.h"
#include "shell/Formatting.h"
#include "shell/MessageSink.h"
#include "shell/OutputFile.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <limits>

namespace
{

// fwd.rs is six short lines; anything far beyond that is not a settings file, and reading
// it whole would only cost memory.
constexpr qint64 MaxSettingsFileBytes = 4096;
constexpr int HighestComPort = 32767;

// One value of the file as an integer within [low, high]; false for anything else, so
// that the caller keeps its default.
bool ReadValue(const QByteArray& token, double low, double high, double* value)
{
    double v = 0;
    if (!ParseNumber(QString::fromLatin1(token), &v))
        return false;
    v = RoundHalfEven(v);
    if (v < low || v > high)
        return false;
    *value = v;
    return true;
}

QList<QByteArray> Tokens(const QByteArray& bytes)
{
    QList<QByteArray> tokens;
    QByteArray normalised = bytes;
    normalised.replace('\r', '\n');
    for (const QByteArray& line : normalised.split('\n')) {
        if (line.trimmed().isEmpty())
            continue; // blank lines separate nothing
        for (const QByteArray& piece : line.split(','))
            tokens.append(piece.trimmed());
    }
    return tokens;
}

} // namespace

void SetDefaultPortSettings(PortSettings& port)
{
    port = PortSettings{};
}

void ParsePortSettings(PortSettings& port, const QByteArray& bytes)
{
    SetDefaultPortSettings(port);
    const QList<QByteArray> tokens = Tokens(bytes);
    constexpr double int16Low = std::numeric_limits<int16_t>::min();
    constexpr double int16High = std::numeric_limits<int16_t>::max();
    auto take = [&](int index, double low, double high, auto& field) {
        double v = 0;
        if (index < tokens.size() && ReadValue(tokens.at(index), low, high, &v))
            field = static_cast<std::remove_reference_t<decltype(field)>>(v);
    };
    take(0, 1, HighestComPort, port.ComPort);
    take(1, 1, std::numeric_limits<int32_t>::max(), port.BaudRate);
    take(2, int16Low, int16High, port.ParityCode);
    take(3, 1, 2, port.StopBits);
    take(4, int16Low, int16High, port.HandshakeCode);
    take(5, int16Low, int16High, port.DelimiterCode);
    port.DelimiterText = port.DelimiterCode != 0 ? QStringLiteral("\r\n") : QStringLiteral("\r");
}

int16_t ReadPortSettings(PortSettings& port, const QString& appFolder)
{
    SetDefaultPortSettings(port);
    const QString path = FindIgnoringCase(appFolder, QString::fromLatin1(PortSettingsFileName));
    // Only a plain file holds settings: opening a named pipe of that name would wait for a
    // writer for ever, and a device could be anything.
    if (!QFileInfo(path).isFile())
        return 0;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    ParsePortSettings(port, file.read(MaxSettingsFileBytes));
    return 0;
}

QByteArray PortSettingsFileBytes(const PortSettings& port)
{
    QByteArray bytes;
    for (const long value :
         {long(port.ComPort), long(port.BaudRate), long(port.ParityCode), long(port.StopBits),
          long(port.HandshakeCode), long(port.DelimiterCode)}) {
        bytes += QByteArray::number(qlonglong(value));
        bytes += "\r\n";
    }
    return bytes;
}

int16_t WritePortSettings(const PortSettings& port, const QString& appFolder, MessageSink& messages)
{
    // An existing FWD.RS is replaced rather than joined by a second file of another case.
    const QString path = FindIgnoringCase(appFolder, QString::fromLatin1(PortSettingsFileName));
    Bilingual reason;
    if (WriteOutputFile(path, PortSettingsFileBytes(port), {}, &reason))
        return 0;
    messages.Show(
        UiMessage{{QString::fromUtf8("設定保存エラー"), QStringLiteral("Settings not saved")},
                  {QString::fromUtf8("ポート設定を保存できませんでした。\n%1\n%2\n"
                                     "選んだポート番号はプログラムを終了するまで有効です。")
                       .arg(path, reason.Ja),
                   QStringLiteral("The port settings could not be saved.\n%1\n%2\n"
                                  "The chosen port number holds until the program ends.")
                       .arg(path, reason.En)},
                  MessageButtons::Ok,
                  MessageIcon::Exclamation});
    return -1;
}

int16_t PortChoiceNumber(const QString& choiceText)
{
    double v = 0;
    if (ParseNumber(choiceText, &v) && RoundHalfEven(v) >= 1 && RoundHalfEven(v) <= HighestComPort)
        return static_cast<int16_t>(RoundHalfEven(v));
    return 1;
}

void ApplyPortChoice(PortSettings& port, const QString& choiceText)
{
    port.ComPort = PortChoiceNumber(choiceText);
}

QString BaudRateText(int32_t baudRate)
{
    if (baudRate == 19200)
        return QStringLiteral("19200");
    if (baudRate == 9600)
        return QStringLiteral(" 9600");
    return QStringLiteral(" 4800");
}

QString ParityText(int16_t parityCode, UiLanguage language)
{
    if (parityCode == 2)
        return Tr(language, "偶数", "EVEN");
    if (parityCode == 1)
        return Tr(language, "奇数", "ODD");
    return Tr(language, "無し", "NONE");
}

QString StopBitsText(int16_t stopBits)
{
    return QString::number(stopBits);
}

QString HandshakeText(int16_t handshakeCode)
{
    return handshakeCode == 1 ? QStringLiteral("ON") : QStringLiteral("OFF");
}

QString DelimiterDisplayText(int16_t delimiterCode)
{
    return delimiterCode == 1 ? QStringLiteral("CR+LF") : QStringLiteral("CR");
}
