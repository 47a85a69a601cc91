#pragma once

#include "lot/LotFile.h"

#include "shell/InputFile.h"

// What became of a file the drops are placed from, or the points named along, since the lot
// recorded it.
struct PlacesFileRead {
    LotDayFile Now;    // as read now
    LotDayFile Record; // what the lot records of it until a change is accepted
    DayFileState State = DayFileState::Same; // Same for a file the lot had not recorded
    Bilingual Change;                        // empty when it is as it was
};

// `saved` against its bytes as `read` now; a file not recorded yet (no hash) is taken as it is.
PlacesFileRead CheckPlacesFile(const LotDayFile& saved, const InputRead& read);
