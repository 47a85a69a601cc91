#pragma once

#include "logger/MeasurementRun.h"
#include "shell/Bilingual.h"
#include "shell/MessageSink.h"

#include <QString>
#include <cstdint>

// Captions of the run form in both languages.
struct RunCaptions {
    Bilingual Cancel; // returns to the monitor
    Bilingual Start;  // arms by hand when the form could not set itself up
    Bilingual FileNo; // the label before the number
    Bilingual Measuring;
    Bilingual WaitForTrigger;
    Bilingual DebugMode;
    Bilingual TransferData;
};
const RunCaptions& RunFormCaptions();

// The refusals of a run that cannot be armed.
UiMessage TriggerExceededMessage();
UiMessage TriggerChannelInvalidMessage(int32_t triggerChannel);
UiMessage ArmRefusalMessage(const ArmRefusal& refusal);

// The status line and the line under it, as the run's view has them.
QString RunStatusText(const RunView& view, UiLanguage language);
QString RunSecondLineText(const RunView& view, UiLanguage language);
