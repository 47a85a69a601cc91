#pragma once

#include <cstdint>
#include <string>

namespace vxsim
{

// Time on the simulator's steady clock, in microseconds since it started. The logic never
// reads a clock itself: the host (or a test) says what time it is.
using Micros = int64_t;

inline constexpr int FirstChannel = 1;
inline constexpr int LastChannel = 6;
inline constexpr const char* LineEnd = "\r\n";

// "ERR-0nn" for a code such as 31.
std::string ErrorReply(int code);

} // namespace vxsim
