#include "LoggerCommands.h"

#include "serial/SerialLink.h"

int16_t SplitFields(const QString& text, const QString& delimiter, QStringList& fields,
                    int capacity)
{
    if (text.isEmpty() || delimiter.isEmpty() || !text.contains(delimiter) || capacity < 1)
        return -1;
    QStringList parts = text.split(delimiter, Qt::KeepEmptyParts);
    if (parts.size() > capacity)
        parts.erase(parts.begin() + capacity, parts.end());
    fields = parts;
    return static_cast<int16_t>(fields.size() - 1);
}

void SelectActiveChannels(SerialLink& link, const LoggerSettings& settings)
{
    link.RSCom(QStringLiteral("RES"));
    for (int ch = LoggerSettings::FirstChannel; ch <= LoggerSettings::LastChannelNumber; ++ch) {
        if (settings.Channel[ch].Active)
            link.RSCom(QStringLiteral("SET%1").arg(ch));
    }
}
