#pragma once

// The program's version record.
namespace Version
{
inline constexpr int Major = 2;
inline constexpr int Minor = 2;
inline constexpr int Revision = 0;
inline constexpr const char* Comment = "VX-2968";
inline constexpr const char* FileDescription =
    "VX-2968 Data Measuring Software for QL-860H 20210407";
} // namespace Version
