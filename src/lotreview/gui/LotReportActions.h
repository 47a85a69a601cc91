#pragma once

#include "lotsession/LotSession.h"

#include <QObject>
#include <memory>

struct AppContext;
class LotWatch;
class QMenu;
class QWidget;
class ReviewOutput;

// File > Save Lot Report as PDF, Print Lot Report and Save Lot as Excel File: each issued
// today, on the lot as it stands once its files are read again.
class LotReportActions : public QObject
{
    Q_OBJECT
public:
    LotReportActions(AppContext& context, const LotSession& lot, LotWatch& watch, QWidget* parent);
    ~LotReportActions() override;
    void AddTo(QMenu* file);

private:
    AppContext& m_context;
    const LotSession& m_lot;
    LotWatch& m_watch;
    std::unique_ptr<ReviewOutput> m_output;
};
