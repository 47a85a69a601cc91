#pragma once

#include "Bilingual.h"

#include <QDate>

// What a failed file operation's error number means, in words an office user can act on
// ("the disk is full"), not the system's terse text ("Unknown error", "ZIP_ERRNO").
Bilingual ReasonOfError(int error);

// The date a file name "yyyymmdd.csv" (any letter case) stands for; invalid otherwise. Such
// a name is a day file, which only the measurement program ever writes.
QDate DateOfDayFileName(const QString& fileName);

// A text from outside (a field, an argument) as a message may quote it: at most `longest`
// characters, the rest cut and marked, so that a damaged megabyte never fills a screen.
QString Clipped(const QString& text, int longest = 40);
