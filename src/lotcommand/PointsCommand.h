#pragma once

#include "CommandPlaces.h"

#include "lot/LotVerdict.h"

#include <QStringList>
#include <functional>

// The command line of the office's scripts:
//   vx2968-review --points OUT.csv [--gap SECONDS] [--seating N] [--require-k VALUE]
//                 [--require-e VALUE] [PLACES] DAYFILE...
//   vx2968-review --lot LOTFILE [--points OUT.csv] [PLACES]
// where PLACES are [--track FILE.gpx]... [--utc-offset ±HH:MM] [--crs EPSG:CODE]
// [--geojson OUT.geojson]
//   vx2968-review -h | --help
struct PointsRequest {
    QString Output;
    QString Lot; // a saved lot, judged with its own rules and edits
    PointRules Rules;
    Requirement Need;
    QStringList DayFiles;
    PlacesRequest Places;
};

// Whether the arguments (without the program's name) are a script's call: any option.
bool IsPointsCommand(const QStringList& args);

// False with a one-line reason when the arguments are not a request.
bool ParsePointsRequest(const QStringList& args, PointsRequest* request, Bilingual* problem);

// Where the command's words go: `report` is standard error, `print` standard output.
struct CommandOutput {
    std::function<void(const QString&)> Report;
    std::function<void(const QString&)> Print;
};

// Forms the points of the day files, or of a saved lot, and writes them to the request's
// output; a lot's verdict is printed as one line, "verdict: pass|fail|none (reason)".
// Returns the exit status: 0 done (whatever the verdict), 2 for bad arguments or a file that
// cannot be read or written (then nothing is written). Every message is one line for
// Report; damaged lines of a day file are reported there and skipped.
int RunPointsCommand(const QStringList& args, UiLanguage uiLanguage, const CommandOutput& out);
