#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

double TwipsPerPixel()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

int TwipsToPixels(double twips)
{
    return static_cast<int>(std::lround(twips / TwipsPerPixel()));
}

int PixelsToTwips(int pixels)
{
    return static_cast<int>(std::lround(pixels * TwipsPerPixel()));
}

QSize ClientSizeOfWindow(int widthTwips, int heightTwips, int captionHeightExtra)
{
    return QSize(TwipsToPixels(widthTwips),
                 TwipsToPixels(heightTwips - CaptionTwips - captionHeightExtra));
}
