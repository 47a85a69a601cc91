#pragma once

#include "ReviewedDay.h"

#include <QString>

// Writes the day as an Excel workbook. The first sheet holds the day's title, what the
// workbook covers (the whole day or the chosen rows of `selection`), its settings and source
// file, then the table with the heading in the day's language:
// numbers as numbers, the moments as dates with their time, undefined values as empty
// cells, the rows whose K or E stands out in the day tinted and marked. The second sheet
// holds the statistics with their number formats. The file appears whole or not at all,
// never over the day file; false with the reason on failure.
bool WriteDayWorkbook(const QString& path, const ReviewedDay& day, const DaySelection& selection,
                      Bilingual* reason);
