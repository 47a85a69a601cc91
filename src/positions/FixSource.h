#pragma once

#include "PositionLine.h"

#include <optional>

// What the receiver says now, as the results and the screen need it.
struct FixStatus {
    bool EverReached = false; // gpsd has answered at least once since the program started
    bool Connected = false;
    std::optional<int> LastMode; // of the latest TPV report
    std::optional<DropFix> Fix;  // the latest with a position, AgeSeconds as of now
};

// Where positions come from. The program's comes from gpsd (GpsdFixSource); nothing that
// uses one knows how it is reached.
class FixSource
{
public:
    virtual ~FixSource() = default;
    virtual FixStatus Status() const = 0;
    std::optional<DropFix> CurrentFix() const { return Status().Fix; }
};
