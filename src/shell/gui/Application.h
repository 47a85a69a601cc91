#pragma once

#include "frmMainMenu.h"
#include "shell/Bilingual.h"

#include <functional>

class QApplication;
struct AppContext;

// What the subsystems plug into start-up: the serial line (made once the messages exist,
// released when the program ends), the port inventory and the screens the main menu opens.
struct ApplicationHooks {
    std::function<void()> MakeLink;
    std::function<void()> ReleaseLink;
    std::function<void()> TakePortInventory;
    frmMainMenu::ScreenOpener OpenMeasurement;
    frmMainMenu::ScreenOpener OpenPortSettings;
};

// Maps the Windows font names the texts ask for onto fonts this system has, so that
// Japanese text gets Japanese faces.
void InstallFontSubstitutes();

// Qt's own texts (the buttons of message boxes, the file and printer dialogs) in Japanese
// when the program speaks Japanese, so that no dialog comes up half in English. Without
// the translation files installed they stay English and nothing else changes.
void InstallQtTranslations(QApplication& app, UiLanguage language);

// The entry procedure: language, second-copy refusal, start values, folders, caption
// height, port inventory, fonts, main menu; then the event loop. `context` is the whole
// context of the program, which its main assembles.
int Main(int argc, char** argv, AppContext& context, const ApplicationHooks& hooks);
