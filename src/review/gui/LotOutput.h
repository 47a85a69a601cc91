#pragma once

#include "review/LotSession.h"

struct AppContext;
class QWidget;

// The lot's outputs: the protocol as a PDF file or on a printer through the printer
// dialog, and the workbook; each asks where to put it and says what went wrong.
class LotOutput
{
public:
    LotOutput(AppContext& context, QWidget* parent);
    void SaveProtocol(const LotSession& lot);
    void PrintProtocol(const LotSession& lot);
    void SaveWorkbook(const LotSession& lot);

    // Tests and scripted use: where the next file goes instead of asking.
    QString NextPath;

private:
    bool HasPoints(const LotSession& lot);
    // The date a report or workbook is issued on.
    QDate Today() const;
    QString AskPath(const LotSession& lot, const QString& suffix, const QString& filter);

    AppContext& m_context;
    QWidget* m_parent;
};
