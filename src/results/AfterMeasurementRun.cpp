#include "AfterMeasurementRun.h"

#include "DropResult.h"
#include "ResultsContext.h"
#include "ResultsFile.h"

#include "logger/LoggerCommands.h"
#include "logger/ReadLoggerSettings.h"
#include "record/ResultComputation.h"

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
    KeepLatestResults(table, KeptResults(context.G.MaxResults) - 1);
    const ResultEntry result = ComputeResult(context.LastDrop, context.Logger);
    table.Entries[table.ResultCount++] = result;
    context.Logger.MeasNo = NextMeasNo(context.Logger.MeasNo);
    // The line goes to the disk before the logger is given the next number: a program that
    // dies in between then repeats a number rather than losing a result. The print command
    // is shown only for a result on the disk.
    QString dayFile;
    after.ShowPrint = AppendResult(context, result, &dayFile) == AppendOutcome::Written;
    // Its position follows the stored line and never holds it back: whatever becomes of it
    // is the recorder's to tell, on the screen and in the service report.
    if (after.ShowPrint && context.Positions)
        context.Positions->Record(dayFile, result.No, result.DateTime);
    if (context.Link)
        SendMeasNo(*context.Link, context.Logger);
    after.RefillGrid = true;
    return after;
}
