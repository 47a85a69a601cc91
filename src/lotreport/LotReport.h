#pragma once

#include "lotsession/LotSession.h"

#include "geo/SitePlanData.h"
#include "printing/PrintPage.h"

// The compaction report of a lot on A4 portrait, a quality record: the header issued on
// `issued` by this program, the rules, the day files as read, the points with their
// verdicts (failing rows framed in red), every edit by hand, the lot's summary and verdict,
// the chart of each required value, lines to sign for the tester and the checker, and
// "Page n of N" on every sheet, and the site plan on a sheet of its own when `plan` places a
// point (null: none). A lot that cannot be final (LotSession::DraftReason) gives
// a draft: its mark and reason on every sheet, and no verdict on the lot.
bool PrintLotReport(PrintPage& page, const LotSession& lot, const QDate& issued,
                    UiLanguage uiLanguage, const QString& fontName,
                    const SitePlanData* plan = nullptr);
