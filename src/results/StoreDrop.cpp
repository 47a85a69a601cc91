#include "StoreDrop.h"

#include "DropResult.h"
#include "ResultsContext.h"

#include "record/ResultComputation.h"

AppendOutcome StoreDrop(ResultsContext& context, const DropAnswers& drop)
{
    ResultsTable& table = context.Results;
    KeepLatestResults(table, KeptResults(context.G.MaxResults) - 1);
    const ResultEntry result = ComputeResult(drop, context.Logger, context.G.UiLanguage);
    table.Entries[table.ResultCount++] = result;
    context.Logger.MeasNo = NextMeasNo(context.Logger.MeasNo);
    QString dayFile;
    const AppendOutcome outcome = AppendResult(context, result, &dayFile);
    // Its position follows the stored line and never holds it back: whatever becomes of it
    // is the recorder's to tell, on the screen and in the service report.
    if (outcome == AppendOutcome::Written && context.Positions)
        context.Positions->Record(dayFile, result.No, result.DateTime);
    return outcome;
}
