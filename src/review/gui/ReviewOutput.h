#pragma once

#include "review/DayFile.h"

#include <QString>

struct AppContext;
class QWidget;

// The day's outputs, each asking where to put it and saying what went wrong.
class ReviewOutput
{
public:
    ReviewOutput(AppContext& context, QWidget* parent);

    // Protocol as a PDF file (QPdfWriter), or on a printer through the printer dialog.
    void SaveProtocol(const DayFile& day);
    void PrintProtocol(const DayFile& day);
    void SaveExcel(const DayFile& day);

    // Tests and scripted use: where the next file goes instead of asking.
    QString NextPath;

private:
    bool HasResults(const DayFile& day);
    QString AskPath(const DayFile& day, const QString& suffix, const QString& filter);
    void Report(bool ok, const QString& path, const QString& reason);

    AppContext& m_context;
    QWidget* m_parent;
};
