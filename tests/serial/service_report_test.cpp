// `vx2968 --service-report FILE`, the real program in a user folder of its own: what the
// archive holds and leaves out, and a target that cannot be written.
#include "SmallDisk.h"
#include "TempHome.h"

#include <QDate>
#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

struct Outcome {
    int Status = -1;
    QByteArray Out, Err;
};

// Run in the home folder, with `setting` ("NAME=value") added to the environment.
Outcome Execute(const QString& program, const QStringList& arguments, const QString& setting = {})
{
    QProcess p;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!setting.isEmpty())
        environment.insert(setting.section('=', 0, 0), setting.section('=', 1));
    p.setProcessEnvironment(environment);
    p.setWorkingDirectory(QDir::homePath());
    p.start(program, arguments);
    Outcome r;
    if (p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit)
        r.Status = p.exitCode();
    r.Out = p.readAllStandardOutput();
    r.Err = p.readAllStandardError();
    return r;
}

const QString Program = QStringLiteral(VX_BIN_DIR "/vx2968");

QString Today()
{
    return "Documents/VX-2968/data/" + QDate::currentDate().toString("yyyyMMdd") + ".csv";
}

QByteArray Contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(ServiceReport, HoldsTheTranscriptSettingsAndTheEndOfTodaysResults)
{
    TempHome home;
    home.WriteFile("Documents/VX-2968/fwdstr.ini", "E");
    QByteArray transcript; // 5 MB, of which the report takes the last 2 MB
    for (int n = 0; transcript.size() < 5 * 1024 * 1024; ++n)
        transcript += "2024-05-01T09:00:00.000 COM1 opened " + QByteArray::number(n) + "\n";
    home.WriteFile("Documents/VX-2968/service/line.log", transcript);
    home.WriteFile("Documents/VX-2968/service/line.log.1", "older\n");
    const QString service = home.UserFolder() + "service/";
    ASSERT_EQ(::mkfifo(QFile::encodeName(service + "line.log.2").constData(), 0600), 0);
    QFile::link(home.Path() + "/outside.txt", service + "line.log.3");
    QByteArray results = "Dia=300,Poi=0.350\r\nNo,Date Time\r\n";
    for (int n = 1; n <= 25; ++n)
        results += QByteArray::number(n).rightJustified(5, '0') + ",line\r\n";
    home.WriteFile(Today(), results);
    home.WriteFile(QString(Today()).replace(".csv", ".pos"), "No.,Date Time\r\n00001,pos\r\n");
    home.WriteFile("Documents/VX-2968/service/gpsd-status.txt", "connected now: no\n");
    home.WriteFile("outside.txt", "not for the report");
    ASSERT_EQ(::link(QFile::encodeName(home.Path() + "/outside.txt").constData(),
                     QFile::encodeName(service + "line.log.4").constData()),
              0);

    const QString report = home.Path() + "/report.tar.gz";
    const Outcome write = Execute(Program, {"--service-report", report});
    ASSERT_EQ(write.Status, 0) << write.Err.toStdString();
    const QStringList members =
        QString::fromUtf8(Execute("tar", {"-tzf", report}).Out).split('\n', Qt::SkipEmptyParts);
    for (const char* m :
         {"README.txt", "version.txt", "serial-devices.txt", "fwdstr.ini", "service/line.log",
          "service/line.log.1", "results-today.csv", "positions-today.pos", "gpsd-status.txt"})
        EXPECT_TRUE(members.contains(m)) << m;
    EXPECT_FALSE(Execute("tar", {"-xzOf", report}).Out.contains("not for the report"));
    const QByteArray log = Execute("tar", {"-xzOf", report, "service/line.log"}).Out;
    EXPECT_LE(log.size(), 2 * 1024 * 1024);
    EXPECT_TRUE(log.endsWith(transcript.mid(transcript.lastIndexOf('\n', -2) + 1)));

    const QByteArray tail = Execute("tar", {"-xzOf", report, "results-today.csv"}).Out;
    EXPECT_EQ(tail.count('\n'), 20);
    EXPECT_TRUE(tail.startsWith("00006,line\r\n") && tail.endsWith("00025,line\r\n"));
    const QByteArray readme = Execute("tar", {"-xzOf", report, "README.txt"}).Out;
    for (const char* part :
         {"version.txt", "serial-devices.txt", "fwdstr.ini", "service/line.log",
          "results-today.csv", "service/line.log is 5.0 MB: only its last 2.0 MB are included.",
          "service/line.log.2 is a FIFO (named pipe), not a file; it was not opened.",
          "service/line.log.3 is a link to", "outside.txt, outside the user folder: not included.",
          "service/line.log.4 has 2 names (hard links), maybe outside the user folder"})
        EXPECT_TRUE(readme.contains(part)) << part;

    const Outcome piped = Execute(Program, {"--service-report", "-"});
    EXPECT_EQ(piped.Status, 0);
    EXPECT_TRUE(piped.Out.startsWith("\x1f\x8b")) << "a gzip archive on standard output";
}

TEST(ServiceReport, FailsWithOneLineAndLeavesNothingWhereItCannotWrite)
{
    TempHome home;
    home.WriteFile(Today(), "Dia=300,Poi=0.350\r\n");
    home.WriteFile("Documents/VX-2968/service/line.log", "the line\n");
    QDir().mkpath(home.Path() + "/out/taken.tar.gz"); // a folder where the file should go
    SmallDisk disk;
    if (disk.Mounted())
        disk.Fill();
    const struct {
        QString Target;
        QString Setting; // of the environment
        QString Reason;
    } rows[] = {
        {home.Path() + "/no-such-folder/r.tar.gz", "", "the file or its folder does not exist"},
        {home.Path() + "/out/taken.tar.gz", "", "it is a folder"},
        {home.Path() + "/" + Today(), "", "its name is that of a day's results file"},
        {home.UserFolder() + "service/line.log", "", "it is one of the files read"},
        {home.Path() + "/r.tar.gz", "PATH=" + home.Path(),
         "tar could not be started (it is not installed or not on PATH)"},
        {home.Path() + "/r.tar.gz", "TMPDIR=" + disk.Path(), "the disk is full"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Target.toStdString());
        if (row.Setting.startsWith("TMPDIR") && !disk.Mounted()) {
            std::puts("skipped the full disk: mounting a small file system needs root");
            continue;
        }
        const QString folder = QFileInfo(row.Target).path();
        const QStringList before = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden);
        const QByteArray old = Contents(row.Target);
        const Outcome write = Execute(Program, {"--service-report", row.Target}, row.Setting);
        EXPECT_EQ(write.Status, 2);
        EXPECT_EQ(write.Err.count('\n'), 1) << write.Err.toStdString();
        EXPECT_TRUE(write.Err.startsWith("vx2968: " + row.Target.toUtf8() + " cannot be written: "))
            << write.Err.toStdString();
        EXPECT_TRUE(write.Err.contains(row.Reason.toUtf8())) << write.Err.toStdString();
        EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden), before);
        EXPECT_EQ(Contents(row.Target), old);
    }
}

} // namespace
