#pragma once

#include <QSize>

// Screen geometry of the windows is given in twips (1/1440 inch). One place converts.
// twipsPerPixel is 1440 / logical DPI: 15 on a usual 96-DPI display.
double TwipsPerPixel();
int TwipsToPixels(double twips);
int PixelsToTwips(int pixels);

// A usual title bar: 19 pixels at 15 twips a pixel. The platform's own caption is this
// plus CaptionHeightExtra.
inline constexpr int CaptionTwips = 285;

// Window sizes in twips are outer sizes, the window with its caption, in every window.
// The client area a window gets is what is left below the caption.
QSize ClientSizeOfWindow(int widthTwips, int heightTwips, int captionHeightExtra);
