// A positions file of any content: every line is either kept or named damaged, each kept
// line has a moment, and what is kept writes back as a line that reads again.
#include "geo/PositionsFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    const PositionsFile file = ParsePositionsText(QStringLiteral("20261208.pos"), bytes);
    int previous = 0;
    for (const FieldPosition& position : file.Positions) {
        DropPosition again;
        if (position.LineNumber <= previous || !position.When.isValid() ||
            !IsValidLatLon(position.Line.Fix.Where) ||
            !ParsePositionLine(PositionLine(position.Line), &again))
            std::abort();
        previous = position.LineNumber;
    }
    if (file.Positions.size() + file.DamagedLines.size() > size_t(bytes.size()) + 1)
        std::abort();
    PositionsFileNote(file);
    return 0;
}
