#pragma once

#include "ResultsTable.h"

#include <QString>
#include <cstdint>

// The constants the ground values were defined with. Pi is deliberately the short value
// the earlier results were computed with, so that results stay comparable across the years.
inline constexpr double ResultPi = 3.1415927;
inline constexpr double DisplacementThreshold = 1e-6; // mm
inline constexpr int16_t CalcTypeBurmister = 1;
inline constexpr int16_t HighestMeasNo = 32767;

// Display formats of the results (fixed for every screen, file and report).
inline const QString LoadFormat = QStringLiteral("0");
inline const QString DisplacementFormat = QStringLiteral("0.000");
inline const QString KFormat = QStringLiteral("0");
inline const QString EFormat = QStringLiteral("0");
inline const QString NoFormat = QStringLiteral("00000");

// The bearing coefficient K-NWR in MN/m3 from the peak load p (N), the peak displacement
// d (mm) and the plate diameter (mm); -1 when it is undefined.
double CalcK(double p, double d, int32_t plateDiameter);
// The elastic modulus E-NWR in MN/m2, after Burmister (calcType 1) or Boussinesq (any
// other type); -1 when it is undefined.
double CalcE(double p, double d, int32_t plateDiameter, double poisson, int16_t calcType);

// `value` in `format` when it is above 0, else "------".
QString FormatPositive(double value, const QString& format);

// The measurement number that follows `measNo`: 32767 is followed by 0.
int16_t NextMeasNo(int16_t measNo);
