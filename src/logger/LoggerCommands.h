#pragma once

#include "LoggerSettings.h"

class SerialLink;

// "RES", then "SET1" to "SET6" for every active channel, statuses ignored.
void SelectActiveChannels(SerialLink& link, const LoggerSettings& settings);
