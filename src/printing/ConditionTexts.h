#pragma once

#include "shell/Bilingual.h"

#include <QString>
#include <cstdint>

struct LoggerSettings;

// Facts and texts about the test conditions that the settings list, the printouts and
// the clipboard copy share.

// The trigger level that marks a channel as no trigger source.
inline constexpr double NoTriggerLevel = 32767.0;

// Whether any channel serves as trigger source: the first of CH1 to CH6 whose trigger
// level is not NoTriggerLevel, and only when it lies within MaxChannel. Which channel's
// level is then shown is TriggerChannel's business, not the scan's.
bool TriggerSourceExists(const LoggerSettings& settings);
// TriggerChannel when it can index the channels (1 to 6), else 0, so that a damaged
// value never reads past the channels.
int TriggerChannelIndex(const LoggerSettings& settings);
// Both of the above: the channel whose level is shown, or 0 when nothing is shown.
int ShownTriggerChannel(const LoggerSettings& settings);

// "Burmister" for CalcType 1, "Boussinesq" for any other value, in both languages.
QString CalcTypeText(int16_t calcType);

// "荷重計" / "Load" for SensorType 1, "加速度計" / "Acc." for 2, empty for any other.
QString SensorText(int32_t sensorType, UiLanguage language);

// A fixed-length text field: cut to `length` characters or padded with blanks to it.
QString FixedField(const QString& text, int length);
