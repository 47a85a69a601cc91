#pragma once

#include "LotPoints.h"

// A drop whose K or E stands far from the rest of its point is worth a second look: a plate
// that moved or a weight caught badly gives a value well away from the drops around it. The
// yardstick is the median of the point's used drops, a used drop's own value among them: the
// odd one of three or four then barely moves it, and a reader checks a mark by sorting the
// point's values by hand. A drop is far when it lies more than FarShare of that median away.
inline constexpr double FarShare = 0.20;
// Fewer used drops than this make no yardstick: of two, neither is the odd one.
inline constexpr int FewestUsed = 3;

// For each drop of `point`, in its order: whether its K or its E is far from the median of the
// point's used drops. Undefined values (any negative) are never far and never counted. It
// marks; it never leaves a drop out.
std::vector<bool> FarDrops(const std::vector<LotDrop>& drops, const LotPoint& point);
