// The measurement screen end to end: the real window and run form (offscreen), the real
// QSerialLink, the logger simulator on a pseudo-terminal and real files.
#include "MeasuringDay.h"
#include "SimProcess.h"
#include "TempHome.h"
#include "screens/gui/frmInitial.h"
#include "screens/gui/frmNo.h"
#include "screens/gui/frmStart.h"

#include <QFile>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace
{

class RunAgainstSimulator : public testing::Test
{
protected:
    // The simulator on COM1, then the screen connected to it.
    void Open(QStringList options)
    {
        ASSERT_TRUE(sim.Start(options << "--com"
                                      << "1"))
            << sim.ErrorText().toStdString();
        day.Context.Time = &clock;
        ASSERT_TRUE(day.Open()) << "the screen did not connect";
        ASSERT_TRUE(day.Messages.Shown.empty());
    }

    QList<QByteArray> FileLines() const
    {
        QFile f(day.Context.G.DataFolder + "20240501.csv");
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QList<QByteArray> lines = f.readAll().split('\n');
        lines.removeLast(); // after the last line end
        return lines;
    }
    // The commands the simulator received after the last `marker` command.
    QStringList CommandsAfterLast(const QString& marker) const
    {
        const QStringList all = sim.Commands();
        return all.mid(all.lastIndexOf(marker) + 1);
    }

    TempHome home; // first: the simulator's port link and the day's folders go below it
    SimProcess sim;
    FixedClock clock{QDateTime(QDate(2024, 5, 1), QTime(10, 15, 0))};
    MeasuringDay day;
};

TEST_F(RunAgainstSimulator, LiveValuesThenADropBecomesARowALineAndTheNextNumber)
{
    // CH1 rests exactly at its trigger level 400: reached is not exceeded, the run arms.
    Open({"--channels", "1,2,4", "--mno", "32767", "--noise", "0", "--offset", "1=400", "--offset",
          "2=-12", "--offset", "4=30", "--drop-after", "30", "--no-pace"});
    GridModel& monitor = day.Screen->MonitorGrid();
    ASSERT_EQ(monitor.Rows(), 3);
    // 400 counts x 2.5 N, -12 and 30 counts x 0.05 m/s2.
    ASSERT_TRUE(WaitFor([&] { return !monitor.Text(2, 1).isEmpty(); }, 20000));
    EXPECT_EQ(monitor.Text(0, 1), QStringLiteral("1000"));
    EXPECT_EQ(monitor.Text(1, 1), QStringLiteral("-0.6"));
    EXPECT_EQ(monitor.Text(2, 1), QStringLiteral("1.5"));

    ASSERT_TRUE(day.Drop());
    EXPECT_TRUE(day.Messages.Shown.empty());
    GridModel& grid = day.Screen->ResultGrid();
    ASSERT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.Text(2, 0), "32767");
    EXPECT_EQ(grid.Text(2, 2), "7000"); // the simulator's peak load

    const QList<QByteArray> lines = FileLines();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], "Dia=300,Poi=0.350\r");
    EXPECT_EQ(lines[1], "No,Date Time,Load P0(N),Disp. D0(mm),K-NWR(MN/m3),E-NWR(MN/m2),"
                        ",Disp. D2,,,,E-CalcType\r");
    const QList<QByteArray> fields = lines[2].chopped(1).split(',');
    ASSERT_EQ(fields.size(), 12);
    EXPECT_EQ(fields.mid(0, 3), (QList<QByteArray>{"32767", "05/01/2024 10:15:00", "7000"}));
    EXPECT_EQ(fields[6], "");    // CH3 is not fitted
    EXPECT_NE(fields[7], "");    // CH4's displacement
    EXPECT_EQ(fields[11], "BU"); // SEA? 1

    // The wire: the run, then the next number (after the highest, 0) to every channel up to
    // CH4, then the selection of the active channels again.
    EXPECT_EQ(CommandsAfterLast("MNO?").mid(0, 8),
              (QStringList{"RES", "SET1", "SET2", "SET4", "MDT", "TRM21", "BAL", "DTG"}));
    EXPECT_EQ(CommandsAfterLast("ANS?").mid(0, 15),
              (QStringList{"RES", "SET1", "MNO0", "RES", "SET2", "MNO0", "RES", "SET3", "MNO0",
                           "RES", "SET4", "MNO0", "RES", "SET1", "SET2"}));
    EXPECT_EQ(day.Context.Logger.MeasNo, 0);

    Press(day.Screen->cmdReturn);
    ASSERT_TRUE(WaitFor([&] { return !day.Screen->isVisible(); }));
    EXPECT_FALSE(day.Line->PortOpened());
}

TEST_F(RunAgainstSimulator, AReadingAboveTheTriggerLevelRefusesTheRun)
{
    Open({"--channels", "1,2", "--tgl", "1=400", "--noise", "0", "--no-pace"});
    ASSERT_TRUE(sim.Control("offset 1 401"));
    EXPECT_FALSE(day.Drop());
    ASSERT_EQ(day.Messages.Shown.size(), 1u);
    EXPECT_EQ(day.Messages.Shown[0].Title.En, " Measurement impossible!!");
    EXPECT_FALSE(sim.Commands().contains("DTG"));
    EXPECT_TRUE(FileLines().isEmpty());
    EXPECT_TRUE(day.Screen->isVisible());
    EXPECT_TRUE(day.Screen->Interval.isActive());
}

TEST_F(RunAgainstSimulator, CancelWhileWaitingDisarmsAndAddsNothing)
{
    Open({"--channels", "1,2", "--no-pace"});
    WhenModalShown<frmStart>([&](frmStart* form) {
        EXPECT_TRUE(sim.WaitForTranscript("> DTG"));
        EXPECT_TRUE(WaitFor([&] { return form->Run().Armed(); }));
        Press(form->cmdCancel);
    });
    EXPECT_FALSE(day.Drop());
    const QStringList after = CommandsAfterLast("DTG");
    const int res = after.indexOf("RES");
    ASSERT_GE(res, 0);
    EXPECT_EQ(after.mid(0, res), QStringList(res, "EOC")); // progress polls while waiting
    EXPECT_EQ(after.mid(res, 4), (QStringList{"RES", "RES", "SET1", "SET2"}));
    EXPECT_TRUE(after.contains("VS")); // the settings read once more
    EXPECT_FALSE(after.contains("ANS?"));
    EXPECT_EQ(day.Context.Results.ResultCount, 0);
    EXPECT_TRUE(FileLines().isEmpty());
    EXPECT_TRUE(day.Messages.Shown.empty());
}

TEST_F(RunAgainstSimulator, TheNumberDialogProposesAndSetsTheLoggersNumber)
{
    Open({"--channels", "1,2,4", "--mno", "7", "--no-pace"});
    QString proposed;
    WhenModalShown<frmNo>([&](frmNo* dialog) {
        proposed = dialog->txtNo->text();
        FocusOn(dialog->txtNo);
        TypeKey(Qt::Key_A, Qt::ControlModifier);
        TypeText("25");
        Press(dialog->Command1[0]);
    });
    Press(day.Screen->cmdNo);
    EXPECT_EQ(proposed, "7"); // asked with every active channel selected
    EXPECT_EQ(day.Context.Logger.MeasNo, 25);
    EXPECT_EQ(
        CommandsAfterLast("MNO?").mid(0, 9),
        (QStringList{"RES", "SET1", "MNO25", "RES", "SET2", "MNO25", "RES", "SET4", "MNO25"}));

    // Balancing goes to the channels the monitor left selected.
    WhenModalShown<frmInitial>([](frmInitial* d) { Press(d->Command1[1]); });
    Press(day.Screen->cmdInitial);
    EXPECT_TRUE(sim.Commands().contains("BAL"));
    day.Line->RSCom("MNO?");
    EXPECT_EQ(day.Line->ReplyText(), "25,25,25\r\n");
}

struct SoilCase {
    const char* Sea;
    const char* Modulus;
    double Expected;
};

class SoilModulus : public RunAgainstSimulator, public testing::WithParamInterface<SoilCase>
{
};

TEST_P(SoilModulus, ComesBackWithinOnePercent)
{
    const SoilCase& c = GetParam();
    Open({"--channels", "1,2", "--sea", c.Sea, "--modulus", c.Modulus, "--load", "9000",
          "--drop-after", "20", "--no-pace"});
    ASSERT_TRUE(day.Drop());
    ASSERT_EQ(day.Context.Results.ResultCount, 1);
    EXPECT_NEAR(day.Context.Results.Entries[0].E, c.Expected, c.Expected * 0.01);
}

INSTANTIATE_TEST_SUITE_P(Run, SoilModulus,
                         testing::Values(SoilCase{"1", "80", 80.0}, SoilCase{"2", "35", 35.0}));

TEST_F(RunAgainstSimulator, ALineThatDropsDuringARunKeepsWhatWasStored)
{
    Open({"--channels", "1,2", "--drop-after", "20", "--no-pace"});
    ASSERT_TRUE(day.Drop()); // one result on the disk
    ASSERT_EQ(FileLines().size(), 3);
    const QByteArray stored = FileLines()[2];

    ASSERT_TRUE(sim.Control("fault stuck")); // this time the recording never completes
    WhenModalShown<frmStart>([&](frmStart* form) {
        EXPECT_TRUE(WaitFor([&] { return form->Run().Armed(); }));
        EXPECT_TRUE(sim.Control("fault hangup-after 1"));
    });
    EXPECT_FALSE(day.Drop());
    EXPECT_TRUE(WaitFor([&] { return !day.Screen->isVisible(); }, 20000)) << "the screen stayed";
    ASSERT_EQ(day.Messages.Shown.size(), 1u);
    EXPECT_EQ(day.Messages.Shown[0].Title.En, "RS-232C ERROR");
    EXPECT_EQ(day.Context.Results.ResultCount, 1);
    EXPECT_EQ(FileLines(), (QList<QByteArray>{FileLines()[0], FileLines()[1], stored}));
}

TEST_F(RunAgainstSimulator, AtTheSpeedOfTheLineInJapanese)
{
    day.Context.G.UiLanguage = 0;
    InitGlobalValues(day.Context.G);
    ResetFontSpecs(day.Context.G);
    Open({"--channels", "1,2", "--drop-after", "20", "--pace"});
    ASSERT_TRUE(day.Drop());
    EXPECT_EQ(day.Screen->ResultGrid().Text(2, 1), "2024/05/01 10:15:00");
    const QList<QByteArray> lines = FileLines();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[1].startsWith("No,Date Time,\x89\xd7\x8f\x64 P0(N),")); // CP932 荷重
    EXPECT_TRUE(lines[2].startsWith("00000,2024/05/01 10:15:00,7000,"));
}

} // namespace
