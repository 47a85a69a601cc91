// The fault campaign on the measurement screen: the real window, run form and number dialog
// against the logger simulator, one fault at a time at every stage where it can strike.
// Each row says what the operator is told, where the operator ends up, and what became of
// the results already on the disk.
#include "ScreenOnSimulator.h"
#include "screens/gui/frmNo.h"
#include "screens/gui/frmStart.h"

#include <QLineEdit>
#include <QRegularExpression>

namespace
{

enum Stage { Check, Settings, Monitor, Arming, Recording, Transfer, NumberDialog };
const char* const StageNames[] = {"Check",     "Settings", "Monitor",     "Arming",
                                  "Recording", "Transfer", "NumberDialog"};

// Where the operator stands once the fault has played out. Only a drop measured after all
// adds a line to the day's file; every other ending leaves it as it was.
enum Ending {
    MainMenu,  // the screen is gone: the main menu shows itself again
    Polls,     // the screen is back and keeps polling
    Cancelled, // the run waits on; the operator cancels and the screen keeps polling
    Measured,  // the drop was measured after all: one new line
};

// The one box a row ends with, in English ("": none).
struct Box {
    const char* Title;
    const char* Text;
};
const Box None{"", ""};
const Box NotConnected{"QL-860H Not Connected!", "QL-860H Not Connected!"};
const Box SensorMissing{"PWS-500C Not Connected!", "PWS-500C Not Connected!"};
const Box CommError{"RS-232C ERROR", "Communication Error on RS-232C!\r\nReturn Mainmenu.\r\n"
                                     "Check RS-232C Connection."};
const Box NoLogger{"No QL-860H error", "QL-860H is not connected!"};
const Box CommandError{"Command ERROR!", "The command is ignored!"};

struct Row {
    Stage At;
    // Simulator faults, '|' between two: given at its start for the connection check and the
    // settings read, struck at the stage's moment otherwise ("drop": the weight falls).
    const char* Faults;
    Box Told;
    Ending End;
    const char* Load = "7000"; // a measured drop: the load its new line holds
};

const Row Rows[] = {
    {Check, "silent", NotConnected, MainMenu},
    {Check, "nosensor", SensorMissing, MainMenu}, // ERR-031 to RES
    {Check, "garble RES", None, Polls},
    {Check, "partial RES", NotConnected, MainMenu},
    {Check, "nul RES", None, Polls},
    {Check, "stray", None, Polls},
    {Settings, "nochannel 2", SensorMissing, MainMenu},
    {Settings, "error VS 002", None, Polls},
    {Settings, "garble VS", None, Polls},
    {Settings, "partial SEA?", NoLogger, Polls},
    {Settings, "garble RNG?|garble EPD?|garble MNO?|garble CLK?|garble MRY*", None, Polls},
    {Monitor, "silent", CommError, MainMenu},
    {Monitor, "error MDT 031", CommError, MainMenu},
    {Monitor, "garble MDT", CommError, MainMenu},
    {Monitor, "nul MDT", None, Polls},
    {Monitor, "stray", None, Polls},
    {Monitor, "hangup-after 0", CommError, MainMenu},
    {Arming, "silent", CommError, MainMenu},
    {Arming, "error MNO? 002", CommandError, Cancelled},
    {Arming, "garble MNO?", None, Measured},
    {Arming, "error DTG 002", None, Cancelled},
    {Recording, "silent", CommError, MainMenu},
    {Recording, "hangup-after 0", CommError, MainMenu},
    {Recording, "stuck|drop", None, Cancelled},
    {Recording, "garble EOC|drop", None, Cancelled},
    {Recording, "partial EOC", CommError, MainMenu},
    {Recording, "stray|drop", None, Measured},
    {Transfer, "silent", CommError, MainMenu},
    {Transfer, "hangup-after 2", CommError, MainMenu},
    {Transfer, "error ANS? 002", CommError, MainMenu},
    {Transfer, "garble ANS?", CommError, MainMenu},
    {Transfer, "partial ANS?", CommError, MainMenu},
    {Transfer, "nul ANS?", None, Measured, "-1"},
    {Transfer, "garble EOC", CommError, MainMenu},
    {Transfer, "stray", None, Measured},
    {NumberDialog, "error MNO? 002", None, Polls},
    {NumberDialog, "garble MNO?", None, Polls},
    {NumberDialog, "partial MNO?", None, Polls},
    {NumberDialog, "silent", CommError, MainMenu},
};

class ScreenFaults : public ScreenOnSimulator, public testing::WithParamInterface<Row>
{
protected:
    void SetUp() override
    {
        ScreenOnSimulator::SetUp();
        WriteToday(StoredResults);
    }
    void Strike(const QStringList& faults)
    {
        for (const QString& f : faults) {
            const QString line = f == "drop" ? f : "fault " + f;
            EXPECT_TRUE(sim.Control(line)) << line.toStdString() << sim.ErrorText().toStdString();
        }
    }
    // The operator's side of a run that waits on: a few more progress polls, then cancel.
    void CancelLater(frmStart* form)
    {
        const int polls = Count("EOC");
        // A form that could not set itself up polls nothing: the operator cancels at once.
        EXPECT_TRUE(WaitFor([&] {
            return form->Run().State() == RunState::Manual || Count("EOC") >= polls + 3 ||
                   !form->isVisible();
        }));
        if (form->isVisible())
            Press(form->cmdCancel);
    }
};

TEST_P(ScreenFaults, TellsTheOperatorRecoversAndKeepsTheResults)
{
    const Row& c = GetParam();
    const QStringList faults = QString(c.Faults).split('|');
    QStringList options;
    if (c.At == Arming || c.At == Transfer)
        options << "--drop-after"
                << "30";
    if (c.At <= Settings) {
        for (const QString& f : faults)
            options << "--fault" << f;
    }
    ASSERT_TRUE(Open(options));
    if (c.At > Settings) {
        ASSERT_TRUE(WaitForMonitoring());
    }

    QString proposed = "(no dialog)";
    if (c.At == Monitor || c.At == NumberDialog || c.At == Arming)
        Strike(faults);
    if (c.At == NumberDialog) {
        WhenModalShown<frmNo>([&](frmNo* dialog) {
            proposed = dialog->txtNo->text();
            Press(dialog->CancelButton());
        });
        Press(screen->cmdNo);
    }
    if (c.At >= Arming && c.At <= Transfer) {
        WhenModalShown<frmStart>([&](frmStart* form) {
            if (c.At == Recording) {
                EXPECT_TRUE(WaitFor([&] { return form->Run().Armed(); }));
                Strike(faults);
            }
            if (c.At == Transfer) { // just before the transfer begins: the recording is complete
                form->Run().Repaint = [&, paint = form->Run().Repaint] {
                    if (paint)
                        paint();
                    Strike(faults);
                };
            }
            if (c.End == Cancelled)
                CancelLater(form);
        });
        Press(screen->cmdMeasure);
    }

    if (c.End == MainMenu) {
        EXPECT_TRUE(WaitFor([&] { return screen.isNull(); }, 30000)) << "the screen stayed";
        EXPECT_FALSE(link->PortOpened());
    } else {
        EXPECT_TRUE(c.At <= Settings ? WaitForMonitoring() : KeepsPolling()) << "not usable";
    }

    if (*c.Told.Title == '\0') {
        EXPECT_TRUE(messages.Shown.empty()) << messages.Shown[0].Title.En.toStdString();
    } else {
        ASSERT_EQ(messages.Shown.size(), 1u);
        const UiMessage& m = messages.Shown[0];
        EXPECT_EQ(m.Title.En, c.Told.Title);
        EXPECT_EQ(m.Buttons, MessageButtons::Ok);
        EXPECT_EQ(m.Text.En, c.Told.Text);
    }
    if (c.At == NumberDialog) {
        EXPECT_EQ(proposed, ""); // no number offered that the logger did not give
    }
    // Noise around a reading is no reason to hide it.
    if (c.At == Monitor && c.End == Polls && faults[0] != "nul MDT") {
        for (int row = 0; row < 2; ++row)
            EXPECT_NE(screen->MonitorGrid().Text(row, 1), "****") << row;
    }
    // A check that got through on a line fault read the logger as it is.
    if (c.At == Check && c.End == Polls) {
        EXPECT_EQ(context.Logger.ChannelCount, 2);
        EXPECT_EQ(context.Logger.MeasNo, 7);
    }

    const QByteArray after = Read(TodaysFile());
    if (c.End == Measured) {
        ASSERT_TRUE(after.startsWith(StoredResults)) << after.toStdString();
        const QList<QByteArray> added = after.mid(StoredResults.size()).split('\n');
        ASSERT_EQ(added.size(), 2) << after.toStdString(); // one line and what follows its end
        EXPECT_TRUE(added[0].startsWith("0000")) << added[0].toStdString();
        EXPECT_TRUE(added[0].endsWith('\r'));
        EXPECT_EQ(added[0].split(',').value(2), c.Load);
    } else {
        EXPECT_EQ(after, StoredResults);
    }
    if (screen) {
        ASSERT_GE(context.Results.ResultCount, 1);
        EXPECT_EQ(context.Results.Entries[0].No, "00003");
    }
}

INSTANTIATE_TEST_SUITE_P(Campaign, ScreenFaults, testing::ValuesIn(Rows), [](const auto& info) {
    return StageNames[info.param.At] + QString("_%1")
                                           .arg(info.param.Faults)
                                           .replace(QRegularExpression("\\W"), "_")
                                           .toStdString();
});

} // namespace
