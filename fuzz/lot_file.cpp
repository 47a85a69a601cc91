// A lot file of any content: refused with a reason, or read into a lot that writes back as
// a file that reads as the same lot.
#include "lot/LotFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    LotDocument lot;
    Bilingual problem;
    if (!LotFromJson(QByteArray(reinterpret_cast<const char*>(data), int(size)), &lot, &problem)) {
        if (problem.En.isEmpty() || problem.Ja.isEmpty())
            std::abort();
        return 0;
    }
    LotDocument again;
    if (!LotFromJson(LotToJson(lot), &again, &problem) || !(again == lot))
        std::abort();
    return 0;
}
