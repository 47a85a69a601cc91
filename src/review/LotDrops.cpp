#include "LotDrops.h"

void AppendLotDrops(const DayFile& day, int file, std::vector<LotDrop>* drops)
{
    drops->reserve(drops->size() + day.Rows.size());
    for (const ReviewRow& row : day.Rows) {
        const ResultEntry& e = row.Entry;
        drops->push_back(LotDrop{
            file, row.LineNumber, e.No, row.When, e.Answer[1], e.Answer[2], e.K, e.E,
            row.CalcType == QLatin1String("BO") ? Formula::Boussinesq : Formula::Burmister});
    }
}
