#pragma once

#include "ResultsFile.h"

struct DropAnswers;
struct ResultsContext;

// A measured drop becomes the newest result (the oldest beyond MaxResults dropped):
// computed, numbered with the settings' MeasNo, which then moves on to the next number, and
// appended to today's file; its position (when the program keeps positions) follows in the
// day's positions file once the line is on the disk. Written: the line is on the disk.
AppendOutcome StoreDrop(ResultsContext& context, const DropAnswers& drop);
