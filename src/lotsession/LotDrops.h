#pragma once

#include "days/DayFile.h"

#include "lot/LotPoints.h"

// A day's rows as drops of a lot: `file` is the day's place among the lot's day files.
void AppendLotDrops(const DayFile& day, int file, std::vector<LotDrop>* drops);

// A day's drops as the lot file remembers them: each its number and a digest of its time and
// values ("00007 3fa85f64"), so that a change of the day can be told drop by drop.
QStringList DropDigests(const DayFile& day);
