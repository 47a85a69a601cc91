#pragma once

// Screen geometry of the windows is given in twips (1/1440 inch). One place converts.
// twipsPerPixel is 1440 / logical DPI: 15 on a usual 96-DPI display.
double TwipsPerPixel();
int TwipsToPixels(double twips);
int PixelsToTwips(int pixels);
