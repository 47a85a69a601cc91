#include "results/ResultsContext.h"
#include "shell/gui/Application.h"

#include "screens/gui/frmMemoryCardData2.h"
#include "serial/PortNames.h"
#include "serial/QSerialLink.h"
#include "serial/gui/frmRS232C.h"

#include <memory>

// The composition root: the whole context is assembled here, above every floor it holds,
// and each subsystem's parts are plugged into start-up.
int main(int argc, char** argv)
{
    ResultsContext context;
    std::unique_ptr<SerialLink> link;
    ApplicationHooks hooks;
    hooks.MakeLink = [&] {
        link = std::make_unique<QSerialLink>(context.Port, context.UserFolder, *context.Messages);
        context.Link = link.get();
    };
    hooks.ReleaseLink = [&] {
        if (context.Link)
            context.Link->Connect(false);
    };
    hooks.TakePortInventory = [&] { EnumerateSerialPorts(context.Ports, context.UserFolder); };
    hooks.OpenPortSettings = [&](AppContext&) -> QWidget* { return new frmRS232C(context); };
    hooks.OpenMeasurement = [&](AppContext&) -> QWidget* {
        return new frmMemoryCardData2(context);
    };
    return Main(argc, argv, context, hooks);
}
