#pragma once

#include "ClipboardSink.h"
#include "Clock.h"
#include "FileChooser.h"
#include "Globals.h"
#include "MessageSink.h"
#include "clsMakeSpecialFolder.h"

// What every window of both programs shares, created once in main() and handed to each
// window. Each floor above adds its own parts to it (SerialContext, LoggerContext, ...);
// the program's main assembles the whole. The outside world is reached only through the
// interfaces at the end.
struct AppContext {
    Globals G;
    QString UserFolder; // documents/VX-2968/, ends in "/"
    // The printer the operator chose in a printer dialog; every later printout goes there.
    // Empty: the system's default printer.
    QString ChosenPrinter;

    MessageSink* Messages = nullptr;
    Clock* Time = nullptr;
    ClipboardSink* Clipboard = nullptr;
    FileChooser* Files = nullptr;
    clsMakeSpecialFolder Folders;
};
