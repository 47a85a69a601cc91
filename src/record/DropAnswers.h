#pragma once

#include <QDateTime>
#include <array>

// The peak values of one drop as the logger gave them, and when they were fetched: what a
// run hands on to be stored.
struct DropAnswers {
    QDateTime MeasTime;
    std::array<double, 7> Answer{}; // index 1 to 6, as in a result entry; -1: no result
};
