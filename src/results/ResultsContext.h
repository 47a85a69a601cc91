#pragma once

#include "record/ResultsTable.h"

#include "logger/LoggerContext.h"
#include "positions/PositionsRecorder.h"

#include <QByteArray>
#include <QString>

// The day's results and the file they are kept in. The whole context of the measuring
// program: what its screens take.
struct ResultsContext : LoggerContext {
    ResultsTable Results;
    QString DailyFile; // today file
    // The encoding of the day files (the one the operators' spreadsheets read).
    QByteArray FileEncoding = "CP932";
    // Where each stored drop was made, when the program keeps positions (none in most
    // tests: then nothing of them is written or shown).
    PositionsRecorder* Positions = nullptr;
};
