#pragma once

#include <QString>
#include <array>
#include <cstdint>

// One drop: Answer[1] is the peak load P0 in N, Answer[2] to Answer[6] the peak
// displacements of CH2 to CH6 in mm. -1 marks a value without a defined result.
struct ResultEntry {
    QString No;
    QString DateTime;
    std::array<double, 7> Answer{}; // index 1 to 6
    double K = 0.0;
    double E = 0.0;
    int16_t Flag = 0;
};

// The day's latest results, oldest at index 0.
struct ResultsTable {
    static constexpr int Capacity = 101;
    std::array<ResultEntry, Capacity> Entries;
    int32_t ResultCount = 0;
};
