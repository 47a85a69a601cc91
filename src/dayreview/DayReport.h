#pragma once

#include "ReviewedDay.h"

#include "printing/PrintPage.h"

// The test report of a day on A4 portrait: a title with the day, whether it covers the
// whole day or the chosen rows of `selection`, and the settings of line 1; the table over as
// many sheets as it needs with its heading on each, the rows whose K or E stands out in the
// day marked, the statistics and the chart of the rows covered; every sheet numbered.
bool PrintDayReport(PrintPage& page, const ReviewedDay& day, const DaySelection& selection,
                    const QString& fontName);
