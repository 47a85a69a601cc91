#pragma once

#include "lotsession/LotSession.h"

#include "outputs/ReviewDocument.h"

#include <QDate>

// The lot's report and workbook as issued on `issued`, offered beside the lot file (or in
// the documents before it is saved). Empty while the lot has no points. It refers to `lot`,
// which must outlive it.
ReviewDocument LotReportDocument(const LotSession& lot, const QDate& issued, UiLanguage uiLanguage,
                                 const QString& fontName);
