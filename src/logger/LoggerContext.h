#pragma once

#include "record/LoggerSettings.h"

#include "serial/SerialContext.h"

// The logger's settings as the last read left them.
struct LoggerContext : SerialContext {
    LoggerSettings Logger;
};
