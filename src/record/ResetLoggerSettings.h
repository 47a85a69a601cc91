#pragma once

#include "LoggerSettings.h"

#include <QDateTime>

// Lengths of the blank-padded test-condition texts.
inline constexpr int CommentLength = 128;
inline constexpr int PlaceLength = 40;
inline constexpr int OperatorNameLength = 20;

// The start values of the whole record and the day's test conditions, the test date
// being `now`. CalcType and the channels' Active flags keep what they had.
void ResetLoggerSettings(LoggerSettings& settings, const QDateTime& now);

// The reset's own coefficient: Capacity / RatedOutput divided by 10 for range 4000 and by
// 5 otherwise; 1.0 for a rated output of 0. (A read from the logger uses ReadCoefficient.)
double ResetCoefficient(const ChannelSettings& channel);
