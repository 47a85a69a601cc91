#pragma once

#include "days/DayFile.h"

#include "lot/LotPoints.h"

// A day's rows as drops of a lot: `file` is the day's place among the lot's day files.
void AppendLotDrops(const DayFile& day, int file, std::vector<LotDrop>* drops);
