#pragma once

// A day at the measurement screen, shared by the screen and grid tests: the context as
// start-up leaves it in a TempHome (English unless asked), the test's clock, messages and
// clipboard, and today file when a test wants one.
#include "TempHome.h"
#include "TestContext.h"
#include "record/ResetLoggerSettings.h"
#include "shell/ClipboardSink.h"

#include <QFile>

// A test day's start values (7 April 2021) with `channels` active, as a logger read leaves
// them.
inline LoggerSettings SettingsWith(std::initializer_list<int> channels)
{
    LoggerSettings s;
    ResetLoggerSettings(s, QDateTime(QDate(2021, 4, 7), QTime(13, 5, 9)));
    s.CalcType = 1;
    s.ChannelCount = s.MaxChannel = 0;
    for (int c : channels) {
        s.Channel[c].Active = true;
        ++s.ChannelCount;
        s.MaxChannel = s.LastChannel = int16_t(c);
    }
    return s;
}

template <class Clipboard = MemoryClipboard> struct ScreenDay {
    explicit ScreenDay(UiLanguage language = UiLanguage::English)
    {
        PrepareContext(context, home, messages, clock, language);
        context.Clipboard = &clipboard;
    }
    QString TodaysFile() const { return context.G.DataFolder + "20240501.csv"; }
    // Results 00003 and 00004 of CH1, CH2, CH4 and CH6 (debug mode's logger), or `lines`.
    void
    WriteTodaysResults(const QByteArray& lines =
                           "00003,2024/05/01 08:00:00,30000,1.000,300,60,0.500,0.250,,,,BO\r\n"
                           "00004,2024/05/01 08:10:00,20000,0.500,566,117,0.400,0.200,,,,BO\r\n")
    {
        QFile f(TodaysFile());
        if (f.open(QIODevice::WriteOnly))
            f.write("Dia=300,Poi=0.350\r\nheading\r\n" + lines);
    }

    TempHome home;
    RecordingMessages messages;
    FixedClock clock{QDateTime(QDate(2024, 5, 1), QTime(9, 30, 15))};
    Clipboard clipboard;
    ResultsContext context;
};
