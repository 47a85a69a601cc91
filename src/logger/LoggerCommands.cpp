#include "LoggerCommands.h"

#include "serial/SerialLink.h"

void SelectActiveChannels(SerialLink& link, const LoggerSettings& settings)
{
    link.RSCom(QStringLiteral("RES"));
    for (int ch = LoggerSettings::FirstChannel; ch <= LoggerSettings::LastChannelNumber; ++ch) {
        if (settings.Channel[ch].Active)
            link.RSCom(QStringLiteral("SET%1").arg(ch));
    }
}
