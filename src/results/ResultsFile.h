#pragma once

#include "record/DayFiles.h"
#include "record/ResultsLine.h"
#include "record/ResultsTable.h"
#include "record/ResultsText.h"

#include <QDate>
#include <QString>
#include <cstdint>

struct ResultsContext;

// The day file on the disk: where it lives, appending a result to it durably and
// loading it into the context. Its name, lines and encoding (record/) come with it.

enum class AppendOutcome { Written, Cancelled };

// Appends `entry` to the file of today's date (taken now, from the context's clock), with
// the two heading lines first when the file is new. The line is on the disk (synced) when
// this returns Written. A failing step asks Retry / Cancel: Retry repeats the step,
// Cancel leaves the file as it was and returns Cancelled. A text the context's FileEncoding
// cannot write is reported (both languages) and nothing is written: Cancelled. `written`, when
// given, receives the file's name.
AppendOutcome AppendResult(ResultsContext& context, const ResultEntry& entry,
                           QString* written = nullptr);

// Reads `path` into the results table: its last MaxResults results, oldest first. Returns
// the number held, or -1 (after the format message) when line 1 holds no ",". The plate
// diameter and Poisson's ratio of line 1 replace the settings only when they are valid.
// `displayColumns` (starting at 2) grows with the widest line read.
int32_t ReadResultsFile(ResultsContext& context, const QString& path,
                        int32_t* displayColumns = nullptr);

// Start-up of the measurement screen: names today's file in DailyFile and reads it when it
// exists. ResultCount becomes the number read (0 without a usable file).
int32_t LoadTodaysResults(ResultsContext& context, int32_t* displayColumns = nullptr);
