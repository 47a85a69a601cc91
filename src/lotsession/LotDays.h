#pragma once

#include "days/DayFile.h"

#include "lot/LotFile.h"

// A lot's day files read on every core, each once: the day, what the lot file is to record
// of it from now on, and what became of it since the lot was saved.
struct LotDayRead {
    DayFile Day;
    LotDayFile Now; // the file's size and hash; the saved ones when it cannot be read
    DayFileState State = DayFileState::Same; // against the lot; Same for a day just added
    Bilingual Change;                        // empty when it is as it was, or was just added
};

std::vector<LotDayRead> ReadLotDays(const std::vector<LotDayFile>& files, UiLanguage uiLanguage);
