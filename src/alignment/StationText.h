#pragma once

#include <QString>

// The station counted in stakes of `interval` metres (20 m on Japanese roads) and the metres
// past the last stake, to the centimetre: 245.0 m is "No.12+5.00". Empty for a station that
// is no number or an interval that is not positive.
QString JapaneseStationText(double station, double interval = 20.0);

// Kilometres and metres to the millimetre: 245.0 m is "0+245.000", 1234.5 m "1+234.500".
QString PlainStationText(double station);
