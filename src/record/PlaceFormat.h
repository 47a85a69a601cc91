#pragma once

#include <QString>

// A place is written one way wherever it appears: 7 decimals of a degree (a centimetre) and
// 3 decimals of a metre on the site's grid. The digits are those of the exact decimal value
// of the number, so a tie such as 139.75998065 gives the same last digit in every table,
// file and report.
QString DegreesText(double degrees);
QString GridMetresText(double metres);

// The number the text stands for, for outputs that hold numbers rather than text.
double DegreesRounded(double degrees);
double GridMetresRounded(double metres);
