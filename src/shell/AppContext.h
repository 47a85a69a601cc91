#pragma once

#include "ClipboardSink.h"
#include "Clock.h"
#include "Globals.h"
#include "MessageSink.h"
#include "clsMakeSpecialFolder.h"

#include "logger/LoggerSettings.h"
#include "results/ResultsTable.h"
#include "serial/PortSettings.h"
#include "serial/SerialLink.h"

// Everything the windows share, created once in main() and handed to each window.
// The outside world is reached only through the four interfaces at the end.
struct AppContext {
    Globals G;
    PortSettings Port;
    PortInventory Ports;
    LoggerSettings Logger;
    ResultsTable Results;
    QString UserFolder; // documents/VX-2968/, ends in "/"
    QString DailyFile;  // today's results file
    int16_t MeasurementDone = 0;
    // The printer the operator chose in a printer dialog; every later printout goes there.
    // Empty: the system's default printer.
    QString ChosenPrinter;
    // The encoding of the daily results files (the one the operators' spreadsheets read).
    QByteArray FileEncoding = "CP932";

    SerialLink* Link = nullptr;
    MessageSink* Messages = nullptr;
    Clock* Time = nullptr;
    ClipboardSink* Clipboard = nullptr;
    clsMakeSpecialFolder Folders;
};
