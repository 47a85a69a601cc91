#include "LotDrops.h"

void AppendLotDrops(const DayFile& day, int file, std::vector<LotDrop>* drops)
{
    // No reserve here: growing by each day's rows exactly would copy every drop of the lot
    // again for every day added, where the vector's own doubling copies each once or twice.
    for (const ReviewRow& row : day.Rows) {
        const ResultEntry& e = row.Entry;
        drops->push_back(LotDrop{file, row.LineNumber, e.No, row.When, e.Answer[1], e.Answer[2],
                                 e.K, e.E, CalcTypeOfCode(row.CalcType)});
    }
}
