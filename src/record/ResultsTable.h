#pragma once

#include <QString>
#include <algorithm>
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

// Moves every entry down by one index, losing the oldest.
inline void DropOldestResult(ResultsTable& table)
{
    const int n = std::clamp<int>(table.ResultCount, 0, ResultsTable::Capacity);
    if (n == 0)
        return;
    std::move(table.Entries.begin() + 1, table.Entries.begin() + n, table.Entries.begin());
    table.Entries[n - 1] = ResultEntry{};
    table.ResultCount = n - 1;
}

// Drops the oldest entries until no more than `maxResults` are held.
inline void KeepLatestResults(ResultsTable& table, int32_t maxResults)
{
    const int32_t keep = std::clamp<int32_t>(maxResults, 0, ResultsTable::Capacity - 1);
    while (table.ResultCount > keep)
        DropOldestResult(table);
}

// The number of results kept after a run: MaxResults, or 10 while it is not set.
inline int32_t KeptResults(int32_t maxResults)
{
    return std::clamp<int32_t>(maxResults > 0 ? maxResults : 10, 1, ResultsTable::Capacity - 1);
}
