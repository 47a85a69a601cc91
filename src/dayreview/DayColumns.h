#pragma once

#include "DayStatistics.h"

#include <QString>
#include <cstdint>
#include <vector>

// A column of a day's table: one of the file's own fields.
struct ReviewColumn {
    enum class Kind { No, DateTime, Value, CalcType };
    Kind What = Kind::Value;
    Quantity Of; // for values
    QString Heading;
};

// The file's columns (its further displacements only where it has them) with their
// headings and units as the file's heading writes them in `uiLanguage`.
std::vector<ReviewColumn> DayColumns(const DayFile& day, UiLanguage uiLanguage);
