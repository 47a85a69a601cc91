#pragma once

#include "shell/Bilingual.h"
#include "shell/MessageSink.h"

#include <QString>
#include <cstdint>
#include <optional>

class GridModel;
class SerialLink;
struct Globals;
struct LoggerSettings;

// What the connection check and the monitor need from the screen they run on.
class MonitorScreen
{
public:
    virtual ~MonitorScreen() = default;
    virtual void StopTimer() = 0;
    virtual void StartTimer(int intervalMs) = 0;
    // The status line says that the logger answered and its settings are being read,
    // painted at once: the settings read that follows blocks the loop.
    virtual void ShowConnected() = 0;
    // Headings, commands, the diameter line and the monitor grid for the channels found.
    virtual void CompleteScreen() = 0;
    // Closes the port and the screen; the main menu comes back.
    virtual void LeaveScreen() = 0;
};

// The messages of the check and the monitor.
UiMessage SensorUnitMissingMessage();
UiMessage LoggerMissingMessage();
UiMessage CommunicationFailureMessage();

// One reading of the monitor: the raw reading scaled by the channel's coefficient (CH1
// into N, the others in m/s2), "****" for a field that held no number.
QString MonitorValueText(int channel, std::optional<double> raw, double coefficient);

// A reply to "MDT" shorter than this (line end included) is a failed exchange.
inline constexpr int32_t MinimumReadingStatus = 16;
inline constexpr int CheckIntervalMs = 100;
inline constexpr int MonitorIntervalMs = 1000;
inline constexpr int32_t CheckReplyTimeoutMs = 1000;

// The connection check and live monitor, driven by the screen's timer: the first tick
// finds the logger and its sensor unit and reads its settings, every later tick shows the
// current readings. In debug mode it never touches the line.
class LiveMonitor
{
public:
    LiveMonitor(SerialLink* link, MessageSink& messages, const Globals& globals,
                LoggerSettings& settings, GridModel& monitorGrid, MonitorScreen& screen);

    // One tick of the timer: the check while monitorMode is 0 (it becomes 1 when the
    // monitor starts), a poll while it is 1.
    void Tick(int16_t& monitorMode);

    // Returns true when the monitor was started (false after a failure, and in debug mode,
    // where the screen stays idle).
    bool ConnectionCheck();
    void MonitorPoll();

private:
    void Fail(const UiMessage& message);

    SerialLink* m_link;
    MessageSink& m_messages;
    const Globals& m_globals;
    LoggerSettings& m_settings;
    GridModel& m_grid;
    MonitorScreen& m_screen;
};
