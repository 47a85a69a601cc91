#include "AfterMeasurementRun.h"

#include "ResultComputation.h"
#include "ResultsContext.h"

#include "logger/LoggerCommands.h"
#include "logger/ReadLoggerSettings.h"

AfterRun AfterMeasurementRun(ResultsContext& context)
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
    ResultsTable& table = context.Results;
    const int32_t kept = KeptResults(context.G.MaxResults);
    KeepLatestResults(table, kept - 1);
    ResultEntry& entry = table.Entries[table.ResultCount++];
    entry = ResultEntry{};
    entry.No = context.LastDrop.No;
    entry.DateTime = context.LastDrop.DateTime;
    entry.Answer = context.LastDrop.Answer;
    after.ShowPrint = ComputeResult(context, true);
    after.RefillGrid = true;
    return after;
}
