// The fix from a real gpsd fed by gpsfake: a fix, then a receiver without one, then gpsd
// stopped and started again. Every wait is on a condition.
#include "GpsFake.h"
#include "positions/GpsdFixSource.h"

#include <QTcpServer>
#include <gtest/gtest.h>

namespace
{

constexpr int Generous = 60000;

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
    EXPECT_EQ(fixed.LastMode, 3);
    EXPECT_NEAR(fixed.Fix->Where.Latitude, 35.681235, 1e-6);
    EXPECT_NEAR(fixed.Fix->Where.Longitude, 139.767125, 1e-6);
    EXPECT_EQ(fixed.Fix->Altitude, 40.2);
    EXPECT_TRUE(fixed.Fix->ThreeD);
    EXPECT_TRUE(fixed.Fix->HorizontalError.has_value());
    EXPECT_GE(fixed.Fix->AgeSeconds, 0.0);

    gps.Stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !source.Status().Connected; }, Generous));
    ASSERT_TRUE(gps.Start(GpsFake::NoFixSentences())) << gps.ErrorText().toStdString();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return source.Status().Connected && source.Status().LastMode == 1; }, Generous));
    EXPECT_FALSE(source.CurrentFix().has_value()) << "the receiver lost its fix";

    gps.Stop();
    ASSERT_TRUE(gps.Start(GpsFake::FixSentences())) << gps.ErrorText().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return source.CurrentFix().has_value(); }, Generous));
}

// gpsd's reports from a peer of the test's own. Each row (but a report's first piece) leaves
// a state the row before did not, so that waiting for it shows the row was read.
TEST(GpsdFixSource, KeepsTheFixThroughReportsWithoutAPositionAndDropsItWithNoFix)
{
    const QByteArray fix = R"({"class":"TPV","mode":3,"lat":35.5,"lon":139.5,"altMSL":40.2})"
                           "\r\n";
    const struct {
        const char* Case;
        QByteArray Lines;
        int Mode;
        std::optional<double> Latitude;
    } cases[] = {
        {"a 3D fix", fix, 3, 35.5},
        {"a 2D report without a position (GSA alone) keeps it",
         R"({"class":"TPV","mode":2,"eph":17.1})"
         "\r\n",
         2, 35.5},
        {"no fix takes it away",
         R"({"class":"TPV","mode":1,"lat":35.5,"lon":139.5})"
         "\r\n",
         1, std::nullopt},
        {"other classes and a damaged line are passed over",
         R"({"class":"SKY","mode":2})"
         "\r\n{\"class\":\"TPV\",\"mode\":2,\r\n" +
             QByteArray(fix).replace("35.5", "36.5"),
         3, 36.5},
        {"a report in two pieces", fix.left(20), 3, 36.5},
        {"is read once whole", fix.mid(20), 3, 35.5},
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
            return s.LastMode == c.Mode && (s.Fix ? std::optional<double>(s.Fix->Where.Latitude)
                                                  : std::nullopt) == c.Latitude;
        };
        EXPECT_TRUE(QTest::qWaitFor(reached, 20000));
    }
}

} // namespace
