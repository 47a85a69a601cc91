#pragma once

#include "LotVerdict.h"

// The points as the office's scripts read them: a heading line and one line per point,
// comma-separated, the first drop in ISO 8601, means with one decimal (D0 three), and
// "pass", "fail" or nothing (a point left out by hand is not judged). A lot's points add
// their location as a tenth column, quoted when it holds a comma or a quote. Lines end in LF.
enum class CsvColumns { Points, PointsAndLocation };

// The first drop as the points file writes it, ISO 8601 without a zone: 2024-05-06T08:00:00.
QString FirstDropText(const PointValues& values);
// A point's verdict as the files give it: none for a point left out by hand.
Verdict FileVerdict(const LotPoint& point, const Requirement& need);

// A point named along the road's centreline: the foot of its perpendicular on it.
struct PointStation {
    bool HasStation = false;
    double Station = 0.0; // m
    double Offset = 0.0;  // m, right of the direction of increasing station positive
    QString Text;         // as the lot writes stations: "No.12+5.00" or "0+245.000"
    // Another part of a winding road lies as near: the nearer foot was taken, but look.
    bool Ambiguous = false;
    Bilingual Why;   // why a placed point has no station; empty otherwise
    Bilingual Short; // the same for a table's cell: "beyond the end"
};

// Where a point lies, as the tables write it.
struct PointCoordinates {
    bool HasPlace = false;
    double Latitude = 0.0; // WGS 84 degrees
    double Longitude = 0.0;
    bool HasGrid = false;
    double Northing = 0.0; // m, in the lot's reference system
    double Easting = 0.0;
    PointStation Along; // its station, where the lot has a centreline
};
// The places of a table's points, one per point in the points' order. Given, they add the
// columns Latitude and Longitude (7 decimals) and, with a reference system, Northing(m) and
// Easting(m) (3 decimals) after all others, and with a centreline Station(m) and Offset(m)
// (3 decimals, right positive); a point without a place or station leaves them empty.
struct CoordinateColumns {
    std::vector<PointCoordinates> Points;
    bool Grid = false;
    bool Stations = false;
};
// The headings of those columns, as the points file writes them.
QStringList CoordinateHeadings(const CoordinateColumns& places);
// A point's cells under them: empty where it has no place.
QStringList CoordinateCells(const CoordinateColumns& places, size_t point);

QString PointsCsv(const std::vector<LotPoint>& points, const Requirement& need,
                  CsvColumns columns = CsvColumns::Points,
                  const CoordinateColumns* places = nullptr);
QString PointsCsvHeading(CsvColumns columns = CsvColumns::Points,
                         const CoordinateColumns* places = nullptr);
// The lines alone, numbered from `firstNumber`: a script's points come a day at a time.
// `places` holds the places of these points only, the first for points[0].
QString PointsCsvLines(const std::vector<LotPoint>& points, const Requirement& need,
                       int firstNumber, CsvColumns columns = CsvColumns::Points,
                       const CoordinateColumns* places = nullptr);
