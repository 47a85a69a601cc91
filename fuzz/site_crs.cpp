// A --crs text of any content: a code is read only as a positive number, and PROJ either
// opens it as a projected system in metres with a name or refuses it with a reason.
#include "geo/SiteCrs.h"
#include "lotsession/LotPlaces.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    int code = 0;
    Bilingual problem;
    if (!ReadEpsgCode(text, &code, &problem)) {
        if (problem.En.isEmpty())
            std::abort();
        return 0;
    }
    if (code <= 0)
        std::abort();
    const std::unique_ptr<SiteCrs> crs = SiteCrs::Open(code, &problem);
    if (crs ? crs->Epsg() != code || crs->Name().isEmpty() : problem.En.isEmpty())
        std::abort();
    return 0;
}
