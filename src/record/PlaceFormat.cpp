#include "PlaceFormat.h"

QString DegreesText(double degrees)
{
    return QString::number(degrees, 'f', 7);
}

QString GridMetresText(double metres)
{
    return QString::number(metres, 'f', 3);
}

double DegreesRounded(double degrees)
{
    return DegreesText(degrees).toDouble();
}

double GridMetresRounded(double metres)
{
    return GridMetresText(metres).toDouble();
}
