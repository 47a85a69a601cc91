// gpsd's reports read, and what becomes of a drop's position: written, or not for a stale
// fix, no fix or a file that cannot be written. Real files in a temporary folder.
#include "positions/GpsdReport.h"
#include "positions/PositionsRecorder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace
{

TEST(GpsdReports, TpvLinesGiveDeviceModeFixAndTime)
{
    DropFix threeD{{35.681235, 139.767125}, 40.2, true, 17.1, 0.0, "/dev/ttyUSB0"};
    DropFix olderGpsd = threeD;
    olderGpsd.Altitude = 39.5;
    DropFix twoD{{-33.8688, 151.2093}, std::nullopt, false, 8.0, 0.0, "/dev/ttyUSB0"};
    const QDateTime at(QDate(2026, 12, 8), QTime(10, 5, 1, 500), Qt::UTC);
    DropFix noErrors = threeD;
    noErrors.HorizontalError.reset();
    const struct {
        const char* Case;
        const char* Line;
        std::optional<TpvReport> Expected;
    } cases[] = {
        {"3D with altMSL and eph",
         R"({"class":"TPV","device":"/dev/ttyUSB0","mode":3,"time":"2026-12-08T10:05:01.500Z",)"
         R"("lat":35.681235,"lon":139.767125,"alt":99,"altMSL":40.2,"eph":17.1,"epx":30,"epy":31})",
         TpvReport{"/dev/ttyUSB0", 3, threeD, at}},
        {"older gpsd: alt only, time without milliseconds",
         R"({"class":"TPV","device":"/dev/ttyUSB0","mode":3,"lat":35.681235,"lon":139.767125,)"
         R"("alt":39.5,"eph":17.1,"time":"2026-12-08T10:05:01Z"})",
         TpvReport{"/dev/ttyUSB0", 3, olderGpsd, at.addMSecs(-500)}},
        {"2D: the larger of epx and epy, no altitude",
         R"({"class":"TPV","device":"/dev/ttyUSB0","mode":2,"lat":-33.8688,"lon":151.2093,)"
         R"("alt":3,"epx":8,"epy":5.5})",
         TpvReport{"/dev/ttyUSB0", 2, twoD}},
        {"no error estimate, a time that is no time",
         R"({"class":"TPV","device":"/dev/ttyUSB0","mode":3,"lat":35.681235,"lon":139.767125,)"
         R"("altMSL":40.2,"time":"yesterday"})",
         TpvReport{"/dev/ttyUSB0", 3, noErrors}},
        {"mode 1: no fix", R"({"class":"TPV","device":"/dev/pts/1","mode":1})",
         TpvReport{"/dev/pts/1", 1}},
        {"mode 1 with an old position", R"({"class":"TPV","mode":1,"lat":35.6,"lon":139.7})",
         TpvReport{"", 1}},
        {"mode 3 without a latitude", R"({"class":"TPV","mode":3,"lon":139.7})", TpvReport{"", 3}},
        {"latitude out of range", R"({"class":"TPV","mode":3,"lat":95,"lon":139.7})",
         TpvReport{"", 3}},
        {"a latitude given as text", R"({"class":"TPV","mode":3,"lat":"35.6","lon":139.7})",
         TpvReport{"", 3}},
        {"another class", R"({"class":"SKY","mode":3,"lat":35.6,"lon":139.7})", std::nullopt},
        {"a line cut short", R"({"class":"TPV","mode":3,"lat":35.6,"lo)", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Case);
        EXPECT_EQ(ParseTpv(QByteArray(c.Line)), c.Expected);
    }
}

TEST(GpsdReports, EndpointFromTheSetting)
{
    const struct {
        const char* Setting;
        GpsdEndpoint Expected;
    } cases[] = {
        {"", {"localhost", 2947}},
        {"127.0.0.1:40001", {"127.0.0.1", 40001}},
        {"receiver.local", {"receiver.local", 2947}},
        {":40002", {"localhost", 40002}},
        {"[::1]:40003", {"::1", 40003}},
        {"host:0", {"localhost", 2947}},
        {"host:99999", {"localhost", 2947}},
        {"host:port", {"localhost", 2947}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GpsdEndpointFrom(c.Setting), c.Expected) << c.Setting;
}

QByteArray Tpv(const char* device, int mode, double lat, const char* time = "")
{
    return QStringLiteral(R"({"class":"TPV","device":"%1","mode":%2,"time":"%3","lat":%4,)"
                          R"("lon":139.5})")
        .arg(QLatin1String(device))
        .arg(mode)
        .arg(QLatin1String(time))
        .arg(lat)
        .toUtf8();
}

TEST(GpsdReports, ABurstGivesTheNewestReportOfEachReceiverOnly)
{
    QByteArray flood;
    for (int i = 0; i < 10000; ++i)
        flood += Tpv("/dev/ttyACM0", i % 2 ? 3 : 1, i < 9999 ? 35.0 : 36.0) + "\n";
    QByteArray manyReceivers;
    for (int i = 0; i < 12; ++i)
        manyReceivers +=
            Tpv(QByteArray("/dev/gps" + QByteArray::number(i)).constData(), 3, i) + "\n";
    const struct {
        const char* Case;
        QByteArray Lines;
        std::vector<std::pair<QString, double>> Newest; // device and latitude, newest first
    } cases[] = {
        {"two receivers, each its newest",
         Tpv("a", 3, 1) + "\n" + Tpv("b", 3, 2) + "\n" + Tpv("a", 3, 3) + "\r\n" +
             R"({"class":"SKY","device":"a"})" + "\n",
         {{"a", 3}, {"b", 2}}},
        {"a damaged newest line: the one before it",
         Tpv("a", 3, 1) + "\n" + Tpv("a", 3, 2).left(30),
         {{"a", 1}}},
        {"ten thousand reports: the last", flood, {{"/dev/ttyACM0", 36.0}}},
        {"more receivers than are kept: the newest of them",
         manyReceivers,
         {{"/dev/gps11", 11},
          {"/dev/gps10", 10},
          {"/dev/gps9", 9},
          {"/dev/gps8", 8},
          {"/dev/gps7", 7},
          {"/dev/gps6", 6},
          {"/dev/gps5", 5},
          {"/dev/gps4", 4}}},
        {"nothing but other classes",
         R"({"class":"VERSION"})"
         "\n",
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Case);
        std::vector<std::pair<QString, double>> newest;
        for (const TpvReport& r : NewestTpvOfEachDevice(c.Lines))
            newest.emplace_back(r.Device, r.Fix ? r.Fix->Where.Latitude : -1.0);
        EXPECT_EQ(newest, c.Newest);
    }
}

// A receiver's report as a test writes it: the fix's time in seconds after T0, or none.
const QDateTime T0(QDate(2026, 12, 8), QTime(10, 5, 0), Qt::UTC);
TpvReport Report(const char* device, int mode, std::optional<double> error = 4.5,
                 std::optional<int> second = 0)
{
    TpvReport r{device, mode};
    if (mode >= 2 && error)
        r.Fix =
            DropFix{{35.0, 139.0}, 40.2, mode == 3, *error < 0 ? std::nullopt : error, 0.0, device};
    if (second)
        r.Time = T0.addSecs(*second);
    return r;
}

TEST(ReceiverFixes, EachReceiverKeepsItsOwnAndTheBestCurrentFixIsTaken)
{
    struct Step {
        TpvReport Report;
        qint64 AtMs; // on the steady clock
    };
    const auto noPosition = Report("b", 2, std::nullopt);
    const struct {
        const char* Case;
        std::vector<Step> Steps;
        double JudgedAtSecond; // the computer's clock, s after T0
        qint64 JudgedAtMs;
        std::vector<FixStanding> Standings;
        std::optional<QString> Taken;
        double Age;
    } cases[] = {
        {"one receiver's no fix leaves the other's 3D fix",
         {{Report("a", 3), 0}, {Report("b", 1), 100}, {Report("b", 1), 900}},
         0.6,
         1000,
         {FixStanding::Current, FixStanding::NoFix},
         "a",
         0.6},
        {"3D before a 2D fix with a smaller error",
         {{Report("a", 2, 1.0), 0}, {Report("b", 3, 9.0), 0}},
         1.0,
         1000,
         {FixStanding::Current, FixStanding::Current},
         "b",
         1.0},
        {"of two 3D fixes the smaller error; none given counts last",
         {{Report("a", 3, -1), 0}, {Report("b", 3, 9.0), 0}, {Report("c", 3, 3.0), 0}},
         0,
         0,
         {FixStanding::Current, FixStanding::Current, FixStanding::Current},
         "c",
         0},
        {"a fix 5 s old by its own time is still taken",
         {{Report("a", 3), 0}},
         5.0,
         4000,
         {FixStanding::Current},
         "a",
         5.0},
        {"a time standing still for more than 5 s is an old fix",
         {{Report("a", 3), 0}, {Report("a", 3), 3000}, {Report("a", 3), 5900}},
         6.0,
         6000,
         {FixStanding::StandsStill},
         std::nullopt,
         6.0},
        {"a time that moves stays current",
         {{Report("a", 3), 0}, {Report("a", 3, 4.5, 5), 5000}},
         5.5,
         6000,
         {FixStanding::Current},
         "a",
         0.5},
        {"the receiver's clock an hour ahead",
         {{Report("a", 3, 4.5, 3600), 0}},
         0,
         0,
         {FixStanding::ClockApart},
         std::nullopt,
         0},
        {"the receiver's clock a minute behind",
         {{Report("a", 3), 0}},
         63.0,
         500,
         {FixStanding::ClockApart},
         std::nullopt,
         63.0},
        {"a little ahead: taken as just made",
         {{Report("a", 3, 4.5, 2), 0}},
         0,
         0,
         {FixStanding::Current},
         "a",
         0},
        {"a fix without a time",
         {{Report("a", 3, 4.5, std::nullopt), 0}},
         0,
         0,
         {FixStanding::NoTime},
         std::nullopt,
         0},
        {"a mode without a position keeps the fix; no fix takes it",
         {{Report("b", 3), 0}, {noPosition, 100}, {Report("a", 3), 0}, {Report("a", 1), 200}},
         0.2,
         300,
         {FixStanding::Current, FixStanding::NoFix},
         "b",
         0.2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Case);
        ReceiverFixes fixes;
        for (const Step& step : c.Steps)
            fixes.Take(step.Report, step.AtMs);
        const std::vector<ReceiverStatus> judged =
            fixes.Judge(T0.addMSecs(qint64(c.JudgedAtSecond * 1000)), c.JudgedAtMs);
        std::vector<FixStanding> standings;
        for (const ReceiverStatus& r : judged)
            standings.push_back(r.Standing);
        EXPECT_EQ(standings, c.Standings);
        const std::optional<DropFix> best = BestFix(judged);
        EXPECT_EQ(best ? std::optional<QString>(best->Device) : std::nullopt, c.Taken);
        if (best) {
            EXPECT_DOUBLE_EQ(best->AgeSeconds, c.Age);
        }
    }
}

TEST(ReceiverFixes, TellsWhatTheScreenShowsHasChangedOnlyWhenItHas)
{
    ReceiverFixes fixes;
    EXPECT_TRUE(fixes.Take(Report("a", 3), 0)) << "a receiver came";
    EXPECT_FALSE(fixes.Take(Report("a", 3, 4.5, 1), 1000)) << "the same fix, newer";
    EXPECT_TRUE(fixes.Take(Report("a", 1), 2000)) << "the fix lost";
    EXPECT_FALSE(fixes.Take(Report("a", 1), 3000));
    EXPECT_TRUE(fixes.Take(Report("b", 1), 3000)) << "another receiver";
}

class FixedFix : public FixSource
{
public:
    FixStatus Status() const override { return Now; }
    FixStatus Now;
};

QByteArray Contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
}

ReceiverStatus Receiver(FixStanding standing)
{
    ReceiverStatus r{"/dev/ttyUSB0", 3};
    r.Standing = standing;
    return r;
}

TEST(PositionsRecorder, WritesOnlyACurrentFixToAFileItCanWrite)
{
    const DropFix fresh{{35.681236, 139.767125}, 40.2, true, 4.5, 0.8, "/dev/ttyUSB0"};
    const QByteArray heading = PositionsHeading().toUtf8() + "\r\n";
    const QByteArray line =
        "12,2026/12/08 13:05:09,35.6812360,139.7671250,40.2,3D,4.5,0.8,/dev/ttyUSB0\r\n";
    enum class Place { Fresh, Existing, CutShort, Folder, Fifo, NoFolder };
    const std::vector<ReceiverStatus> current{Receiver(FixStanding::Current)};
    const struct {
        const char* Case;
        std::optional<DropFix> Fix;
        std::vector<ReceiverStatus> Receivers;
        Place At;
        PositionOutcome Expected;
        const char* Indicator;
        IndicatorTone Tone;
        QByteArray File;
    } cases[] = {
        {"a current fix: heading and line", fresh, current, Place::Fresh, PositionOutcome::Written,
         "GPS 3D ±4.5 m", IndicatorTone::Fix, heading + line},
        {"a second drop: its line only", fresh, current, Place::Existing, PositionOutcome::Written,
         "GPS 3D ±4.5 m", IndicatorTone::Fix, heading + "old\r\n" + line},
        {"after a line cut short: a line of its own", fresh, current, Place::CutShort,
         PositionOutcome::Written, "GPS 3D ±4.5 m", IndicatorTone::Fix, heading + "ol\r\n" + line},
        {"an old fix",
         std::nullopt,
         {Receiver(FixStanding::NoFix), Receiver(FixStanding::StandsStill)},
         Place::Fresh,
         PositionOutcome::StaleFix,
         "GPS old fix",
         IndicatorTone::OldFix,
         "(none)"},
        {"clocks apart",
         std::nullopt,
         {Receiver(FixStanding::StandsStill), Receiver(FixStanding::ClockApart)},
         Place::Fresh,
         PositionOutcome::ClockApart,
         "GPS clock apart",
         IndicatorTone::OldFix,
         "(none)"},
        {"no fix",
         std::nullopt,
         {Receiver(FixStanding::NoTime)},
         Place::Fresh,
         PositionOutcome::NoFix,
         "GPS no fix",
         IndicatorTone::None,
         "(none)"},
        {"a folder at its name", fresh, current, Place::Folder, PositionOutcome::CannotWrite,
         "GPS: positions cannot be written", IndicatorTone::None, "(none)"},
        {"a FIFO at its name, never waited on", fresh, current, Place::Fifo,
         PositionOutcome::CannotWrite, "GPS: positions cannot be written", IndicatorTone::None,
         "(fifo)"},
        {"no folder for it", fresh, current, Place::NoFolder, PositionOutcome::CannotWrite,
         "GPS: positions cannot be written", IndicatorTone::None, "(none)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Case);
        QTemporaryDir dir;
        QString day = dir.filePath("20261208.csv");
        const QString positions = PositionsFilePath(day);
        if (c.At == Place::Existing || c.At == Place::CutShort) {
            QFile f(positions);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(heading + (c.At == Place::Existing ? "old\r\n" : "ol"));
        } else if (c.At == Place::Folder) {
            ASSERT_TRUE(QDir().mkpath(positions));
        } else if (c.At == Place::Fifo) {
            ASSERT_EQ(::mkfifo(QFile::encodeName(positions).constData(), 0600), 0);
        } else if (c.At == Place::NoFolder) {
            day = dir.filePath("gone/20261208.csv");
        }
        FixedFix fixes;
        fixes.Now = {true, true, c.Receivers, c.Fix};
        PositionsRecorder recorder(fixes);
        EXPECT_EQ(recorder.Record(day, "12", "2026/12/08 13:05:09"), c.Expected);
        EXPECT_EQ(recorder.LastProblem().En.isEmpty(), c.Expected != PositionOutcome::CannotWrite);
        const auto shown = PositionsIndicatorFor(fixes.Now, recorder.LastOutcome());
        EXPECT_EQ(shown->Text.En, c.Indicator);
        EXPECT_FALSE(shown->Text.Ja.isEmpty());
        EXPECT_EQ(shown->Tone, c.Tone);
        if (c.At != Place::Fifo) {
            EXPECT_EQ(Contents(PositionsFilePath(day)), c.File);
        }
    }
}

TEST(PositionLines, OldLinesWithoutADeviceAndNewOnesReadBack)
{
    DropPosition read;
    const struct {
        const char* Line;
        bool Ok;
        QString Device;
    } cases[] = {
        {"1,2026/12/08 13:05:00,36.0,140.0,40.2,3D,4.5,0.8", true, ""},
        {"1,2026/12/08 13:05:00,36.0,140.0,40.2,3D,4.5,0.8,/dev/ttyUSB0", true, "/dev/ttyUSB0"},
        {"1,2026/12/08 13:05:00,36.0,140.0,40.2,3D,4.5,0.8,", true, ""},
        {"1,2026/12/08 13:05:00,36.0,140.0,40.2,3D,4.5,0.8,a,b", false, ""},
        {"1,2026/12/08 13:05:00,36.0,140.0,40.2,3D,4.5", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Line);
        read = {};
        EXPECT_EQ(ParsePositionLine(QString::fromLatin1(c.Line), &read), c.Ok);
        EXPECT_EQ(read.Fix.Device, c.Device);
    }
    EXPECT_TRUE(IsPositionsHeading(PositionsHeading()));
    EXPECT_TRUE(IsPositionsHeading(
        u"No.,Date Time,Latitude,Longitude,Altitude(m),Fix,Horizontal error(m),Age(s)\r"));
    DropPosition odd{"1", "2026/12/08 13:05:00", {{36, 140}, {}, false, {}, 0, "tcp://a,b\n"}};
    EXPECT_TRUE(PositionLine(odd).endsWith(",tcp://a_b_")) << "a device never adds a column";
}

TEST(PositionsRecorder, TheScreenSaysNothingUntilGpsdWasReachedThenWhatItKnows)
{
    const DropFix twoD{{35.0, 139.0}, std::nullopt, false, std::nullopt, 1.0};
    const struct {
        const char* Case;
        FixStatus Status;
        std::optional<QString> Text;
    } cases[] = {
        {"never reached", {false, false, {}, std::nullopt}, std::nullopt},
        {"reached, then gone", {true, false, {}, twoD}, "GPS: gpsd not connected"},
        {"2D without an error estimate", {true, true, {}, twoD}, "GPS 2D"},
        {"connected, no report yet", {true, true, {}, std::nullopt}, "GPS no fix"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Case);
        const auto shown = PositionsIndicatorFor(c.Status, PositionOutcome::NoneYet);
        EXPECT_EQ(shown ? std::optional<QString>(shown->Text.En) : std::nullopt, c.Text);
    }
}

TEST(PositionsRecorder, ItsStatusSaysWhatHoldsWhenItIsWritten)
{
    QTemporaryDir dir;
    const QString status = dir.filePath("service/gpsd-status.txt");
    FixedFix fixes;
    PositionsRecorder recorder(fixes, status);
    recorder.Record(dir.filePath("20261208.csv"), "1", "2026/12/08 13:05:09");
    recorder.KeepStatus();
    EXPECT_FALSE(QFile::exists(status)) << "no gpsd, no file";

    ReceiverStatus still = Receiver(FixStanding::StandsStill);
    still.Fix = DropFix{{35.0, 139.0}, 40.2, true, 4.5, 63.0, "/dev/ttyUSB0"};
    still.Time = T0;
    still.SecondsStill = 63.0;
    ReceiverStatus current{"/dev/ttyACM0", 2};
    current.Fix = DropFix{{35.5, 139.5}, std::nullopt, false, 4.0, 0.4, "/dev/ttyACM0"};
    current.Time = T0.addSecs(63);
    current.Standing = FixStanding::Current;
    fixes.Now = {true, true, {still, current}, current.Fix};
    recorder.Record(dir.filePath("20261208.csv"), "2", "2026/12/08 13:05:10");
    recorder.KeepStatus();
    const QByteArray connected = Contents(status);
    QDir().mkpath(dir.filePath("20261209.pos"));
    recorder.Record(dir.filePath("20261209.csv"), "3", "2026/12/09 13:05:11");
    fixes.Now.Connected = false;
    recorder.KeepStatus();
    const QByteArray gone = Contents(status);
    fixes.Now.Connected = true;
    recorder.KeepStatus(true);
    const QByteArray ended = Contents(status);

    const struct {
        const QByteArray& Text;
        std::vector<const char*> Parts;
    } cases[] = {
        {connected,
         {"connected now: yes",
          "receiver /dev/ttyUSB0: mode 3 (3D), fix 35.0000000, 139.0000000, "
          "time 2026-12-08T10:05:00.000Z, age 63.0 s: not used: an old fix, its time has stood "
          "still for 63.0 s",
          "receiver /dev/ttyACM0: mode 2 (2D)", ": current", "a drop now takes: /dev/ttyACM0",
          "last drop's position: written (from /dev/ttyACM0)"}},
        {gone,
         {"connected now: no", "not written: the positions file cannot be written",
          "last write problem: ", "20261209.pos"}},
        {ended, {"the program has ended", "connected now: no"}},
    };
    for (const auto& c : cases) {
        for (const char* part : c.Parts)
            EXPECT_TRUE(c.Text.contains(part)) << part << "\n" << c.Text.toStdString();
    }
}

} // namespace
