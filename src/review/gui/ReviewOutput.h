#pragma once

#include "review/ReviewedDay.h"
#include "shell/Bilingual.h"

#include <QString>
#include <vector>

struct AppContext;
class MessageSink;
class QWidget;

// Tells that the file at `path` could not be saved, and why; nothing when `ok`.
void ReportSaveFailure(MessageSink& messages, bool ok, const QString& path,
                       const Bilingual& reason);

// The day's outputs, each asking where to put it and saying what went wrong.
class ReviewOutput
{
public:
    ReviewOutput(AppContext& context, QWidget* parent);

    // Each covers the selection (the chosen rows, or the whole day when none are chosen)
    // and says which in its heading. The test report as a PDF file, or on a printer through
    // the printer dialog; the workbook.
    void SaveProtocol(const ReviewedDay& day, const DaySelection& selection);
    void PrintProtocol(const ReviewedDay& day, const DaySelection& selection);
    void SaveExcel(const ReviewedDay& day, const DaySelection& selection);

    // Tests and scripted use: where the next file goes instead of asking.
    QString NextPath;

private:
    bool HasResults(const DayFile& day);
    QString AskPath(const DayFile& day, const QString& suffix, const QString& filter);

    AppContext& m_context;
    QWidget* m_parent;
};
