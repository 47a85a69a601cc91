#pragma once

#include "shell/Bilingual.h"

#include <QString>
#include <array>
#include <cstdint>

class MessageSink;

// The line settings kept in fwd.rs.
struct PortSettings {
    int16_t ComPort = 1;
    int32_t BaudRate = 9600;
    int16_t ParityCode = 0; // 0 none, 1 odd, otherwise even
    int16_t StopBits = 1;
    int16_t HandshakeCode = 0; // shown only
    int16_t DelimiterCode = 1; // shown only
    QString DelimiterText = QStringLiteral("\r\n");
};

// The COM port numbers present, ascending.
struct PortInventory {
    std::array<int16_t, 21> PortList{};
    int16_t PortCount = 0;
};

inline constexpr const char* PortSettingsFileName = "fwd.rs";

void SetDefaultPortSettings(PortSettings& port);

// Defaults first, then the six values of fwd.rs in `appFolder` (the name matched without
// regard to case). A missing file, missing values or values that are no usable number
// leave the defaults in place. Returns 0.
int16_t ReadPortSettings(PortSettings& port, const QString& appFolder);
// The same on the file's bytes: values separated by line ends or commas, leading blanks
// skipped.
void ParsePortSettings(PortSettings& port, const QByteArray& bytes);

// The file's bytes: six decimal lines, each ended by CR LF.
QByteArray PortSettingsFileBytes(const PortSettings& port);
// Replaces fwd.rs in `appFolder` with the current values. A file that cannot be written
// is reported through `messages` in both languages; returns 0 when written, -1 otherwise.
int16_t WritePortSettings(const PortSettings& port, const QString& appFolder,
                          MessageSink& messages);

// The port number typed or chosen in the settings window: a numeric text gives its value,
// anything else (empty, letters, a number no COM port can have) port 1.
void ApplyPortChoice(PortSettings& port, const QString& choiceText);
// The number ApplyPortChoice stores for `choiceText` (a fraction is rounded half to even).
int16_t PortChoiceNumber(const QString& choiceText);

// Texts of the settings window.
QString BaudRateText(int32_t baudRate); // "19200", " 9600", otherwise " 4800"
QString ParityText(int16_t parityCode, UiLanguage language);
QString StopBitsText(int16_t stopBits);
QString HandshakeText(int16_t handshakeCode);
QString DelimiterDisplayText(int16_t delimiterCode);
