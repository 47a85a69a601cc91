// The fault campaign on the measurement screen: the real window, run form and number
// dialog on a real QSerialLink to the logger simulator over a pty, one fault at a time at
// every stage where it can strike. Each scenario checks what the operator is told, that
// the program is usable again within a generous bound, and that the results already on
// the disk are untouched (with one new line where a drop was measured after all).
#include "CampaignTable.h"
#include "Press.h"
#include "SimProcess.h"
#include "TempHome.h"
#include "WaitFor.h"
#include "logger/LiveMonitor.h"
#include "logger/LoggerReplies.h"
#include "screens/gui/frmMemoryCardData2.h"
#include "screens/gui/frmNo.h"
#include "screens/gui/frmStart.h"
#include "serial/QSerialLink.h"
#include "shell/AppContext.h"
#include "shell/Startup.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <gtest/gtest.h>

#include "TestContext.h"

namespace
{

enum class Stage { Check, SettingsRead, Monitor, Arming, Recording, Transfer, NumberDialog };
// Where the operator stands once the fault has played out.
enum class Ending {
    MainMenu,   // the screen is gone: the main menu shows itself again
    Monitoring, // the screen is back and keeps polling
    Cancelled,  // the run waits on; the operator cancels and the screen keeps polling
    Measured,   // the drop was measured after all: one new line
};

const char* StageName(Stage s)
{
    switch (s) {
    case Stage::Check:
        return "connection check";
    case Stage::SettingsRead:
        return "settings read";
    case Stage::Monitor:
        return "monitor";
    case Stage::Arming:
        return "arming";
    case Stage::Recording:
        return "recording";
    case Stage::Transfer:
        return "transfer";
    case Stage::NumberDialog:
        return "number dialog";
    }
    return "";
}

const QString NotConnected = QStringLiteral("QL-860H Not Connected!");
const QString SensorMissing = QStringLiteral("PWS-500C Not Connected!");
const QString CommunicationError = QStringLiteral("RS-232C ERROR");
const QString CommunicationErrorText = QStringLiteral(
    "Communication Error on RS-232C!\r\nReturn Mainmenu.\r\nCheck RS-232C Connection.");

struct ScreenCase {
    QString Name;
    Stage At;
    QStringList StartFaults; // in effect from the simulator's start
    QStringList Strike;      // control lines at the stage's moment
    QString Title;           // the one message box expected (English title), empty: none
    Ending End;
    QString Proposed = QString(); // number dialog: what its entry offers
    QByteArray Load = "7000";     // a measured drop: the load its new line holds
};

// The text of each box a scenario may end with, by its English title.
QString ExpectedText(const QString& title)
{
    if (title == CommunicationError)
        return CommunicationErrorText;
    if (title == "No QL-860H error")
        return "QL-860H is not connected!";
    if (title == "Command ERROR!")
        return "The command is ignored!";
    return title;
}

void PrintTo(const ScreenCase& c, std::ostream* os)
{
    *os << c.Name.toStdString();
}

// One result of earlier in the day, in the file the screen reads at load.
const QByteArray StoredResults =
    "Dia=300,Poi=0.350\r\n"
    "No,Date Time,Load P0(N),Disp. D0(mm),K-NWR(MN/m3),E-NWR(MN/m2),,,,,,E-CalcType\r\n"
    "00003,05/01/2024 09:00:00,7000,0.521,44.8,50.0,,,,,,BU\r\n";

class ScreenFaults : public testing::TestWithParam<ScreenCase>
{
protected:
    void SetUp() override
    {
        PrepareContext(context, home, messages, clock);
        QFile file(TodaysFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(StoredResults);
    }
    void TearDown() override
    {
        if (screen)
            delete screen.data();
    }

    QString TodaysFile() const { return context.G.DataFolder + "20240501.csv"; }
    QByteArray FileBytes() const
    {
        QFile f(TodaysFile());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    int Count(const QString& command) const { return int(sim.Commands().count(command)); }

    bool StartAndOpen(const ScreenCase& c, const QStringList& extra)
    {
        QStringList options{"--com", "1", "--no-pace", "--channels", "1,2", "--mno", "7"};
        options << extra;
        for (const QString& f : c.StartFaults)
            options << "--fault" << f;
        if (!sim.Start(options)) {
            ADD_FAILURE() << sim.ErrorText().toStdString();
            return false;
        }
        link = std::make_unique<QSerialLink>(context.Port, context.UserFolder, messages);
        context.Link = link.get();
        screen = new frmMemoryCardData2(context);
        screen->setAttribute(Qt::WA_DeleteOnClose);
        screen->show();
        return true;
    }
    bool Monitoring() const
    {
        return screen && screen->isVisible() && screen->MonitorMode == 1 &&
               screen->Interval.isActive() && screen->cmdMeasure->isVisible();
    }
    bool WaitForMonitoring()
    {
        return WaitFor([&] { return Monitoring(); }, 20000);
    }
    void Strike(const QStringList& lines)
    {
        for (const QString& line : lines)
            EXPECT_TRUE(sim.Control(line)) << line.toStdString() << sim.ErrorText().toStdString();
    }
    // The screen polls on: two more "MDT" than now, and still on screen.
    bool KeepsPolling()
    {
        const int before = Count("MDT");
        return WaitFor([&] { return Count("MDT") >= before + 2 || !screen; }, 20000) &&
               Monitoring();
    }

    TempHome home; // first: the simulator's port link goes below this HOME
    SimProcess sim;
    AppContext context;
    RecordingMessages messages;
    FixedClock clock{QDateTime(QDate(2024, 5, 1), QTime(10, 15, 0))};
    std::unique_ptr<QSerialLink> link;
    QPointer<frmMemoryCardData2> screen;
};

TEST_P(ScreenFaults, TellsTheOperatorRecoversAndKeepsTheResults)
{
    const ScreenCase& c = GetParam();
    const QByteArray before = FileBytes();
    const bool drops = c.At == Stage::Arming || c.At == Stage::Transfer;
    ASSERT_TRUE(StartAndOpen(c, drops ? QStringList{"--drop-after", "30"} : QStringList{}));
    QElapsedTimer sinceStrike;
    sinceStrike.start();
    QString proposed;

    // The operator's side of a run that waits on: a few more progress polls, then cancel.
    auto cancelLater = [&](frmStart* form) {
        const int polls = Count("EOC");
        // A form that could not set itself up polls nothing: the operator cancels at once.
        EXPECT_TRUE(WaitFor([&] {
            return form->Run().State() == RunState::Manual || Count("EOC") >= polls + 3 ||
                   !form->isVisible();
        }));
        if (form->isVisible())
            Press(form->cmdCancel);
    };

    switch (c.At) {
    case Stage::Check:
    case Stage::SettingsRead:
        break;
    case Stage::Monitor:
        ASSERT_TRUE(WaitForMonitoring());
        Strike(c.Strike);
        sinceStrike.restart();
        break;
    case Stage::NumberDialog:
        ASSERT_TRUE(WaitForMonitoring());
        Strike(c.Strike);
        WhenModalShown<frmNo>([&](frmNo* dialog) {
            proposed = dialog->txtNo->text();
            Press(dialog->Command1[1]);
        });
        sinceStrike.restart();
        Press(screen->cmdNo);
        break;
    case Stage::Arming:
        ASSERT_TRUE(WaitForMonitoring());
        Strike(c.Strike);
        WhenModalShown<frmStart>([&](frmStart* form) {
            if (c.End == Ending::Cancelled)
                cancelLater(form);
        });
        sinceStrike.restart();
        Press(screen->cmdMeasure);
        break;
    case Stage::Recording:
        ASSERT_TRUE(WaitForMonitoring());
        WhenModalShown<frmStart>([&](frmStart* form) {
            EXPECT_TRUE(WaitFor([&] { return form->Run().Armed(); }));
            Strike(c.Strike);
            sinceStrike.restart();
            if (c.End == Ending::Cancelled)
                cancelLater(form);
        });
        Press(screen->cmdMeasure);
        break;
    case Stage::Transfer:
        ASSERT_TRUE(WaitForMonitoring());
        WhenModalShown<frmStart>([&](frmStart* form) {
            // Just before the transfer begins: the recording is complete.
            auto paint = form->Run().Repaint;
            form->Run().Repaint = [&, paint] {
                if (paint)
                    paint();
                Strike(c.Strike);
                sinceStrike.restart();
            };
        });
        Press(screen->cmdMeasure);
        break;
    }

    bool usable = false;
    switch (c.End) {
    case Ending::MainMenu:
        usable = WaitFor([&] { return screen.isNull(); }, 30000);
        break;
    case Ending::Monitoring:
    case Ending::Cancelled:
    case Ending::Measured:
        usable = c.At <= Stage::SettingsRead ? WaitForMonitoring() : KeepsPolling();
        break;
    }
    const qint64 usableMs = sinceStrike.elapsed();
    EXPECT_TRUE(usable) << "not usable again";
    EXPECT_LT(usableMs, 60000);

    QString seen;
    for (const UiMessage& m : messages.Shown)
        seen += (seen.isEmpty() ? "" : " + ") + m.Title.En + ": " + m.Text.En;
    if (seen.isEmpty())
        seen = QStringLiteral("no message");
    if (c.At == Stage::NumberDialog)
        seen += QStringLiteral(" [entry offers \"%1\"]").arg(proposed);

    if (c.Title.isEmpty()) {
        EXPECT_TRUE(messages.Shown.empty()) << seen.toStdString();
    } else {
        ASSERT_EQ(messages.Shown.size(), 1u) << seen.toStdString();
        const UiMessage& m = messages.Shown[0];
        EXPECT_EQ(m.Title.En, c.Title);
        EXPECT_EQ(m.Buttons, MessageButtons::Ok);
        EXPECT_EQ(m.Text.En, ExpectedText(c.Title));
        if (c.Title == CommunicationError) {
            EXPECT_EQ(m.Title.Ja, QString::fromUtf8("RS-232Cエラー"));
        }
    }
    if (c.At == Stage::NumberDialog) {
        EXPECT_EQ(proposed, c.Proposed);
    }
    if (c.End == Ending::MainMenu) {
        EXPECT_FALSE(link->PortOpened());
    }
    // Noise around a reading is no reason to hide it.
    if (c.At == Stage::Monitor && c.End == Ending::Monitoring && !c.Name.startsWith("NUL")) {
        for (int row = 0; row < 2; ++row)
            EXPECT_NE(screen->MonitorGrid().Text(row, 1), "****") << row;
    }
    // A check that got through on a line fault read the logger as it is.
    if (c.At == Stage::Check && c.End == Ending::Monitoring) {
        EXPECT_EQ(context.Logger.ChannelCount, 2);
        EXPECT_EQ(context.Logger.PlateDiameter, 300);
        EXPECT_EQ(context.Logger.MeasNo, 7);
        EXPECT_EQ(context.Logger.RecordLength, 800);
    }

    const QByteArray after = FileBytes();
    QString results = QStringLiteral("1 line = 1 line");
    if (c.End == Ending::Measured) {
        ASSERT_TRUE(after.startsWith(before)) << after.toStdString();
        const QList<QByteArray> added = after.mid(before.size()).split('\n');
        ASSERT_EQ(added.size(), 2) << after.toStdString(); // one line and what follows its end
        EXPECT_TRUE(added[0].startsWith("0000")) << added[0].toStdString();
        EXPECT_TRUE(added[0].endsWith('\r'));
        EXPECT_EQ(added[0].split(',').value(2), c.Load);
        results = QStringLiteral("1 line, then 1 + the new one");
    } else {
        EXPECT_EQ(after, before);
    }
    if (screen) {
        ASSERT_GE(context.Results.ResultCount, 1);
        EXPECT_EQ(context.Results.Entries[0].No, "00003");
    }
    CampaignTable::Instance().Add({c.Name, StageName(c.At), seen, usableMs, results});
}

std::vector<ScreenCase> ErrorCodeCases()
{
    std::vector<ScreenCase> cases;
    for (const char* code : {"001", "002", "003", "004", "005", "006", "007", "008", "009", "010",
                             "011", "012", "030", "031"})
        cases.push_back({QStringLiteral("ERR-%1 to RES").arg(code),
                         Stage::Check,
                         {QStringLiteral("error RES %1").arg(code)},
                         {},
                         SensorMissing,
                         Ending::MainMenu});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryErrorCode, ScreenFaults, testing::ValuesIn(ErrorCodeCases()),
                         [](const auto& info) { return "ERR" + std::to_string(info.index); });

const ScreenCase CheckAndSettingsCases[] = {
    {"no answer", Stage::Check, {"silent"}, {}, NotConnected, Ending::MainMenu},
    {"sensor unit missing", Stage::Check, {"nosensor"}, {}, SensorMissing, Ending::MainMenu},
    {"garbled RES", Stage::Check, {"garble RES"}, {}, "", Ending::Monitoring},
    {"partial RES", Stage::Check, {"partial RES"}, {}, NotConnected, Ending::MainMenu},
    {"NUL bytes in RES", Stage::Check, {"nul RES"}, {}, "", Ending::Monitoring},
    {"6000-byte RES", Stage::Check, {"longline RES"}, {}, NotConnected, Ending::MainMenu},
    {"RES 1300 ms late (over 1000)",
     Stage::Check,
     {"slow RES 1300"},
     {},
     NotConnected,
     Ending::MainMenu},
    {"stray bytes", Stage::Check, {"stray"}, {}, "", Ending::Monitoring},
    {"CH2 missing", Stage::SettingsRead, {"nochannel 2"}, {}, SensorMissing, Ending::MainMenu},
    {"ERR-002 to VS", Stage::SettingsRead, {"error VS 002"}, {}, "", Ending::Monitoring},
    {"garbled VS", Stage::SettingsRead, {"garble VS"}, {}, "", Ending::Monitoring},
    {"partial SEA?",
     Stage::SettingsRead,
     {"partial SEA?"},
     {},
     "No QL-860H error",
     Ending::Monitoring},
    {"non-numeric RNG?", Stage::SettingsRead, {"garble RNG?"}, {}, "", Ending::Monitoring},
    {"non-numeric EPD?", Stage::SettingsRead, {"garble EPD?"}, {}, "", Ending::Monitoring},
    {"non-numeric MNO?", Stage::SettingsRead, {"garble MNO?"}, {}, "", Ending::Monitoring},
    {"non-numeric CLK? MRY?",
     Stage::SettingsRead,
     {"garble CLK?", "garble MRY*"},
     {},
     "",
     Ending::Monitoring},
    {"NUL bytes in LPF?", Stage::SettingsRead, {"nul LPF?"}, {}, "", Ending::Monitoring},
    {"6000-byte EPD?", Stage::SettingsRead, {"longline EPD?"}, {}, "", Ending::Monitoring},
    {"VS 700 ms late (over 500)",
     Stage::SettingsRead,
     {"slow VS 700"},
     {},
     "No QL-860H error",
     Ending::Monitoring},
};

INSTANTIATE_TEST_SUITE_P(CheckAndSettings, ScreenFaults, testing::ValuesIn(CheckAndSettingsCases),
                         [](const auto& info) { return "C" + std::to_string(info.index); });

const ScreenCase MonitorCases[] = {
    {"no answer", Stage::Monitor, {}, {"fault silent"}, CommunicationError, Ending::MainMenu},
    {"ERR-031 to MDT",
     Stage::Monitor,
     {},
     {"fault error MDT 031"},
     CommunicationError,
     Ending::MainMenu},
    {"garbled MDT", Stage::Monitor, {}, {"fault garble MDT"}, CommunicationError, Ending::MainMenu},
    {"partial MDT",
     Stage::Monitor,
     {},
     {"fault partial MDT"},
     CommunicationError,
     Ending::MainMenu},
    {"NUL bytes in MDT", Stage::Monitor, {}, {"fault nul MDT"}, "", Ending::Monitoring},
    {"6000-byte MDT",
     Stage::Monitor,
     {},
     {"fault longline MDT"},
     CommunicationError,
     Ending::MainMenu},
    {"MDT 700 ms late (over 500)",
     Stage::Monitor,
     {},
     {"fault slow MDT 700"},
     CommunicationError,
     Ending::MainMenu},
    {"stray bytes", Stage::Monitor, {}, {"fault stray"}, "", Ending::Monitoring},
    {"hang-up", Stage::Monitor, {}, {"fault hangup-after 0"}, CommunicationError, Ending::MainMenu},
};

INSTANTIATE_TEST_SUITE_P(Monitor, ScreenFaults, testing::ValuesIn(MonitorCases),
                         [](const auto& info) { return "M" + std::to_string(info.index); });

const ScreenCase RunCases[] = {
    {"no answer", Stage::Arming, {}, {"fault silent"}, CommunicationError, Ending::MainMenu},
    {"ERR-002 to MNO?",
     Stage::Arming,
     {},
     {"fault error MNO? 002"},
     "Command ERROR!",
     Ending::Cancelled},
    {"non-numeric MNO?", Stage::Arming, {}, {"fault garble MNO?"}, "", Ending::Measured},
    {"ERR-002 to DTG", Stage::Arming, {}, {"fault error DTG 002"}, "", Ending::Cancelled},
    {"no answer", Stage::Recording, {}, {"fault silent"}, CommunicationError, Ending::MainMenu},
    {"hang-up",
     Stage::Recording,
     {},
     {"fault hangup-after 0"},
     CommunicationError,
     Ending::MainMenu},
    {"recording never completes",
     Stage::Recording,
     {},
     {"fault stuck", "drop"},
     "",
     Ending::Cancelled},
    {"non-numeric EOC", Stage::Recording, {}, {"fault garble EOC", "drop"}, "", Ending::Cancelled},
    {"partial EOC",
     Stage::Recording,
     {},
     {"fault partial EOC"},
     CommunicationError,
     Ending::MainMenu},
    {"6000-byte EOC",
     Stage::Recording,
     {},
     {"fault longline EOC"},
     CommunicationError,
     Ending::MainMenu},
    {"EOC 700 ms late (over 500)",
     Stage::Recording,
     {},
     {"fault slow EOC 700"},
     "",
     Ending::Cancelled},
    {"no answer", Stage::Transfer, {}, {"fault silent"}, CommunicationError, Ending::MainMenu},
    {"hang-up",
     Stage::Transfer,
     {},
     {"fault hangup-after 2"},
     CommunicationError,
     Ending::MainMenu},
    {"ERR-002 to ANS?",
     Stage::Transfer,
     {},
     {"fault error ANS? 002"},
     CommunicationError,
     Ending::MainMenu},
    {"ERR-031 to ANS?",
     Stage::Transfer,
     {},
     {"fault error ANS? 031"},
     CommunicationError,
     Ending::MainMenu},
    {"garbled ANS?",
     Stage::Transfer,
     {},
     {"fault garble ANS?"},
     CommunicationError,
     Ending::MainMenu},
    {"partial ANS?",
     Stage::Transfer,
     {},
     {"fault partial ANS?"},
     CommunicationError,
     Ending::MainMenu},
    {"NUL bytes in ANS?", Stage::Transfer, {}, {"fault nul ANS?"}, "", Ending::Measured, "", "-1"},
    {"6000-byte ANS?",
     Stage::Transfer,
     {},
     {"fault longline ANS?"},
     CommunicationError,
     Ending::MainMenu},
    {"ANS? 700 ms late (over 500)",
     Stage::Transfer,
     {},
     {"fault slow ANS? 700"},
     CommunicationError,
     Ending::MainMenu},
    {"non-numeric EOC",
     Stage::Transfer,
     {},
     {"fault garble EOC"},
     CommunicationError,
     Ending::MainMenu},
    {"stray bytes", Stage::Transfer, {}, {"fault stray"}, "", Ending::Measured},
    {"stray bytes", Stage::Recording, {}, {"fault stray", "drop"}, "", Ending::Measured},
};

INSTANTIATE_TEST_SUITE_P(Run, ScreenFaults, testing::ValuesIn(RunCases),
                         [](const auto& info) { return "R" + std::to_string(info.index); });

const ScreenCase NumberCases[] = {
    {"ERR-002 to MNO?",
     Stage::NumberDialog,
     {},
     {"fault error MNO? 002"},
     "",
     Ending::Monitoring,
     ""},
    {"non-numeric MNO?",
     Stage::NumberDialog,
     {},
     {"fault garble MNO?"},
     "",
     Ending::Monitoring,
     ""},
    {"partial MNO?", Stage::NumberDialog, {}, {"fault partial MNO?"}, "", Ending::Monitoring, ""},
    {"NUL bytes in MNO?", Stage::NumberDialog, {}, {"fault nul MNO?"}, "", Ending::Monitoring, ""},
    {"6000-byte MNO?",
     Stage::NumberDialog,
     {},
     {"fault longline MNO?"},
     "",
     Ending::Monitoring,
     ""},
    {"MNO? 700 ms late (over 500)",
     Stage::NumberDialog,
     {},
     {"fault slow MNO? 700"},
     "",
     Ending::Monitoring,
     ""},
    {"no answer",
     Stage::NumberDialog,
     {},
     {"fault silent"},
     CommunicationError,
     Ending::MainMenu,
     ""},
};

INSTANTIATE_TEST_SUITE_P(NumberDialog, ScreenFaults, testing::ValuesIn(NumberCases),
                         [](const auto& info) { return "N" + std::to_string(info.index); });

// More "ANS?" fields than the program has channels: the logger has CH4 selected behind the
// program's back (its "RES" refused), so every reply carries a third field.
TEST_F(ScreenFaults, MoreAnswerFieldsThanChannelsAreIgnored)
{
    const QByteArray before = FileBytes();
    ScreenCase c{"more ANS? fields than channels",
                 Stage::Transfer,
                 {"nochannel 4"},
                 {},
                 "",
                 Ending::Measured};
    sim.Stop();
    QStringList options{"--com", "1",       "--no-pace",   "--channels",   "1,2,4", "--mno",
                        "7",     "--fault", "nochannel 4", "--drop-after", "30"};
    ASSERT_TRUE(sim.Start(options)) << sim.ErrorText().toStdString();
    link = std::make_unique<QSerialLink>(context.Port, context.UserFolder, messages);
    context.Link = link.get();
    screen = new frmMemoryCardData2(context);
    screen->setAttribute(Qt::WA_DeleteOnClose);
    screen->show();
    ASSERT_TRUE(WaitForMonitoring());
    ASSERT_FALSE(context.Logger.Channel[4].Active);
    ASSERT_TRUE(sim.Control("fault none"));
    ASSERT_TRUE(sim.Control("fault error RES 002"));
    ASSERT_GT(link->RSCom("SET4"), 0); // between two polls: no exchange is cut into
    ASSERT_GT(link->RSCom("ANS?"), 0);
    ASSERT_EQ(link->ReplyText().count(','), 2) << link->ReplyText().toStdString();

    QElapsedTimer t;
    t.start();
    Press(screen->cmdMeasure);
    ASSERT_TRUE(KeepsPolling());
    EXPECT_TRUE(messages.Shown.empty());
    ASSERT_EQ(context.Results.ResultCount, 2);
    const ResultEntry& e = context.Results.Entries[1];
    EXPECT_EQ(e.Answer[1], 7000.0);
    EXPECT_NEAR(e.Answer[2], 0.521, 1e-9);
    for (int ch = 3; ch <= 6; ++ch)
        EXPECT_EQ(e.Answer[ch], -1.0) << "CH" << ch;
    const QByteArray after = FileBytes();
    ASSERT_TRUE(after.startsWith(before));
    const QList<QByteArray> fields = after.mid(before.size()).trimmed().split(',');
    ASSERT_EQ(fields.size(), 12);
    EXPECT_EQ(fields[2], "7000");
    EXPECT_EQ(fields[3], "0.521");
    EXPECT_EQ(fields[7], ""); // CH4 is not the program's channel
    CampaignTable::Instance().Add(
        {c.Name, StageName(c.At), "no message", t.elapsed(), "1 line, then 1 + the new one"});
}

} // namespace

namespace
{

// The readers of the settings take the value of a reply's line whatever noise the line
// picked up around it, and refuse one whose value itself is spoilt.
TEST(ReplyNoise, TheValueOfTheLineIsReadAndNoiseInsideItSpoilsIt)
{
    const struct {
        QByteArray Reply;
        std::optional<double> Value;
    } cases[] = {
        {"300\r\n", 300.0},
        {"\xff"
         "300\r\n",
         300.0},                    // a stray byte before
        {"300\r\n\xfe\xff", 300.0}, // stray bytes after the line end
        {"\xff"
         "300\r\n\xfe\xff",
         300.0},
        {"\xfe\xff\xff"
         "350\r\n",
         350.0}, // the last reply's trailing noise first
        {QByteArray("3\0\0"
                    "00\r\n",
                    7),
         std::nullopt},                         // inside the value
        {"\xff\r\n", std::nullopt},             // nothing but noise
        {"\xa5#?~\x1b\xf3@\r\n", std::nullopt}, // garbled
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        const QString reply = QString::fromLatin1(c.Reply);
        EXPECT_EQ(NumericReply(reply), c.Value) << c.Reply.toHex().constData();
        EXPECT_EQ(PlateDiameterWord(reply).has_value(), c.Value.has_value())
            << c.Reply.toHex().constData();
    }
}

} // namespace
