#pragma once

// A day of measuring as the program lives it: the application context as start-up leaves
// it (English, the real clock and clipboard, the user folder below the current HOME), the
// real serial line to a simulator on COM1, and the measurement screen on it. Drops are
// pressed as the operator presses Start. Header-only: it needs the windows, which only the
// window tests and the benchmarks link.

#include "Press.h"
#include "WaitFor.h"
#include "results/ResultsContext.h"
#include "screens/gui/frmMemoryCardData2.h"
#include "serial/QSerialLink.h"
#include "shell/Startup.h"

#include <QPushButton>
#include <memory>

class MeasuringDay
{
public:
    MeasuringDay()
    {
        Context.G.UiLanguage = UiLanguage::English;
        InitGlobalValues(Context.G);
        ResetFontSpecs(Context.G);
        Context.Time = &Clock;
        Context.Messages = &Messages;
        Context.Clipboard = &Clipboard;
        Context.UserFolder = GetUserFolderPath(Context.Folders);
        Context.G.DataFolder = MakeDataFolder(Context.UserFolder);
        Line = std::make_unique<QSerialLink>(Context.Port, Context.UserFolder, Messages);
        Context.Link = Line.get();
    }
    ~MeasuringDay() { delete Screen; }
    MeasuringDay(const MeasuringDay&) = delete;
    MeasuringDay& operator=(const MeasuringDay&) = delete;

    // Opens the measurement screen (on `link` instead of the real line, when given: a link
    // that passes exchanges on to Line) and waits until it is connected and offers Start.
    bool Open(SerialLink* link = nullptr, int timeoutMs = 30000)
    {
        if (link)
            Context.Link = link;
        Screen = new frmMemoryCardData2(Context);
        Screen->setAttribute(Qt::WA_DeleteOnClose, false);
        Screen->show();
        return WaitFor([&] { return Screen->cmdMeasure->isVisible(); }, timeoutMs);
    }

    // One drop: Start pressed; the run form is modal, so this returns once the run has
    // ended. True when it ended with the transfer of a result (which moves the number on).
    bool Drop()
    {
        const int16_t measNo = Context.Logger.MeasNo;
        Press(Screen->cmdMeasure);
        return Context.Logger.MeasNo != measNo;
    }

    ResultsContext Context;
    SystemClock Clock;
    SystemClipboard Clipboard;
    RecordingMessages Messages;
    std::unique_ptr<QSerialLink> Line;
    frmMemoryCardData2* Screen = nullptr;
};
