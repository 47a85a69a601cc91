#pragma once

#include "lotsession/LotSession.h"

#include "lot/PointsCsv.h"

// The lot as an Excel workbook: the sheets Points, Drops (every drop with its point, used
// or left out and why), Lot (header, rules, date of issue and program, summary, verdict or
// why a draft has none, the day files as read) and Edits (every change by hand). Numbers
// are numbers, moments are dates, a missing value is an empty cell. The file appears whole
// or not at all, never over the lot's files; false with the reason. Given `places` (one per
// point), the sheet Points ends in the points' latitude and longitude and, with a reference
// system, their northing and easting.
bool WriteLotWorkbook(const QString& path, const LotSession& lot, const QDate& issued,
                      UiLanguage uiLanguage, Bilingual* reason,
                      const CoordinateColumns* places = nullptr);
