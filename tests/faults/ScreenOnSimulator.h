#pragma once

// The measurement screen of a test day on a real QSerialLink to the logger simulator over a
// pty, with one result of earlier in the day in today's file.
#include "Press.h"
#include "SimProcess.h"
#include "TempHome.h"
#include "TestContext.h"
#include "WaitFor.h"
#include "screens/gui/frmMemoryCardData2.h"
#include "serial/QSerialLink.h"

#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <functional>
#include <gtest/gtest.h>

// Records every box and answers it from its script, after OnShow has run.
class AnsweringMessages : public RecordingMessages
{
public:
    MessageAnswer Show(const UiMessage& message) override
    {
        if (OnShow)
            OnShow();
        return RecordingMessages::Show(message);
    }
    std::function<void()> OnShow;
};

inline const QByteArray StoredResults =
    "Dia=300,Poi=0.350\r\n"
    "No,Date Time,Load P0(N),Disp. D0(mm),K-NWR(MN/m3),E-NWR(MN/m2),,,,,,E-CalcType\r\n"
    "00003,05/01/2024 09:00:00,7000,0.521,44.8,50.0,,,,,,BU\r\n";

class ScreenOnSimulator : public testing::Test
{
protected:
    void SetUp() override { PrepareContext(context, home, messages, clock); }
    void TearDown() override
    {
        if (screen)
            delete screen.data();
    }

    QString TodaysFile() const { return context.G.DataFolder + "20240501.csv"; }
    QByteArray Read(const QString& path) const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void WriteToday(const QByteArray& bytes) const
    {
        QFile f(TodaysFile());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    int Count(const QString& command) const { return int(sim.Commands().count(command)); }

    // Starts the simulator (two channels, measurement number 7) and opens the screen.
    bool Open(const QStringList& extra)
    {
        const QStringList options{"--com", "1", "--no-pace", "--channels", "1,2", "--mno", "7"};
        if (!sim.Start(options + extra)) {
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
    bool WaitForMonitoring() const
    {
        return WaitFor([&] { return Monitoring(); }, 20000);
    }
    // The screen polls on: two more "MDT" than now, and still on screen.
    bool KeepsPolling() const
    {
        const int before = Count("MDT");
        return WaitFor([&] { return Count("MDT") >= before + 2 || !screen; }, 20000) &&
               Monitoring();
    }

    TempHome home; // first: the simulator's port link goes below this HOME
    SimProcess sim;
    ResultsContext context;
    AnsweringMessages messages;
    FixedClock clock{QDateTime(QDate(2024, 5, 1), QTime(10, 15, 0))};
    std::unique_ptr<QSerialLink> link;
    QPointer<frmMemoryCardData2> screen;
};
