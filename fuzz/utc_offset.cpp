// A --utc-offset text of any content: read only within the zones of the earth, and what is
// read is written as a text that reads back the same.
#include "geo/UtcOffsetText.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    int minutes = 0;
    Bilingual problem;
    if (!ReadUtcOffset(text, &minutes, &problem)) {
        if (problem.En.isEmpty())
            std::abort();
        return 0;
    }
    int again = 0;
    if (minutes < -LargestUtcOffsetMinutes || minutes > LargestUtcOffsetMinutes ||
        !ReadUtcOffset(UtcOffsetText(minutes), &again, &problem) || again != minutes)
        std::abort();
    return 0;
}
