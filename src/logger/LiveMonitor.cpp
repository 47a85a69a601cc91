#include "LiveMonitor.h"

#include "LoggerCommands.h"
#include "LoggerReplies.h"
#include "ReadLoggerSettings.h"
#include "record/LoggerSettings.h"
#include "serial/SerialLink.h"
#include "shell/Formatting.h"
#include "shell/Globals.h"
#include "shell/GridModel.h"

namespace
{

constexpr int ValueColumn = 1;
constexpr int SettleMs = 100; // the line settles after opening before the first command

UiMessage NotConnected(const char* titleJa, const char* text)
{
    return UiMessage{{QString::fromUtf8(titleJa), QString::fromUtf8(text)},
                     Both(QString::fromUtf8(text)),
                     MessageButtons::Ok,
                     MessageIcon::None};
}

} // namespace

QString MonitorValueText(int channel, std::optional<double> raw, double coefficient)
{
    if (!raw)
        return QStringLiteral("****");
    const double value = *raw * coefficient;
    if (channel == 1)
        return FormatNumber(value * 1000.0, QStringLiteral("0"));
    return FormatNumber(value, QStringLiteral("0.0"));
}

UiMessage SensorUnitMissingMessage()
{
    return NotConnected("PWS-500C 未接続!", "PWS-500C Not Connected!");
}

UiMessage LoggerMissingMessage()
{
    return NotConnected("QL-860H 未接続!", "QL-860H Not Connected!");
}

UiMessage CommunicationFailureMessage()
{
    const QString crlf = QStringLiteral("\r\n");
    return UiMessage{{QString::fromUtf8("RS-232Cエラー"), QStringLiteral("RS-232C ERROR")},
                     {QString::fromUtf8("QL-860Hとの通信でエラーが発生しました！") + crlf +
                          QString::fromUtf8("メインメニューに戻ります。") + crlf +
                          QString::fromUtf8("RS-232Cの接続等を確認してください。"),
                      QStringLiteral("Communication Error on RS-232C!") + crlf +
                          QStringLiteral("Return Mainmenu.") + crlf +
                          QStringLiteral("Check RS-232C Connection.")},
                     MessageButtons::Ok,
                     MessageIcon::None};
}

LiveMonitor::LiveMonitor(SerialLink* link, MessageSink& messages, const Globals& globals,
                         LoggerSettings& settings, GridModel& monitorGrid, MonitorScreen& screen)
    : m_link(link), m_messages(messages), m_globals(globals), m_settings(settings),
      m_grid(monitorGrid), m_screen(screen)
{
}

void LiveMonitor::Tick(int16_t& monitorMode)
{
    if (monitorMode == 0) {
        if (ConnectionCheck())
            monitorMode = 1;
    } else {
        MonitorPoll();
    }
}

void LiveMonitor::Fail(const UiMessage& message)
{
    m_messages.Show(message);
    m_screen.LeaveScreen();
}

bool LiveMonitor::ConnectionCheck()
{
    m_screen.StopTimer();
    const bool debug = m_globals.DebugMode == 1;
    int32_t status = 0;
    if (!debug) {
        if (!m_link) {
            Fail(LoggerMissingMessage());
            return false;
        }
        m_link->Connect(true);
        m_link->Wait(SettleMs);
        m_link->SetReplyTimeout(CheckReplyTimeoutMs);
        status = m_link->RSCom(QStringLiteral("RES"));
    }
    if (status == StatusErrorReply) {
        Fail(SensorUnitMissingMessage());
        return false;
    }
    if (status < 0) {
        Fail(LoggerMissingMessage());
        return false;
    }

    m_screen.ShowConnected();
    if (!debug) {
        m_link->SetReplyTimeout(CheckReplyTimeoutMs);
        if (ReadLoggerSettings(*m_link, m_messages, m_settings) != 0) {
            Fail(SensorUnitMissingMessage());
            return false;
        }
    }

    m_screen.CompleteScreen();
    if (debug)
        return false; // no monitoring without a logger: the screen stays idle

    SelectActiveChannels(*m_link, m_settings);
    m_link->RSCom(QStringLiteral("PON"));
    m_link->RSCom(QStringLiteral("TRM21"));
    m_screen.StartTimer(MonitorIntervalMs);
    return true;
}

void LiveMonitor::MonitorPoll()
{
    // Only a dead line closes the port under the monitor (leaving the screen closes it
    // after the last tick): the operator is told the logger was lost, as for a failed poll.
    if (!m_link || !m_link->PortOpened()) {
        Fail(CommunicationFailureMessage());
        return;
    }
    const int32_t status = m_link->RSCom(QStringLiteral("MDT"));
    if (status < MinimumReadingStatus) {
        Fail(CommunicationFailureMessage());
        return;
    }
    const LiveReadings readings = ReadingsReply(m_link->ReplyText(), m_settings);
    if (readings.Fields < 2)
        return; // a line without "," leaves the grid as it was
    int row = 0;
    for (int ch = LoggerSettings::FirstChannel; ch <= LoggerSettings::LastChannelNumber; ++ch) {
        if (!m_settings.Channel[ch].Active)
            continue;
        const ChannelReading& reading = readings.Channel[ch];
        if (!reading.InReply || row >= m_grid.Rows())
            break;
        m_grid.SetText(row, ValueColumn,
                       MonitorValueText(ch, reading.Raw, m_settings.Channel[ch].Coefficient));
        ++row;
    }
}
