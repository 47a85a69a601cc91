// `vx2968 --service-report FILE`, the real program in a user folder of its own: what the
// archive holds, and a target that cannot be written.
#include "TempHome.h"

#include <QDate>
#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>

namespace
{

struct Outcome {
    int Status = -1;
    QByteArray Out, Err;
};

Outcome Execute(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.start(program, arguments);
    Outcome r;
    if (p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit)
        r.Status = p.exitCode();
    r.Out = p.readAllStandardOutput();
    r.Err = p.readAllStandardError();
    return r;
}

const QString Program = QStringLiteral(VX_BIN_DIR "/vx2968");

TEST(ServiceReport, HoldsTheTranscriptSettingsAndTheEndOfTodaysResults)
{
    TempHome home;
    home.WriteFile("Documents/VX-2968/fwdstr.ini", "E");
    home.WriteFile("Documents/VX-2968/service/line.log", "2024-05-01T09:00:00.000 COM1 opened\n");
    home.WriteFile("Documents/VX-2968/service/line.log.1", "older\n");
    QByteArray results = "Dia=300,Poi=0.350\r\nNo,Date Time\r\n";
    for (int n = 1; n <= 25; ++n)
        results += QByteArray::number(n).rightJustified(5, '0') + ",line\r\n";
    home.WriteFile("Documents/VX-2968/data/" + QDate::currentDate().toString("yyyyMMdd") + ".csv",
                   results);
    home.WriteFile("outside.txt", "not for the report");

    const QString report = home.Path() + "/report.tar.gz";
    const Outcome write = Execute(Program, {"--service-report", report});
    ASSERT_EQ(write.Status, 0) << write.Err.toStdString();
    const QStringList members =
        QString::fromUtf8(Execute("tar", {"-tzf", report}).Out).split('\n', Qt::SkipEmptyParts);
    for (const char* m : {"README.txt", "version.txt", "serial-devices.txt", "fwdstr.ini",
                          "service/line.log", "service/line.log.1", "results-today.csv"})
        EXPECT_TRUE(members.contains(m)) << m;
    EXPECT_FALSE(members.join(' ').contains("outside"));

    const QByteArray tail = Execute("tar", {"-xzOf", report, "results-today.csv"}).Out;
    EXPECT_EQ(tail.count('\n'), 20);
    EXPECT_TRUE(tail.startsWith("00006,line\r\n") && tail.endsWith("00025,line\r\n"));
    const QByteArray readme = Execute("tar", {"-xzOf", report, "README.txt"}).Out;
    for (const char* part : {"version.txt", "serial-devices.txt", "fwdstr.ini", "service/line.log",
                             "results-today.csv"})
        EXPECT_TRUE(readme.contains(part)) << part;
}

TEST(ServiceReport, FailsWithOneLineAndLeavesNothingWhereItCannotWrite)
{
    TempHome home;
    QDir().mkpath(home.Path() + "/out/taken.tar.gz"); // a folder where the file should go
    for (const QString& target :
         {home.Path() + "/no-such-folder/r.tar.gz", home.Path() + "/out/taken.tar.gz"}) {
        const Outcome write = Execute(Program, {"--service-report", target});
        EXPECT_EQ(write.Status, 2) << target.toStdString();
        EXPECT_EQ(write.Err.count('\n'), 1) << write.Err.toStdString();
        EXPECT_TRUE(write.Err.startsWith("vx2968: ")) << write.Err.toStdString();
    }
    EXPECT_EQ(QDir(home.Path() + "/out").entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{"taken.tar.gz"});
}

} // namespace
