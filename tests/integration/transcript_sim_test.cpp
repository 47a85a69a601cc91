// The service transcript on the real line to the simulator: a connection recorded and
// played back gives the same settings display, and a transcript that cannot be written
// never stops a measurement.
#include "MeasuringDay.h"
#include "SimProcess.h"
#include "TempHome.h"
#include "logger/ReadLoggerSettings.h"
#include "record/ResetLoggerSettings.h"
#include "screens/SettingsList.h"
#include "serial/TranscriptLink.h"

#include <QFile>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace
{

// The connection as the measurement screen makes it, and the settings display it leads to.
QString SettingsDisplayAfterConnecting(SerialLink& link, MessageSink& messages)
{
    link.Connect(true);
    link.SetReplyTimeout(1000);
    link.RSCom("RES");
    LoggerSettings settings;
    ResetLoggerSettings(settings, QDateTime(QDate(2024, 5, 1), QTime(9, 0)));
    ReadLoggerSettings(link, messages, settings);
    GridModel grid;
    SetupListGrid(grid, settings, UiLanguage::English);
    FillGeneralRows(grid, settings, UiLanguage::English);
    FillChannelRows(grid, settings, UiLanguage::English);
    QString text;
    for (int r = 0; r < grid.Rows(); ++r) {
        for (int c = 0; c < grid.Cols(); ++c)
            text += grid.Text(r, c) + '\t';
        text += '\n';
    }
    link.Connect(false);
    return text;
}

QString Com1()
{
    return QStringLiteral("COM1");
}

TEST(TranscriptOnTheLine, AReplayedConnectionGivesTheSameSettingsDisplay)
{
    TempHome home;
    RecordingMessages messages;
    PortSettings port;
    SystemClock clock;
    const QString folder = home.UserFolder() + "service/";
    QString recorded;
    {
        SimProcess sim;
        ASSERT_TRUE(sim.Start({"--com", "1", "--no-pace", "--channels", "1,2,4", "--firmware",
                               "2.0E", "--range", "4=4000", "--lpf", "2=200", "--mno", "12"}))
            << sim.ErrorText().toStdString();
        TranscriptLink link(folder, clock, Com1, messages, UiLanguage::English,
                            [&](MessageSink& m) {
                                return std::make_unique<QSerialLink>(port, home.UserFolder(), m);
                            });
        recorded = SettingsDisplayAfterConnecting(link, messages);
    }
    ASSERT_TRUE(recorded.contains("4000") && recorded.contains("200")) << recorded.toStdString();

    SimProcess replay; // its own logger would answer differently: channels 1 and 2, 2.1A
    ASSERT_TRUE(replay.Start({"--com", "1", "--no-pace", "--replay", folder + "line.log"}))
        << replay.ErrorText().toStdString();
    QSerialLink line(port, home.UserFolder(), messages);
    EXPECT_EQ(SettingsDisplayAfterConnecting(line, messages), recorded);

    // Beyond the transcript the logger is silent and the simulator says why.
    line.Connect(true);
    line.SetReplyTimeout(300);
    EXPECT_EQ(line.RSCom("MDT"), -2); // no reply
    EXPECT_TRUE(WaitFor([&] {
        return replay.StandardError().contains(
            "expected nothing (the transcript has ended), received \"MDT\"");
    }));
}

struct UnwritableRow {
    const char* Name;
    const char* InTheWay; // made below the user folder
    const char* Target;   // where it points, for a symbolic link
    bool Fifo = false;    // a FIFO nobody reads, which an open for writing would wait on
};

class TranscriptCannotBeWritten : public testing::TestWithParam<UnwritableRow>
{
};

TEST_P(TranscriptCannotBeWritten, AndMeasuringGoesOn)
{
    // As root, permission bits stop no write: a file takes the folder's place, or the
    // transcript goes to a device that is always full.
    TempHome home;
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--com", "1", "--no-pace", "--drop-after", "30"}));
    MeasuringDay day;
    const QString inTheWay = day.Context.UserFolder + GetParam().InTheWay;
    QDir().mkpath(QFileInfo(inTheWay).path());
    if (GetParam().Fifo)
        ASSERT_EQ(::mkfifo(QFile::encodeName(inTheWay).constData(), 0600), 0);
    else if (*GetParam().Target)
        ASSERT_TRUE(QFile::link(GetParam().Target, inTheWay));
    else
        home.WriteFile("Documents/VX-2968/service", "in the way");
    TranscriptLink link(day.Context.UserFolder + "service/", day.Clock, Com1, day.Messages,
                        UiLanguage::English, [&](MessageSink& m) {
                            return std::make_unique<QSerialLink>(day.Context.Port,
                                                                 day.Context.UserFolder, m);
                        });
    ASSERT_TRUE(day.Open(&link));
    EXPECT_TRUE(day.Drop());
    EXPECT_EQ(day.Context.Results.ResultCount, 1);
    EXPECT_TRUE(
        QFileInfo(day.Context.G.DataFolder + QDate::currentDate().toString("yyyyMMdd") + ".csv")
            .size() > 0);
    EXPECT_TRUE(link.Transcript().GaveUp());
    EXPECT_TRUE(day.Messages.Shown.empty());
}

const UnwritableRow UnwritableRows[] = {
    {"a file where the folder goes", "service", ""},
    {"a full disk", "service/line.log", "/dev/full"},
    {"a FIFO", "service/line.log", "", true},
};

INSTANTIATE_TEST_SUITE_P(Rows, TranscriptCannotBeWritten, testing::ValuesIn(UnwritableRows),
                         [](const auto& info) {
                             return QString(info.param.Name).replace(' ', '_').toStdString();
                         });

} // namespace
