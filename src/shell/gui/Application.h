#pragma once

#include "frmMainMenu.h"

#include <functional>
#include <memory>

struct AppContext;
class SerialLink;

// What the subsystems plug into start-up: the serial line, the port inventory and the
// screens the main menu opens.
struct ApplicationHooks {
    std::function<std::unique_ptr<SerialLink>(AppContext&)> MakeLink;
    std::function<void(AppContext&)> TakePortInventory;
    frmMainMenu::ScreenOpener OpenMeasurement;
    frmMainMenu::ScreenOpener OpenPortSettings;
};

// Maps the Windows font names the texts ask for onto fonts this system has, so that
// Japanese text gets Japanese faces.
void InstallFontSubstitutes();

// The entry procedure: language, second-copy refusal, start values, folders, caption
// height, port inventory, fonts, main menu; then the event loop.
int Main(int argc, char** argv, const ApplicationHooks& hooks);
