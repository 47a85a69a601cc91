#pragma once

#include "ReceiverFixes.h"
#include "record/PositionLine.h"

#include <optional>
#include <vector>

// What the receivers say now, as the results and the screen need it.
struct FixStatus {
    bool EverReached = false; // gpsd has answered at least once since the program started
    bool Connected = false;   // as of now
    std::vector<ReceiverStatus> Receivers;
    std::optional<DropFix> Fix; // the one a drop stored now takes (BestFix), ages as of now
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
