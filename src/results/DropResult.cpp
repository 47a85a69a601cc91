#include "DropResult.h"

#include "record/DropAnswers.h"
#include "record/LoggerSettings.h"
#include "record/ResultComputation.h"
#include "shell/Formatting.h"

#include <algorithm>

ResultEntry ComputeResult(const DropAnswers& drop, const LoggerSettings& settings,
                          UiLanguage language)
{
    ResultEntry entry;
    entry.DateTime = FormatDateTimeText(drop.MeasTime, language);
    entry.Answer = drop.Answer;
    const double p = entry.Answer[1];
    const double d = entry.Answer[2];
    const bool loaded = p > 0.0; // false for NaN
    entry.K = loaded ? CalcK(p, d, settings.PlateDiameter) : -1.0;
    entry.E = loaded ? CalcE(p, d, settings.PlateDiameter, settings.PoissonRatio, settings.CalcType)
                     : -1.0;
    entry.No = FormatNumber(std::max<int16_t>(settings.MeasNo, 0), NoFormat);
    return entry;
}
