#pragma once

#include "ReviewedDay.h"

#include "outputs/ReviewDocument.h"

// The report and workbook of the rows `selection` covers, offered beside the documents under
// the day's date, never in the data folder the measurement program owns. Empty on a day
// without results. It refers to `day` and `selection`, which must outlive it.
ReviewDocument DayReportDocument(const ReviewedDay& day, const DaySelection& selection,
                                 const QString& fontName);
