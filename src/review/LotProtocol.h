#pragma once

#include "LotSession.h"

#include "printing/PrintPage.h"

// The compaction protocol of a lot on A4 portrait: the header, the requirement and rule,
// the points with their verdicts (failing rows framed in red), the lot's summary and
// verdict, the chart of each required value, a line for the signature, and "Page n of N"
// on every sheet.
bool PrintLotProtocol(PrintPage& page, const LotSession& lot, int16_t uiLanguage,
                      const QString& fontName);
