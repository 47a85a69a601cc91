// A result the screen has shown is on the disk: the process that measured it is killed
// with SIGKILL right after the row appeared, and its line is complete in today's file.
//
// The measuring process is this test executable again, run in "child" mode: it drives the
// real measurement screen against the simulator through the same append path as the
// program, says "SHOWN" once the rows are in the grid and then waits to be killed.
#include "MeasuringDay.h"
#include "SimProcess.h"
#include "TempHome.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <iostream>

namespace
{

constexpr const char* ChildVariable = "VX_RUN_DURABILITY_CHILD";
constexpr int RunsBeforeTheKill = 3;

TEST(RunDurability, ChildMeasuresAndWaitsToBeKilled)
{
    if (qEnvironmentVariableIsEmpty(ChildVariable))
        GTEST_SKIP() << "runs only as the child of KilledRightAfterAResultLeavesItsLineComplete";
    MeasuringDay day;
    ASSERT_TRUE(day.Open());
    for (int i = 0; i < RunsBeforeTheKill; ++i)
        day.Drop();
    ASSERT_EQ(day.Screen->ResultGrid().Rows(), 2 + RunsBeforeTheKill);
    std::cout << "SHOWN " << day.Context.DailyFile.toStdString() << std::endl;
    std::getchar(); // until the parent kills this process
}

TEST(RunDurability, KilledRightAfterAResultLeavesItsLineComplete)
{
    TempHome home;
    QDir().mkpath(home.UserFolder());
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--com", "1", "--channels", "1,2,3", "--drop-after", "20", "--no-pace"}))
        << sim.ErrorText().toStdString();

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(ChildVariable, "1");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    child.setProcessEnvironment(env);
    child.setProgram(QCoreApplication::applicationFilePath());
    child.setArguments({"--gtest_filter=RunDurability.ChildMeasuresAndWaitsToBeKilled"});
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.start();
    ASSERT_TRUE(child.waitForStarted(10000));

    QByteArray out;
    QDeadlineTimer deadline(60000);
    while (!out.contains("SHOWN ") || !out.mid(out.indexOf("SHOWN ")).contains('\n')) {
        ASSERT_FALSE(deadline.hasExpired()) << "the child showed no result: " << out.toStdString()
                                            << child.readAllStandardError().toStdString();
        ASSERT_NE(child.state(), QProcess::NotRunning) << out.toStdString();
        child.waitForReadyRead(int(deadline.remainingTime()));
        out += child.readAllStandardOutput();
    }
    ::kill(pid_t(child.processId()), SIGKILL);
    ASSERT_TRUE(child.waitForFinished(10000));

    const int at = out.indexOf("SHOWN ") + 6;
    const QString path = QString::fromLocal8Bit(out.mid(at, out.indexOf('\n', at) - at));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    QList<QByteArray> lines = bytes.split('\n');
    lines.removeLast();
    ASSERT_EQ(lines.size(), 2 + RunsBeforeTheKill);
    for (int i = 2; i < lines.size(); ++i) {
        const QList<QByteArray> fields = lines[i].chopped(1).split(',');
        ASSERT_EQ(fields.size(), 12) << lines[i].toStdString();
        EXPECT_EQ(fields[0], QByteArray::number(i - 2).rightJustified(5, '0'));
        EXPECT_NE(fields[6], ""); // CH3, near the line's end
    }
}

} // namespace
