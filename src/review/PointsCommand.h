#pragma once

#include "lot/LotVerdict.h"

#include <QStringList>
#include <functional>

// The command line of the office's scripts:
//   vx2968-review --points OUT.csv [--gap SECONDS] [--seating N] [--require-k VALUE]
//                 [--require-e VALUE] DAYFILE...
struct PointsRequest {
    QString Output;
    PointRules Rules;
    Requirement Need;
    QStringList DayFiles;
};

// Whether the arguments (without the program's name) are a script's call: any option.
bool IsPointsCommand(const QStringList& args);

// False with a one-line reason when the arguments are not a request.
bool ParsePointsRequest(const QStringList& args, PointsRequest* request, Bilingual* problem);

// Forms the points of the day files and writes them to the request's output. Returns the
// exit status: 0 done, 2 for bad arguments or a file that cannot be read or written (then
// nothing is written). Every message is one line for `report` (stderr); damaged lines of a
// day file are reported there and skipped.
int RunPointsCommand(const QStringList& args, int16_t uiLanguage,
                     const std::function<void(const QString&)>& report);
