#include "LoggerCommands.h"

#include "serial/SerialLink.h"

#include <algorithm>

void SelectActiveChannels(SerialLink& link, const LoggerSettings& settings)
{
    link.RSCom(QStringLiteral("RES"));
    for (int ch = LoggerSettings::FirstChannel; ch <= LoggerSettings::LastChannelNumber; ++ch) {
        if (settings.Channel[ch].Active)
            link.RSCom(QStringLiteral("SET%1").arg(ch));
    }
}

void SendMeasNo(SerialLink& link, const LoggerSettings& settings)
{
    const int last = std::clamp<int>(settings.MaxChannel, 0, LoggerSettings::LastChannelNumber);
    for (int ch = LoggerSettings::FirstChannel; ch <= last; ++ch) {
        link.RSCom(QStringLiteral("RES"));
        link.RSCom(QStringLiteral("SET%1").arg(ch));
        link.RSCom(QStringLiteral("MNO%1").arg(settings.MeasNo));
    }
    SelectActiveChannels(link, settings);
}
