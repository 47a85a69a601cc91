#pragma once

#include <cstdint>

// The colours of a passed, a failed and a not judged point, the same on the site plan, in the
// chart and in their legends.
inline constexpr uint32_t LotPassingColour = 0x1f5fbf;
inline constexpr uint32_t LotFailingColour = 0xd01010;
inline constexpr uint32_t NotJudgedGrey = 0x606060;
// The road's centreline and its stakes beneath the points, lighter than any point's colour.
inline constexpr uint32_t CentrelineGrey = 0xa0a0a0;
