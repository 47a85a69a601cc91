// The measurement screen end to end: the real window and run form (offscreen), the real
// QSerialLink, the logger simulator on a pseudo-terminal and real files.
#include "MeasuringDay.h"
#include "SimProcess.h"
#include "TempHome.h"
#include "screens/gui/frmInitial.h"
#include "screens/gui/frmNo.h"

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
    ASSERT_EQ(day.Context.Results.ResultCount, 1);
    EXPECT_NEAR(day.Context.Results.Entries[0].E, 50.0, 0.5); // its soil, after Burmister

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

TEST_F(RunAgainstSimulator, TheNumberDialogProposesAndSetsTheLoggersNumber)
{
    Open({"--channels", "1,2,4", "--mno", "7", "--no-pace"});
    QString proposed;
    WhenModalShown<frmNo>([&](frmNo* dialog) {
        proposed = dialog->txtNo->text();
        FocusOn(dialog->txtNo);
        TypeKey(Qt::Key_A, Qt::ControlModifier);
        TypeText("25");
        Press(dialog->ApplyButton());
    });
    Press(day.Screen->cmdNo);
    EXPECT_EQ(proposed, "7"); // asked with every active channel selected
    EXPECT_EQ(day.Context.Logger.MeasNo, 25);
    EXPECT_EQ(
        CommandsAfterLast("MNO?").mid(0, 9),
        (QStringList{"RES", "SET1", "MNO25", "RES", "SET2", "MNO25", "RES", "SET4", "MNO25"}));

    // Balancing goes to the channels the monitor left selected.
    WhenModalShown<frmInitial>([](frmInitial* d) { Press(d->OkButton()); });
    Press(day.Screen->cmdInitial);
    EXPECT_TRUE(sim.Commands().contains("BAL"));
    day.Line->RSCom("MNO?");
    EXPECT_EQ(day.Line->ReplyText(), "25,25,25\r\n");
}

TEST_F(RunAgainstSimulator, BoussinesqAtTheSpeedOfTheLineInJapanese)
{
    day.Context.G.UiLanguage = UiLanguage::Japanese;
    InitGlobalValues(day.Context.G);
    ResetFontSpecs(day.Context.G);
    Open({"--channels", "1,2", "--sea", "2", "--modulus", "35", "--load", "9000", "--drop-after",
          "20", "--pace"});
    ASSERT_TRUE(day.Drop());
    ASSERT_EQ(day.Context.Results.ResultCount, 1);
    EXPECT_NEAR(day.Context.Results.Entries[0].E, 35.0, 0.35);
    EXPECT_EQ(day.Screen->ResultGrid().Text(2, 1), "2024/05/01 10:15:00");
    const QList<QByteArray> lines = FileLines();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[1].startsWith("No,Date Time,\x89\xd7\x8f\x64 P0(N),")); // CP932 荷重
    EXPECT_TRUE(lines[2].startsWith("00000,2024/05/01 10:15:00,9000,"));
}

} // namespace
