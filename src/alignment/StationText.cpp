#include "StationText.h"

#include <algorithm>
#include <cmath>

namespace
{

// Larger stations than this are no road's, and their digits would not fit the counting.
constexpr double LargestStation = 1e12;

bool Countable(double station)
{
    return std::isfinite(station) && std::abs(station) < LargestStation;
}

// A station before zero keeps its sign in front, its stakes and metres counted as after it.
QString Sign(double station, qint64 rounded)
{
    return station < 0.0 && rounded != 0 ? QStringLiteral("-") : QString();
}

} // namespace

QString JapaneseStationText(double station, double interval)
{
    if (!Countable(station) || !(interval > 0.0) || !Countable(interval))
        return {};
    // Counted in whole centimetres, so that 19.996 m past a stake is the next stake's +0.00.
    const qint64 cm = std::llround(std::abs(station) * 100.0);
    const qint64 stake = std::max<qint64>(1, std::llround(interval * 100.0));
    const qint64 past = cm % stake;
    return QStringLiteral("%1No.%2+%3.%4")
        .arg(Sign(station, cm))
        .arg(cm / stake)
        .arg(past / 100)
        .arg(past % 100, 2, 10, QLatin1Char('0'));
}

QString PlainStationText(double station)
{
    if (!Countable(station))
        return {};
    const qint64 mm = std::llround(std::abs(station) * 1000.0);
    const qint64 metres = mm % 1000000;
    return QStringLiteral("%1%2+%3.%4")
        .arg(Sign(station, mm))
        .arg(mm / 1000000)
        .arg(metres / 1000, 3, 10, QLatin1Char('0'))
        .arg(metres % 1000, 3, 10, QLatin1Char('0'));
}
