#pragma once

#include "outputs/ReviewDocument.h"

struct AppContext;
class MessageSink;
class QWidget;

// Tells that the file at `path` could not be saved, and why; nothing when `ok`.
void ReportSaveFailure(MessageSink& messages, bool ok, const QString& path,
                       const Bilingual& reason);

// The outputs of a day or a lot: the report as a PDF file or on a printer through the
// printer dialog, and the workbook; each asks where to put it and says what went wrong.
class ReviewOutput
{
public:
    ReviewOutput(AppContext& context, QWidget* parent);
    void SaveReport(const ReviewDocument& document);
    void PrintReport(const ReviewDocument& document);
    void SaveWorkbook(const ReviewDocument& document);

private:
    bool HasContent(const ReviewDocument& document);
    QString AskPath(const ReviewDocument& document, const QString& suffix, const QString& filter);

    AppContext& m_context;
    QWidget* m_parent;
};
