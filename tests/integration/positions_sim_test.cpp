// Positions on a real measuring day: the real screen, the simulator on a pty and a real
// gpsd fed by gpsfake, reached through VX2968_GPSD. The day file comes out byte for byte as
// on a day without gpsd; the positions file gets the drop that had a fix.
#include "GpsFake.h"
#include "GpsdFlood.h"
#include "MeasuringDay.h"
#include "SimProcess.h"
#include "TempHome.h"
#include "positions/GpsdFixSource.h"
#include "screens/gui/PositionsIndicator.h"

#include <QFile>
#include <gtest/gtest.h>

namespace
{

constexpr int Generous = 60000;

QByteArray Contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
}

struct Day {
    QByteArray Results, Positions;
    std::vector<PositionOutcome> Outcomes;
};

// Three drops: with a fix, with a receiver that lost it, and after gpsd stopped. Without
// `gps`, the same day with no gpsd anywhere.
Day MeasureThreeDrops(GpsFake* gps)
{
    TempHome home;
    SimProcess sim;
    FixedClock clock{QDateTime(QDate(2024, 5, 1), QTime(10, 15, 0))};
    MeasuringDay day;
    std::unique_ptr<GpsdFixSource> source;
    std::unique_ptr<PositionsRecorder> recorder;
    Day outcome;
    if (gps) {
        qputenv("VX2968_GPSD", gps->Endpoint());
        source = std::make_unique<GpsdFixSource>(GpsdEndpointOfEnvironment());
        qunsetenv("VX2968_GPSD");
        recorder = std::make_unique<PositionsRecorder>(*source);
        day.Context.Positions = recorder.get();
        source->Start();
        EXPECT_TRUE(gps->Start(GpsFake::FixSentences())) << gps->ErrorText().toStdString();
    }
    EXPECT_TRUE(sim.Start({"--com", "1", "--channels", "1,2", "--drop-after", "30", "--no-pace"}))
        << sim.ErrorText().toStdString();
    day.Context.Time = &clock;
    EXPECT_TRUE(day.Open());
    const QLabel* indicator = day.Screen->lblPositions;
    auto shows = [&](const QString& text) {
        return WaitFor([&] { return indicator->isVisible() && indicator->text() == text; },
                       Generous);
    };
    auto drop = [&] {
        EXPECT_TRUE(day.Drop());
        if (recorder)
            outcome.Outcomes.push_back(recorder->LastOutcome());
    };
    if (gps) {
        EXPECT_TRUE(WaitFor([&] { return indicator->text().startsWith("GPS 3D ±"); }, Generous))
            << indicator->text().toStdString();
        // gpsd's first 3D reports may come before GGA has given the height.
        EXPECT_TRUE(WaitFor(
            [&] {
                const std::optional<DropFix> fix = source->CurrentFix();
                return fix && fix->Altitude;
            },
            Generous));
    }
    drop();
    if (gps) {
        gps->Stop();
        EXPECT_TRUE(gps->Start(GpsFake::NoFixSentences())) << gps->ErrorText().toStdString();
        EXPECT_TRUE(shows("GPS no fix")) << indicator->text().toStdString();
    }
    drop();
    if (gps) {
        gps->Stop();
        EXPECT_TRUE(shows("GPS: gpsd not connected")) << indicator->text().toStdString();
    } else {
        EXPECT_FALSE(indicator->isVisible());
    }
    drop();
    EXPECT_TRUE(day.Messages.Shown.empty());
    outcome.Results = Contents(day.Context.G.DataFolder + "20240501.csv");
    outcome.Positions = Contents(day.Context.G.DataFolder + "20240501.pos");
    return outcome;
}

TEST(PositionsOnAMeasuringDay, TheDayFileStaysAsWithoutGpsdAndTheFixedDropGetsItsPlace)
{
    const Day without = MeasureThreeDrops(nullptr);
    ASSERT_EQ(without.Results.count('\n'), 5) << without.Results.toStdString();
    EXPECT_EQ(without.Positions, "(none)");

    GpsFake gps;
    const Day with = MeasureThreeDrops(&gps);
    EXPECT_EQ(with.Results, without.Results);
    EXPECT_EQ(with.Outcomes,
              (std::vector<PositionOutcome>{PositionOutcome::Written, PositionOutcome::NoFix,
                                            PositionOutcome::NoFix}));
    const QList<QByteArray> lines = with.Positions.split('\n');
    ASSERT_EQ(lines.size(), 3) << with.Positions.toStdString();
    EXPECT_EQ(lines[0], PositionsHeading().toUtf8() + "\r");
    // The first drop's number and time as its line in the day file has them.
    const QByteArray firstDrop = with.Results.split('\n')[2];
    const QByteArray noAndTime = firstDrop.left(firstDrop.indexOf(',', firstDrop.indexOf(',') + 1));
    EXPECT_TRUE(lines[1].startsWith(noAndTime + ",35.6812350,139.7671250,40.2,3D,"))
        << lines[1].toStdString();
}

// A gpsd that floods the program with reports, a fix and none in turn, while the operator
// measures: the monitor keeps polling, Start arms and the drop is stored while the flood
// goes on, and a line written holds the one place the reports gave.
TEST(PositionsOnAMeasuringDay, AFloodingGpsdHoldsUpNeitherTheMonitorNorADrop)
{
    TempHome home;
    SimProcess sim;
    MeasuringDay day;
    GpsdFlood flood;
    GpsdFixSource source(GpsdEndpointFrom(flood.Endpoint()));
    PositionsRecorder recorder(source, day.Context.UserFolder + "/service/gpsd-status.txt");
    recorder.KeepStatusCurrent();
    day.Context.Positions = &recorder;
    source.Start();
    ASSERT_TRUE(sim.Start({"--com", "1", "--channels", "1,2", "--drop-after", "30", "--no-pace"}))
        << sim.ErrorText().toStdString();
    ASSERT_TRUE(day.Open());
    ASSERT_TRUE(WaitFor([&] { return flood.Sent() > 100000; }, Generous)) << "no flood";

    const auto polls = [&] { return sim.Commands().count(QStringLiteral("MDT")); };
    const qsizetype before = polls();
    EXPECT_TRUE(WaitFor([&] { return polls() >= before + 3; }, Generous))
        << "the monitor stopped while gpsd flooded";
    const qint64 sentBefore = flood.Sent();
    EXPECT_TRUE(day.Drop());
    EXPECT_GT(flood.Sent(), sentBefore) << "the drop waited for the flood to end";
    EXPECT_TRUE(day.Messages.Shown.empty());
    flood.Stop();

    const QByteArray positions =
        Contents(day.Context.G.DataFolder + QDate::currentDate().toString("yyyyMMdd") + ".pos");
    const QList<QByteArray> lines = positions.trimmed().split('\n');
    if (recorder.LastOutcome() == PositionOutcome::Written) {
        ASSERT_EQ(lines.size(), 2) << positions.toStdString();
        EXPECT_TRUE(lines[1].contains(",35.5000000,139.5000000,40.2,3D,3.0,"));
        EXPECT_TRUE(lines[1].trimmed().endsWith(",/dev/flood"));
    } else {
        EXPECT_EQ(recorder.LastOutcome(), PositionOutcome::NoFix);
    }
}

} // namespace
