#pragma once

#include "LotSession.h"

// The lot as an Excel workbook: the sheets Points, Drops (every drop with its point, used
// or left out and why) and Lot (header, requirement, rule, summary, verdict). Numbers are
// numbers, moments are dates, a missing value is an empty cell. The file appears whole or
// not at all, never over the lot's files; false with the reason.
bool WriteLotWorkbook(const QString& path, const LotSession& lot, int16_t uiLanguage,
                      Bilingual* reason);
