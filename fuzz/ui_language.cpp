// The language file: any bytes at all give 0 or 1.
#include "shell/Startup.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const int16_t language =
        UiLanguageFromBytes(QByteArray(reinterpret_cast<const char*>(data), int(size)));
    if (language != 0 && language != 1)
        std::abort();
    return 0;
}
