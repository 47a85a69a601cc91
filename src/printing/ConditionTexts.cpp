#include "ConditionTexts.h"

#include "record/LoggerSettings.h"
#include "shell/Bilingual.h"

bool TriggerSourceExists(const LoggerSettings& settings)
{
    for (int c = LoggerSettings::FirstChannel; c <= LoggerSettings::LastChannelNumber; ++c) {
        if (settings.Channel[c].TriggerLevel != NoTriggerLevel)
            return c <= settings.MaxChannel;
    }
    return false;
}

int TriggerChannelIndex(const LoggerSettings& settings)
{
    const int c = settings.TriggerChannel;
    return (c >= LoggerSettings::FirstChannel && c <= LoggerSettings::LastChannelNumber) ? c : 0;
}

int ShownTriggerChannel(const LoggerSettings& settings)
{
    return TriggerSourceExists(settings) ? TriggerChannelIndex(settings) : 0;
}

QString CalcTypeText(int16_t calcType)
{
    return calcType == 1 ? QStringLiteral("Burmister") : QStringLiteral("Boussinesq");
}

QString SensorText(int32_t sensorType, UiLanguage language)
{
    if (sensorType == 1)
        return Tr(language, "荷重計", "Load");
    if (sensorType == 2)
        return Tr(language, "加速度計", "Acc.");
    return QString();
}

QString FixedField(const QString& text, int length)
{
    return text.left(length).leftJustified(length, QLatin1Char(' '));
}
