#include "shell/AppContext.h"
#include "shell/gui/Application.h"

#include "screens/gui/frmMemoryCardData2.h"
#include "serial/PortNames.h"
#include "serial/QSerialLink.h"
#include "serial/gui/frmRS232C.h"

// The composition root: each subsystem's parts are plugged into start-up here.
int main(int argc, char** argv)
{
    ApplicationHooks hooks;
    hooks.MakeLink = [](AppContext& c) -> std::unique_ptr<SerialLink> {
        return std::make_unique<QSerialLink>(c.Port, c.UserFolder, *c.Messages);
    };
    hooks.TakePortInventory = [](AppContext& c) { EnumerateSerialPorts(c.Ports, c.UserFolder); };
    hooks.OpenPortSettings = [](AppContext& c) -> QWidget* { return new frmRS232C(c); };
    hooks.OpenMeasurement = [](AppContext& c) -> QWidget* { return new frmMemoryCardData2(c); };
    return Main(argc, argv, hooks);
}
