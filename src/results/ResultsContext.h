#pragma once

#include "ResultsTable.h"

#include "logger/LoggerContext.h"

#include <QByteArray>
#include <QString>

// The day's results and the file they are kept in. The whole context of the measuring
// program: what its screens take.
struct ResultsContext : LoggerContext {
    ResultsTable Results;
    QString DailyFile; // today's results file
    // The encoding of the daily results files (the one the operators' spreadsheets read).
    QByteArray FileEncoding = "CP932";
};
