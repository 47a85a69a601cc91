#pragma once

#include "record/LoggerSettings.h"

class SerialLink;

// "RES", then "SET1" to "SET6" for every active channel, statuses ignored.
void SelectActiveChannels(SerialLink& link, const LoggerSettings& settings);

// Gives MeasNo to every channel up to MaxChannel, inactive ones too ("RES", "SETn",
// "MNOn" each), then selects the active channels again.
void SendMeasNo(SerialLink& link, const LoggerSettings& settings);
