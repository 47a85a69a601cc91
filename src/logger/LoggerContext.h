#pragma once

#include "record/LoggerSettings.h"

#include "serial/SerialContext.h"

#include <QString>
#include <array>
#include <cstdint>

// The peak values of the drop a run fetched, handed on to the results once the run ends.
struct DropAnswers {
    QString No;
    QString DateTime;
    std::array<double, 7> Answer{}; // index 1 to 6, as in a result entry; -1: no result
};

// The logger's settings and the outcome of the last run.
struct LoggerContext : SerialContext {
    LoggerSettings Logger;
    int16_t MeasurementDone = 0;
    DropAnswers LastDrop;
};
