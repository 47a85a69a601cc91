#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// A place on the earth in WGS 84 degrees: north and east positive.
struct LatLon {
    double Latitude = 0.0;
    double Longitude = 0.0;
    bool operator==(const LatLon&) const = default;
};
// Whether both lie in their ranges (latitude ±90, longitude ±180) and are numbers.
bool IsValidLatLon(const LatLon& where);

// The receiver's fix at the moment a drop was stored.
struct DropFix {
    LatLon Where;
    std::optional<double> Altitude;        // m above mean sea level; none in a 2D fix
    bool ThreeD = false;                   // fix mode 3D, otherwise 2D
    std::optional<double> HorizontalError; // m, the receiver's estimate
    double AgeSeconds = 0.0;               // of the fix when the drop was stored
    QString Device;                        // the receiver's, as gpsd names it; may be empty
    bool operator==(const DropFix&) const = default;
};

// One line of a positions file: the drop's number and its date and time exactly as the day
// file writes them, then its fix.
struct DropPosition {
    QString No;
    QString DateTime; // "2026/12/08 13:05:09" or "12/08/2026 13:05:09", as in the day file
    DropFix Fix;
    bool operator==(const DropPosition&) const = default;
};

// A fix older than this is not written: the plate may have been carried since.
inline constexpr double NewestFixSeconds = 5.0;

// The positions file of a day file: yyyymmdd.pos beside yyyymmdd.csv. Not a .csv, so that
// nothing that lists day files takes it for one.
QString PositionsFilePath(const QString& dayFilePath);

// The file's first line: "No.,Date Time,Latitude,Longitude,Altitude(m),Fix,Horizontal
// error(m),Age(s),Device". The receiver came last, in a column of its own, so that a reader
// of the first eight columns reads the files as before.
QString PositionsHeading();
// Whether `line` is a positions file's heading: today's, or that of files written before
// the receiver was named (the same without ",Device").
bool IsPositionsHeading(QStringView line);
// One line without its line end, e.g.
// "12,2026/12/08 13:05:09,35.6812360,139.7671250,40.2,3D,4.5,0.8,/dev/ttyUSB0": latitude
// and longitude with 7 decimals, the others with 1; an unknown altitude or error is left
// empty. A comma or control character in the device's name is written as "_".
QString PositionLine(const DropPosition& position);
// Reads one line back, with its device or, as written before the receiver was named, without
// (then the device is empty); false for the heading and for a damaged line (a missing or
// unreadable field, a place out of range, a fix mode other than 2D or 3D).
bool ParsePositionLine(QStringView line, DropPosition* position);
