// Results-line splitting: never more fields than the reader holds, and the fields joined
// again give back the text (when it was not cut short).
#include "record/ResultsLine.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromLatin1(reinterpret_cast<const char*>(data), int(size));
    const int capacity = FileFieldCapacity;
    QStringList fields;
    const int16_t upper = SplitFields(text, QStringLiteral(","), fields, capacity);
    if (upper < -1 || upper >= capacity)
        std::abort();
    if (upper >= 0 && fields.size() != upper + 1)
        std::abort();
    if (upper >= 0 && upper < capacity - 1 && fields.join(QLatin1Char(',')) != text)
        std::abort();
    return 0;
}
