#pragma once

#include "record/LoggerSettings.h"

#include <cstdint>

class MessageSink;
class SerialLink;

// Reading what the logger is and how it is set up into LoggerSettings. Every value is
// taken only from an accepted reply; the rest keeps what it had.
//
// 0 when the settings were read (an error reply that cut the read short included: it
// was shown to the operator), -1 when the channels found are unusable (none, or CH1 or
// CH2 missing).
int32_t ReadLoggerSettings(SerialLink& link, MessageSink& messages, LoggerSettings& settings);

// Active, ChannelCount, LastChannel and MaxChannel from selecting each channel in turn.
void DetectChannels(SerialLink& link, LoggerSettings& settings);
// CH1, CH2 and the logger-wide settings.
void ReadMainSettings(SerialLink& link, MessageSink& messages, LoggerSettings& settings);
// One further channel, 3 to 6.
void ReadChannelSettings(SerialLink& link, MessageSink& messages, LoggerSettings& settings,
                         int channel);
// "VS": whether the firmware understands "SEA?". A failed exchange is reported.
bool CheckSeaSupport(SerialLink& link, MessageSink& messages);
