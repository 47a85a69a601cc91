#include "../review/ReviewFixtures.h"
#include "TempHome.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace
{

struct Outcome {
    int Status = -1;
    QStringList Errors;
};

// The review program as a script starts it, with no display.
Outcome Points(const QStringList& args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.insert("QT_QPA_PLATFORM", "xcb"); // a window would fail: none may be made
    p.setProcessEnvironment(env);
    p.start(qEnvironmentVariable("VX_BIN_DIR", VX_BIN_DIR) + "/vx2968-review", args);
    p.waitForFinished(30000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardError()).split('\n', Qt::SkipEmptyParts)};
}

QString Read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

TEST(PointsCommand, WritesPointsOfDayFilesInEachLanguage)
{
    TempHome home;
    const QString ja = home.Path() + "/20240506.csv", en = home.Path() + "/20240507.csv";
    WriteBytes(ja, FixtureDayBytes(3, QDate(2024, 5, 6), 0, false));
    // A line cut short by a full stick, and a second point two minutes on.
    WriteBytes(en, FixtureDayBytes(2, QDate(2024, 5, 7), 1, false) +
                       "00003,05/07/2024 08:00:4\r\n"
                       "00004,05/07/2024 08:03:00,31000,1.100,-1,-1,,,,,,BO\r\n");
    const QString out = home.Path() + "/points.csv";
    const Outcome run = Points({"--points", out, "--seating", "1", "--require-k", "415", ja, en});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(
        run.Errors.join("|").toStdString(),
        ("vx2968-review: " + en + " line 5 skipped: 2 fields instead of 12: the line was cut short")
            .toStdString());
    EXPECT_EQ(Read(out),
              "Point,First drop,Drops,Used,P0(N),D0(mm),K-NWR(MN/m3),E-NWR(MN/m2),Result\n"
              "1,2024-05-06T08:00:00,3,2,30055.5,1.015,419.0,110.5,pass\n"
              "2,2024-05-07T08:00:00,2,1,30037.0,1.010,421.0,111.0,pass\n"
              "3,2024-05-07T08:03:00,1,0,,,,,\n");
}

TEST(PointsCommand, RefusesBadArgumentsAndUnreadableFilesWritingNothing)
{
    TempHome home;
    const QString day = home.Path() + "/20240506.csv", out = home.Path() + "/points.csv";
    // With a damaged line, which must not be reported when another file is refused.
    WriteBytes(day, FixtureDayBytes(3, QDate(2024, 5, 6), 1, false) + "00004,05/06/2024 08:0\r\n");
    const struct {
        QStringList Args;
        QString Error;
    } rows[] = {
        {{"--points", out, day, home.Path() + "/gone.csv"},
         home.Path() + "/gone.csv cannot be read (No such file or directory)."},
        {{"--points", out, "--gap", "1.5", day},
         "--gap: \"1.5\" is not a whole number of 0 or more"},
        {{"--points", out, "--require-e", "-3", day},
         "--require-e: \"-3\" is not a number of 0 or more"},
        {{"--points", out, "--colour", "red", day}, "unknown option --colour"},
        {{"--points", out}, "no day file given"},
        {{day, "--points"}, "--points needs a value"},
        {{"--gap", "30", day}, "--points OUT.csv is missing"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Error.toStdString());
        const Outcome run = Points(row.Args);
        EXPECT_EQ(run.Status, 2);
        EXPECT_EQ(run.Errors, QStringList{"vx2968-review: " + row.Error});
        EXPECT_FALSE(QFile::exists(out));
    }
}

} // namespace
