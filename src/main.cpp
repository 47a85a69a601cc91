#include "shell/gui/Application.h"
#include "shell/AppContext.h"

// The composition root: each subsystem's parts are plugged into start-up here.
int main(int argc, char** argv)
{
    ApplicationHooks hooks;
    // hooks.MakeLink: the serial line on QSerialPort (serial subsystem).
    // hooks.TakePortInventory: EnumerateSerialPorts (serial subsystem).
    // hooks.OpenPortSettings: the RS-232C settings window (serial subsystem).
    // hooks.OpenMeasurement: the measurement screen (screens subsystem).
    return Main(argc, argv, hooks);
}
