#pragma once

#include "PortSettings.h"
#include "SerialLink.h"

#include "shell/AppContext.h"

// The shared state of the serial line: its settings, the ports present and the line.
struct SerialContext : AppContext {
    PortSettings Port;
    PortInventory Ports;
    SerialLink* Link = nullptr;
};
