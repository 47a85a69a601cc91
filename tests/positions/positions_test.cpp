// gpsd's reports read, and what becomes of a drop's position: written, or not for a stale
// fix, no fix or a file that cannot be written. Real files in a temporary folder.
#include "positions/GpsdReport.h"
#include "positions/PositionsRecorder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace
{

TEST(GpsdReports, TpvLinesGiveModeAndFix)
{
    DropFix threeD{{35.681235, 139.767125}, 40.2, true, 17.1, 0.0};
    DropFix olderGpsd = threeD;
    olderGpsd.Altitude = 39.5;
    DropFix twoD{{-33.8688, 151.2093}, std::nullopt, false, 8.0, 0.0};
    DropFix noErrors = threeD;
    noErrors.HorizontalError.reset();
    const struct {
        const char* Case;
        const char* Line;
        std::optional<TpvReport> Expected;
    } cases[] = {
        {"3D with altMSL and eph",
         R"({"class":"TPV","mode":3,"lat":35.681235,"lon":139.767125,"alt":99,"altMSL":40.2,)"
         R"("eph":17.1,"epx":30,"epy":31})",
         TpvReport{3, threeD}},
        {"older gpsd: alt only",
         R"({"class":"TPV","mode":3,"lat":35.681235,"lon":139.767125,)"
         R"("alt":39.5,"eph":17.1})",
         TpvReport{3, olderGpsd}},
        {"2D: the larger of epx and epy, no altitude",
         R"({"class":"TPV","mode":2,"lat":-33.8688,"lon":151.2093,"alt":3,"epx":8,"epy":5.5})",
         TpvReport{2, twoD}},
        {"no error estimate",
         R"({"class":"TPV","mode":3,"lat":35.681235,"lon":139.767125,"altMSL":40.2})",
         TpvReport{3, noErrors}},
        {"mode 1: no fix", R"({"class":"TPV","device":"/dev/pts/1","mode":1})",
         TpvReport{1, std::nullopt}},
        {"mode 1 with an old position", R"({"class":"TPV","mode":1,"lat":35.6,"lon":139.7})",
         TpvReport{1, std::nullopt}},
        {"mode 3 without a latitude", R"({"class":"TPV","mode":3,"lon":139.7})",
         TpvReport{3, std::nullopt}},
        {"latitude out of range", R"({"class":"TPV","mode":3,"lat":95,"lon":139.7})",
         TpvReport{3, std::nullopt}},
        {"a latitude given as text", R"({"class":"TPV","mode":3,"lat":"35.6","lon":139.7})",
         TpvReport{3, std::nullopt}},
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

TEST(PositionsRecorder, WritesOnlyAFreshFixToAFileItCanWrite)
{
    const DropFix fresh{{35.681236, 139.767125}, 40.2, true, 4.5, 0.8};
    DropFix atTheLimit = fresh;
    atTheLimit.AgeSeconds = NewestFixSeconds;
    DropFix stale = fresh;
    stale.AgeSeconds = NewestFixSeconds + 0.1;
    const QByteArray heading = PositionsHeading().toUtf8() + "\r\n";
    const QByteArray line = "12,2026/12/08 13:05:09,35.6812360,139.7671250,40.2,3D,4.5,0.8\r\n";
    enum class Place { Fresh, Existing, CutShort, Folder, Fifo, NoFolder };
    const struct {
        const char* Case;
        std::optional<DropFix> Fix;
        Place At;
        PositionOutcome Expected;
        const char* Indicator;
        QByteArray File;
    } cases[] = {
        {"a fresh fix: heading and line", fresh, Place::Fresh, PositionOutcome::Written,
         "GPS 3D ±4.5 m", heading + line},
        {"a second drop: its line only", fresh, Place::Existing, PositionOutcome::Written,
         "GPS 3D ±4.5 m", heading + "old\r\n" + line},
        {"after a line cut short: a line of its own", fresh, Place::CutShort,
         PositionOutcome::Written, "GPS 3D ±4.5 m", heading + "ol\r\n" + line},
        {"a fix exactly 5 s old", atTheLimit, Place::Fresh, PositionOutcome::Written,
         "GPS 3D ±4.5 m", heading + QByteArray(line).replace(",0.8\r", ",5.0\r")},
        {"a fix older than 5 s", stale, Place::Fresh, PositionOutcome::StaleFix, "GPS no fix",
         "(none)"},
        {"no fix", std::nullopt, Place::Fresh, PositionOutcome::NoFix, "GPS no fix", "(none)"},
        {"a folder at its name", fresh, Place::Folder, PositionOutcome::CannotWrite,
         "GPS: positions cannot be written", "(none)"},
        {"a FIFO at its name, never waited on", fresh, Place::Fifo, PositionOutcome::CannotWrite,
         "GPS: positions cannot be written", "(fifo)"},
        {"no folder for it", fresh, Place::NoFolder, PositionOutcome::CannotWrite,
         "GPS: positions cannot be written", "(none)"},
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
        fixes.Now = {true, true, 3, c.Fix};
        PositionsRecorder recorder(fixes);
        EXPECT_EQ(recorder.Record(day, "12", "2026/12/08 13:05:09"), c.Expected);
        EXPECT_EQ(recorder.LastProblem().En.isEmpty(), c.Expected != PositionOutcome::CannotWrite);
        EXPECT_EQ(PositionsIndicatorText(fixes.Now, recorder.LastOutcome())->En, c.Indicator);
        if (c.At != Place::Fifo) {
            EXPECT_EQ(Contents(PositionsFilePath(day)), c.File);
        }
    }
}

TEST(PositionsRecorder, TheScreenSaysNothingUntilGpsdWasReachedThenWhatItKnows)
{
    const DropFix twoD{{35.0, 139.0}, std::nullopt, false, std::nullopt, 1.0};
    const struct {
        const char* Case;
        FixStatus Status;
        std::optional<QString> Text;
    } cases[] = {
        {"never reached", {false, false, std::nullopt, std::nullopt}, std::nullopt},
        {"reached, then gone", {true, false, 3, twoD}, "GPS: gpsd not connected"},
        {"2D without an error estimate", {true, true, 2, twoD}, "GPS 2D"},
        {"connected, no report yet", {true, true, std::nullopt, std::nullopt}, "GPS no fix"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Case);
        const std::optional<Bilingual> text =
            PositionsIndicatorText(c.Status, PositionOutcome::NoneYet);
        EXPECT_EQ(text ? std::optional<QString>(text->En) : std::nullopt, c.Text);
    }
}

TEST(PositionsRecorder, KeepsItsStatusForTheServiceReportOnceGpsdWasReached)
{
    QTemporaryDir dir;
    const QString status = dir.filePath("service/gpsd-status.txt");
    FixedFix fixes;
    PositionsRecorder recorder(fixes, status);
    recorder.Record(dir.filePath("20261208.csv"), "1", "2026/12/08 13:05:09");
    EXPECT_FALSE(QFile::exists(status)) << "no gpsd, no file";

    fixes.Now = {true, false, 1, std::nullopt};
    QDir().mkpath(dir.filePath("20261208.pos"));
    fixes.Now.Fix = DropFix{{35.0, 139.0}, std::nullopt, false, std::nullopt, 1.0};
    recorder.Record(dir.filePath("20261208.csv"), "2", "2026/12/08 13:05:10");
    const QByteArray text = Contents(status);
    for (const char* part : {"connected now: no", "last TPV mode: 1 (no fix)", "age 1.0 s",
                             "not written: the positions file cannot be written",
                             "last write problem: ", "20261208.pos"})
        EXPECT_TRUE(text.contains(part)) << part << "\n" << text.toStdString();
}

} // namespace
