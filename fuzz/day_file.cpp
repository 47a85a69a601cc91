// A day file of any content as the office reads it: every line a row, skipped with a reason
// or part of the heading, and the quick count of the list of days takes exactly the lines
// the full reading does.
#include "days/DayFile.h"

#include <cstdint>
#include <cstdlib>

namespace
{
void Check(bool ok)
{
    if (!ok)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    const QString path = QStringLiteral("20261208.csv");
    const DayFile full = ParseDayText(path, bytes, UiLanguage::English);
    const DayFile counted = ParseDayText(path, bytes, UiLanguage::Japanese, RowDetail::Counted);
    Check(full.Refused() == counted.Refused());
    Check(!full.Refused() || (full.Rows.empty() && full.Skipped.empty()));
    Check(full.Rows.size() == counted.Rows.size() && full.Skipped.size() == counted.Skipped.size());
    for (size_t i = 0; i < full.Rows.size(); ++i) {
        const ReviewRow& row = full.Rows[i];
        Check(row.LineNumber == counted.Rows[i].LineNumber && row.LineNumber > 2);
        Check(row.CalcType == QLatin1String("BU") || row.CalcType == QLatin1String("BO"));
        Check(row.When.isValid() && row.CalcType == counted.Rows[i].CalcType);
    }
    for (size_t i = 0; i < full.Skipped.size(); ++i)
        Check(full.Skipped[i].LineNumber == counted.Skipped[i].LineNumber &&
              !full.Skipped[i].Reason.En.isEmpty());
    return 0;
}
