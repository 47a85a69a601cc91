// The language file: any bytes at all give Japanese or English.
#include "shell/Startup.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const UiLanguage language =
        UiLanguageFromBytes(QByteArray(reinterpret_cast<const char*>(data), int(size)));
    if (language != UiLanguage::Japanese && language != UiLanguage::English)
        std::abort();
    return 0;
}
