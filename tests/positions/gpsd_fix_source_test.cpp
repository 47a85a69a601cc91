// The fixes from a real gpsd fed by gpsfake: a fix, a receiver without one, gpsd stopped and
// started again, two receivers on one gpsd, a receiver stuck on its last fix; and reports
// from a stand-in of the test's own. Every wait is on a condition.
#include "GpsFake.h"
#include "positions/GpsdFixSource.h"
#include "positions/PositionsRecorder.h"

#include <QTcpServer>
#include <gtest/gtest.h>

#include <set>

namespace
{

constexpr int Generous = 60000;

std::optional<int> ModeOf(const FixStatus& status)
{
    return status.Receivers.empty() ? std::nullopt
                                    : std::optional<int>(status.Receivers.front().Mode);
}

TEST(GpsdFixSource, FollowsGpsdThroughAFixItsLossAStopAndARestart)
{
    GpsFake gps;
    GpsdFixSource source(GpsdEndpointFrom(gps.Endpoint()));
    source.Start(); // before gpsd is there: it keeps trying, without a word
    EXPECT_FALSE(source.Status().EverReached);

    ASSERT_TRUE(gps.Start(GpsFake::FixSentences())) << gps.ErrorText().toStdString();
    // gpsd's first fixes may be 2D (RMC alone) or 3D without a height, until GGA comes.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return source.CurrentFix() && source.CurrentFix()->Altitude; }, Generous));
    const FixStatus fixed = source.Status();
    EXPECT_TRUE(fixed.EverReached && fixed.Connected);
    EXPECT_EQ(ModeOf(fixed), 3);
    EXPECT_NEAR(fixed.Fix->Where.Latitude, 35.681235, 1e-6);
    EXPECT_NEAR(fixed.Fix->Where.Longitude, 139.767125, 1e-6);
    EXPECT_EQ(fixed.Fix->Altitude, 40.2);
    EXPECT_TRUE(fixed.Fix->ThreeD);
    EXPECT_TRUE(fixed.Fix->Device.startsWith("/dev/")) << fixed.Fix->Device.toStdString();
    EXPECT_LE(fixed.Fix->AgeSeconds, NewestFixSeconds);

    // gpsd gone: the status says so at once, whatever it said before.
    QTemporaryDir dir;
    const QString statusFile = dir.filePath("gpsd-status.txt");
    PositionsRecorder recorder(source, statusFile);
    gps.Stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !source.Status().Connected; }, Generous));
    recorder.KeepStatus();
    QFile status(statusFile);
    ASSERT_TRUE(status.open(QIODevice::ReadOnly));
    EXPECT_TRUE(status.readAll().contains("connected now: no\n"));

    ASSERT_TRUE(gps.Start(GpsFake::NoFixSentences())) << gps.ErrorText().toStdString();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return source.Status().Connected && ModeOf(source.Status()) == 1; }, Generous));
    EXPECT_FALSE(source.CurrentFix().has_value()) << "the receiver lost its fix";

    gps.Stop();
    ASSERT_TRUE(gps.Start(GpsFake::FixSentences())) << gps.ErrorText().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return source.CurrentFix().has_value(); }, Generous));
}

TEST(GpsdFixSource, OneReceiverWithoutAFixNeverTakesTheOthers)
{
    GpsFake gps;
    ASSERT_TRUE(gps.Start({GpsFake::NoFixSentences(), GpsFake::FixSentences()}))
        << gps.ErrorText().toStdString();
    GpsdFixSource source(GpsdEndpointFrom(gps.Endpoint()));
    source.Start();
    // Both heard, one with its fix: from then on, through each of the other's reports of
    // no fix, the fix stays the one a drop takes.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return source.Status().Receivers.size() == 2 && source.CurrentFix(); }, Generous));
    const QString fixDevice = source.CurrentFix()->Device;
    std::set<qint64> fixTimes;
    bool alwaysTheFix = true;
    const bool fourSeconds = QTest::qWaitFor(
        [&] {
            const FixStatus s = source.Status();
            alwaysTheFix = alwaysTheFix && s.Fix && s.Fix->Device == fixDevice;
            for (const ReceiverStatus& r : s.Receivers) {
                if (r.Device == fixDevice && r.Time)
                    fixTimes.insert(r.Time->toMSecsSinceEpoch());
            }
            return fixTimes.size() >= 4;
        },
        Generous);
    EXPECT_TRUE(fourSeconds) << "fixes of " << fixTimes.size() << " seconds";
    EXPECT_TRUE(alwaysTheFix);
    for (const ReceiverStatus& r : source.Status().Receivers)
        EXPECT_EQ(r.Standing, r.Device == fixDevice ? FixStanding::Current : FixStanding::NoFix);
}

TEST(GpsdFixSource, AReceiverRepeatingItsLastFixSoonHasNone)
{
    GpsFake gps;
    ASSERT_TRUE(gps.Start(GpsFake::FrozenSentences())) << gps.ErrorText().toStdString();
    GpsdFixSource source(GpsdEndpointFrom(gps.Endpoint()));
    source.Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return source.CurrentFix().has_value(); }, Generous));
    // Its reports keep coming, and the fix they hold never gets younger.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const FixStatus s = source.Status();
            return !s.Receivers.empty() && s.Receivers.front().Standing == FixStanding::StandsStill;
        },
        Generous));
    const FixStatus s = source.Status();
    EXPECT_TRUE(s.Connected);
    EXPECT_FALSE(s.Fix.has_value());
    EXPECT_EQ(ChoosePositionWrite(s), PositionOutcome::StaleFix);
    EXPECT_EQ(PositionsIndicatorFor(s, PositionOutcome::NoneYet)->Text.En, "GPS old fix");
}

QByteArray Report(int mode, double lat, const QDateTime& time, const char* device = "/dev/gps0")
{
    return QStringLiteral(R"({"class":"TPV","device":"%1","mode":%2,"time":"%3","lat":%4,)"
                          R"("lon":139.5,"altMSL":40.2})"
                          "\r\n")
        .arg(QLatin1String(device))
        .arg(mode)
        .arg(time.toString(Qt::ISODateWithMs))
        .arg(lat)
        .toUtf8();
}

// gpsd's reports from a peer of the test's own. Each row (but a report's first piece) leaves
// a state the row before did not, so that waiting for it shows the row was read.
TEST(GpsdFixSource, ReadsWhatHasComeAndKeepsTheNewestOfABurst)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QByteArray fix = Report(3, 35.5, now);
    QByteArray burst;
    for (int i = 0; i < 5000; ++i)
        burst += Report(1, 0, now) + Report(3, i < 4999 ? 10.0 : 20.0, now.addMSecs(i));
    const struct {
        const char* Case;
        QByteArray Lines;
        int Mode;
        std::optional<double> Latitude;
    } cases[] = {
        {"a 3D fix", fix, 3, 35.5},
        {"a 2D report without a position (GSA alone) keeps it",
         R"({"class":"TPV","device":"/dev/gps0","mode":2,"eph":17.1})"
         "\r\n",
         2, 35.5},
        {"no fix takes it away", Report(1, 35.5, now), 1, std::nullopt},
        {"other classes and a damaged line are passed over",
         R"({"class":"SKY","mode":2})"
         "\r\n{\"class\":\"TPV\",\"mode\":2,\r\n" +
             Report(3, 36.5, now),
         3, 36.5},
        {"a report in two pieces", fix.left(20), 3, 36.5},
        {"is read once whole", fix.mid(20), 3, 35.5},
        {"ten thousand reports, fix and none in turn: the last", burst, 3, 20.0},
    };
    QTcpServer peer;
    ASSERT_TRUE(peer.listen(QHostAddress::LocalHost, 0));
    GpsdFixSource source(GpsdEndpoint{QStringLiteral("127.0.0.1"), peer.serverPort()});
    source.Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return peer.hasPendingConnections(); }, Generous));
    QTcpSocket* gpsd = peer.nextPendingConnection();
    ASSERT_TRUE(QTest::qWaitFor([&] { return gpsd->canReadLine(); }, Generous));
    EXPECT_EQ(gpsd->readLine(), GpsdWatchCommand());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Case);
        gpsd->write(c.Lines);
        const auto reached = [&] {
            const FixStatus s = source.Status();
            return ModeOf(s) == c.Mode &&
                   (s.Receivers.front().Fix
                        ? std::optional<double>(s.Receivers.front().Fix->Where.Latitude)
                        : std::nullopt) == c.Latitude;
        };
        EXPECT_TRUE(QTest::qWaitFor(reached, 20000));
    }
}

} // namespace
