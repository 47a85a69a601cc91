#pragma once

#include "shell/InputFile.h"

#include <QDate>
#include <QString>

// Where the day files live and how large one may be, for the program that writes them and
// for every reader of a day.

// More than any day can hold (32768 results of about 90 bytes); larger files are refused
// unread, so that a stray disk image on a stick never stalls a reader.
InputLimit DayFileLimit();

// The day file of `date` in `dataFolder`: yyyymmdd.csv (an existing name in another
// letter case is used).
QString DailyFilePath(const QString& dataFolder, const QDate& date);
