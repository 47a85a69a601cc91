#pragma once

#include "record/ResultsTable.h"

struct DropAnswers;
struct LoggerSettings;

// The result of a drop: its peak values with K and E computed from the settings' plate and
// formula, numbered with the settings' MeasNo.
ResultEntry ComputeResult(const DropAnswers& drop, const LoggerSettings& settings);
