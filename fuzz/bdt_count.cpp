// The count of a typed "BDT" command: accepted only from 1 to 1001, with a reason otherwise.
#include "serial/RSTestTerminal.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString cmd = QString::fromLatin1(reinterpret_cast<const char*>(data), int(size));
    const BdtCount count = ParseBdtCount(cmd);
    if (count.Accepted() && (count.Values < 1 || count.Values > MaxBdtValues))
        std::abort();
    return 0;
}
