#pragma once

#include "DayFile.h"

#include <QString>

// Writes the day as an Excel workbook: the first sheet holds the table with the heading
// in `uiLanguage`, numbers as numbers, the moments as dates with their time, undefined
// values as the screen shows them; the second sheet holds the statistics. The file
// appears whole or not at all. False with the reason in `error` on failure.
bool WriteExcelFile(const QString& path, const DayFile& day, int16_t uiLanguage, QString* error);
