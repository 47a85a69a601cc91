// The measurement run end to end: the real measurement screen and run form (offscreen),
// the real QSerialLink, the logger simulator on a pseudo-terminal and real files.
#include "Press.h"
#include "SimProcess.h"
#include "TempHome.h"
#include "WaitFor.h"
#include "screens/gui/frmInitial.h"
#include "screens/gui/frmMemoryCardData2.h"
#include "screens/gui/frmNo.h"
#include "screens/gui/frmStart.h"
#include "serial/QSerialLink.h"
#include "shell/AppContext.h"
#include "shell/Startup.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <gtest/gtest.h>

#include "TestContext.h"

namespace
{

class RunAgainstSimulator : public testing::Test
{
protected:
    void SetUp() override { PrepareContext(context, home, messages, clock); }
    void TearDown() override
    {
        if (screen)
            delete screen.data();
    }

    // The simulator on COM1, then the screen connected to it.
    void Open(QStringList options)
    {
        options << "--com"
                << "1";
        ASSERT_TRUE(sim.Start(options)) << sim.ErrorText().toStdString();
        link = std::make_unique<QSerialLink>(context.Port, context.UserFolder, messages);
        context.Link = link.get();
        screen = new frmMemoryCardData2(context);
        screen->setAttribute(Qt::WA_DeleteOnClose);
        screen->show();
        ASSERT_TRUE(WaitFor([&] { return screen && screen->cmdMeasure->isVisible(); }, 30000))
            << "the screen did not connect";
        ASSERT_TRUE(messages.Shown.empty());
    }

    QString TodaysFile() const { return context.G.DataFolder + "20240501.csv"; }
    QList<QByteArray> FileLines() const
    {
        QFile f(TodaysFile());
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

    TempHome home; // first: the simulator's port link goes below this HOME
    SimProcess sim;
    AppContext context;
    RecordingMessages messages;
    FixedClock clock{QDateTime(QDate(2024, 5, 1), QTime(10, 15, 0))};
    std::unique_ptr<QSerialLink> link;
    QPointer<frmMemoryCardData2> screen;
};

TEST_F(RunAgainstSimulator, ADropBecomesARowALineAndTheNextNumber)
{
    Open({"--channels", "1,2,4", "--mno", "7", "--drop-after", "30", "--no-pace"});
    Press(screen->cmdMeasure);
    ASSERT_TRUE(screen);
    EXPECT_TRUE(messages.Shown.empty());

    GridModel& grid = screen->ResultGrid();
    ASSERT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.Text(2, 0), "00007");
    EXPECT_EQ(grid.Text(2, 2), "7000"); // the simulator's peak load
    EXPECT_TRUE(screen->cmdPrint->isVisible());

    const QList<QByteArray> lines = FileLines();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], "Dia=300,Poi=0.350\r");
    EXPECT_EQ(lines[1], "No,Date Time,Load P0(N),Disp. D0(mm),K-NWR(MN/m3),E-NWR(MN/m2),"
                        ",Disp. D2,,,,E-CalcType\r");
    const QList<QByteArray> fields = lines[2].chopped(1).split(',');
    ASSERT_EQ(fields.size(), 12);
    EXPECT_EQ(fields[0], "00007");
    EXPECT_EQ(fields[2], "7000");
    EXPECT_EQ(fields[4], grid.Text(2, 4).toLatin1());
    EXPECT_EQ(fields[6], "");    // CH3 is not fitted
    EXPECT_NE(fields[7], "");    // CH4's displacement
    EXPECT_EQ(fields[11], "BU"); // SEA? 1

    // The wire: the run, then the next number to every channel up to CH4, then the
    // selection of the active channels again.
    const QStringList run = CommandsAfterLast("MNO?");
    const QStringList expectedStart{"RES", "SET1", "SET2", "SET4", "MDT", "TRM21", "BAL", "DTG"};
    EXPECT_EQ(run.mid(0, expectedStart.size()), expectedStart);
    const QStringList tail = CommandsAfterLast("ANS?");
    EXPECT_EQ(tail.mid(0, 15),
              (QStringList{"RES", "SET1", "MNO8", "RES", "SET2", "MNO8", "RES", "SET3", "MNO8",
                           "RES", "SET4", "MNO8", "RES", "SET1", "SET2"}));
    EXPECT_EQ(context.Logger.MeasNo, 8);

    // The logger itself now holds 8 on every fitted channel.
    for (int ch : {1, 2, 4}) {
        link->RSCom("RES");
        link->RSCom(QString("SET%1").arg(ch));
        link->RSCom("MNO?");
        EXPECT_EQ(link->ReplyText(), "8\r\n") << "CH" << ch;
    }
}

TEST_F(RunAgainstSimulator, AReadingAboveTheTriggerLevelRefusesTheRun)
{
    Open({"--channels", "1,2", "--tgl", "1=400", "--no-pace"});
    ASSERT_TRUE(sim.Control("offset 1 500"));
    Press(screen->cmdMeasure);
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Title.En, " Measurement impossible!!");
    EXPECT_FALSE(sim.Commands().contains("DTG"));
    EXPECT_EQ(context.Results.ResultCount, 0);
    EXPECT_FALSE(QFile::exists(TodaysFile()));
    EXPECT_TRUE(screen->isVisible());
    EXPECT_TRUE(screen->Interval.isActive());
}

TEST_F(RunAgainstSimulator, CancelWhileWaitingDisarmsAndAddsNothing)
{
    Open({"--channels", "1,2", "--no-pace"});
    WhenModalShown<frmStart>([&](frmStart* form) {
        EXPECT_TRUE(sim.WaitForTranscript("> DTG"));
        EXPECT_TRUE(WaitFor([&] { return form->Run().Armed(); }));
        Press(form->cmdCancel);
    });
    Press(screen->cmdMeasure);
    const QStringList after = CommandsAfterLast("DTG");
    ASSERT_GE(after.size(), 4);
    const int res = after.indexOf("RES");
    ASSERT_GE(res, 0);
    for (int i = 0; i < res; ++i)
        EXPECT_EQ(after[i], "EOC"); // progress polls while waiting, nothing else
    EXPECT_EQ(after.mid(res, 4), (QStringList{"RES", "RES", "SET1", "SET2"}));
    EXPECT_TRUE(after.contains("VS")); // the settings read once more
    EXPECT_FALSE(after.contains("EXE0"));
    EXPECT_FALSE(after.contains("ANS?"));
    EXPECT_EQ(context.Results.ResultCount, 0);
    EXPECT_FALSE(QFile::exists(TodaysFile()));
    EXPECT_TRUE(messages.Shown.empty());
}

TEST_F(RunAgainstSimulator, TheNumberDialogProposesAndSetsTheLoggersNumber)
{
    Open({"--channels", "1,2,4", "--mno", "7", "--no-pace"});
    QString proposed;
    WhenModalShown<frmNo>([&](frmNo* dialog) {
        proposed = dialog->txtNo->text();
        dialog->txtNo->setText("25");
        Press(dialog->Command1[0]);
    });
    Press(screen->cmdNo);
    EXPECT_EQ(proposed, "7"); // asked with every active channel selected
    EXPECT_EQ(context.Logger.MeasNo, 25);
    const QStringList sent = CommandsAfterLast("MNO?");
    EXPECT_EQ(sent.mid(0, 9), (QStringList{"RES", "SET1", "MNO25", "RES", "SET2", "MNO25", "RES",
                                           "SET4", "MNO25"}));

    // Balancing goes to the channels the monitor left selected.
    WhenModalShown<frmInitial>([](frmInitial* d) { Press(d->Command1[1]); });
    Press(screen->cmdInitial);
    EXPECT_TRUE(sim.Commands().contains("BAL"));
    link->RSCom("MNO?");
    EXPECT_EQ(link->ReplyText(), "25,25,25\r\n");
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
    Press(screen->cmdMeasure);
    ASSERT_EQ(context.Results.ResultCount, 1);
    EXPECT_NEAR(context.Results.Entries[0].E, c.Expected, c.Expected * 0.01);
}

INSTANTIATE_TEST_SUITE_P(Run, SoilModulus,
                         testing::Values(SoilCase{"1", "80", 80.0}, SoilCase{"2", "120", 120.0},
                                         SoilCase{"2", "35", 35.0}));

TEST_F(RunAgainstSimulator, ALineThatDropsDuringARunKeepsWhatWasStored)
{
    Open({"--channels", "1,2", "--drop-after", "20", "--no-pace"});
    Press(screen->cmdMeasure); // one result on the disk
    ASSERT_EQ(FileLines().size(), 3);
    const QByteArray stored = FileLines()[2];

    ASSERT_TRUE(sim.Control("fault stuck")); // this time the recording never completes
    WhenModalShown<frmStart>([&](frmStart* form) {
        EXPECT_TRUE(WaitFor([&] { return form->Run().Armed(); }));
        EXPECT_TRUE(sim.Control("fault hangup-after 1"));
    });
    Press(screen->cmdMeasure);
    EXPECT_TRUE(WaitFor([&] { return screen.isNull(); }, 20000)) << "the screen stayed";
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Title.En, "RS-232C ERROR");
    EXPECT_EQ(context.Results.ResultCount, 1);
    ASSERT_EQ(FileLines().size(), 3);
    EXPECT_EQ(FileLines()[2], stored);
}

TEST_F(RunAgainstSimulator, AtTheSpeedOfTheLineInJapanese)
{
    context.G.UiLanguage = 0;
    InitGlobalValues(context.G);
    ResetFontSpecs(context.G);
    Open({"--channels", "1,2", "--drop-after", "20", "--pace"});
    Press(screen->cmdMeasure);
    ASSERT_EQ(context.Results.ResultCount, 1);
    EXPECT_EQ(screen->ResultGrid().Text(2, 1), "2024/05/01 10:15:00");
    const QList<QByteArray> lines = FileLines();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[1].startsWith("No,Date Time,\x89\xd7\x8f\x64 P0(N),")); // CP932 荷重
    EXPECT_TRUE(lines[2].startsWith("00000,2024/05/01 10:15:00,7000,"));
}

} // namespace
