#pragma once

#include <QString>
#include <array>
#include <cstdint>

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
