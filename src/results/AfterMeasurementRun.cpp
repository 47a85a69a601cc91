#include "AfterMeasurementRun.h"

#include "ResultComputation.h"

#include "logger/LoggerCommands.h"
#include "logger/ReadLoggerSettings.h"
#include "shell/AppContext.h"

AfterRun AfterMeasurementRun(AppContext& context)
{
    AfterRun after;
    const bool debug = context.G.DebugMode == 1;
    if (!debug && context.MeasurementDone == 0) {
        // A cancelled run may have been refused for a setting changed at the logger.
        if (context.Link) {
            ReadLoggerSettings(*context.Link, *context.Messages, context.Logger);
            SelectActiveChannels(*context.Link, context.Logger);
        }
        return after;
    }
    if (debug || context.MeasurementDone != 1)
        return after;
    KeepLatestResults(context.Results, KeptResults(context.G.MaxResults));
    after.ShowPrint = ComputeResult(context, true);
    after.RefillGrid = true;
    return after;
}
