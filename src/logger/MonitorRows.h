#pragma once

#include "shell/Bilingual.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

struct LoggerSettings;

// What the monitor grid holds, for the monitor that fills it and the screen that lays it out.

// One row of the monitor grid: name and unit of an active channel.
struct MonitorRow {
    int Channel = 0;
    QString Name;
    QString Unit;
};

// The rows of the monitor grid, one per active channel in channel order.
std::vector<MonitorRow> MonitorRows(const LoggerSettings& settings, UiLanguage language);

// One reading of the monitor: the raw reading scaled by the channel's coefficient (CH1
// into N, the others in m/s2), "****" for a field that held no number.
QString MonitorValueText(int channel, std::optional<double> raw, double coefficient);
