#pragma once

#include "record/ResultsTable.h"
#include "shell/Bilingual.h"

struct DropAnswers;
struct LoggerSettings;

// The result of a drop: its peak values with K and E computed from the settings' plate and
// formula, numbered with the settings' MeasNo, dated with its time as `language` writes it.
ResultEntry ComputeResult(const DropAnswers& drop, const LoggerSettings& settings,
                          UiLanguage language);
