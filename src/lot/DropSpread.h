#pragma once

#include "LotPoints.h"

// A drop whose K or E stands far from the rest of its point is worth a second look: a plate
// that moved or a weight caught badly gives a value well away from the drops around it. The
// median of the point's other used drops is the yardstick, so that the odd drop does not
// drag it; a drop is far when it lies more than FarShare of that median away.
inline constexpr double FarShare = 0.20;
// Fewer other drops than this make no yardstick: of two drops, neither is the odd one.
inline constexpr int FewestOthers = 2;

// Whether `value` lies more than FarShare from the median of `others`; an undefined value
// (any negative) is never far and never counts in the median.
bool IsFar(double value, const std::vector<double>& others);

// For each drop of `point`, in its order: whether its K or its E is far from the point's
// other used drops. It marks; it never leaves a drop out.
std::vector<bool> FarDrops(const std::vector<LotDrop>& drops, const LotPoint& point);
