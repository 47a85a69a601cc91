#pragma once

#include "lotsession/LotSession.h"

#include <QStringList>

// The texts of a lot as the Points view, the report and the workbook show them.

// The lot's day files in a line that does not grow with them: up to three by name, more
// as their count with the first and the last.
QString DayFilesText(const LotSession& lot, UiLanguage uiLanguage);

QStringList PointHeadings(UiLanguage uiLanguage);
// Point `p` (from 0) of the session: number, location, first drop, drops, used, the means,
// the differences from the requirement and the verdict (or why it was left out).
QStringList PointCells(const LotSession& lot, int p, UiLanguage uiLanguage);
// Where point `p` lies and how far its drops spread: "35.6812360, 139.7671250 (spread 1.2 m)",
// with "plate moved" beyond 5 m; empty without a place.
QString PointPlaceText(const LotSession& lot, int p, UiLanguage uiLanguage);
// Why a point has no value although it has drops; empty otherwise.
QString PointNote(const LotPoint& point, UiLanguage uiLanguage);

QStringList DropHeadings(UiLanguage uiLanguage);
QStringList DropCells(const LotSession& lot, const PointDrop& drop, UiLanguage uiLanguage);
// Used, seating, or the reason it was left out.
QString DropStateText(const PointDrop& drop, UiLanguage uiLanguage);

// "K-NWR ≥ 80 MN/m3 and E-NWR ≥ 120 MN/m2", or that none was entered.
QString RequirementText(const Requirement& need, UiLanguage uiLanguage);
// The lot summary as label/value lines: points with a value, passed, share, the K and E
// statistics with their characteristic values, the rule and the verdict with its reason.
std::vector<QStringList> LotSummaryRows(const LotSession& lot, UiLanguage uiLanguage);
// Rows as a rich-text table, cells right-aligned and unbroken.
QString HtmlTable(const std::vector<QStringList>& rows);
QString LotVerdictLine(const LotSession& lot, UiLanguage uiLanguage);
// The header's fields in the order the window lays them out.
enum class HeaderField {
    Site,
    Section,
    Layer,
    Operator,
    Remarks,
    Material,
    Weather,
    Temperature,
    Standard,
    LoggerSerial,
    Calibration
};
inline constexpr int HeaderFields = 11;
// Every field's label, and every field's value, in the order of HeaderField.
QStringList HeaderLabels(UiLanguage uiLanguage);
QStringList HeaderValues(const LotHeader& header);
QString HeaderLabel(HeaderField field, UiLanguage uiLanguage);
QString HeaderValue(const LotHeader& header, HeaderField field);
