#pragma once

#include "TempHome.h"
#include "results/ResultsContext.h"
#include "shell/Startup.h"

#include <QDir>

// An application context as start-up leaves it, living in `home`: start values in the
// given language, the program folder and the user folder with its data folder there,
// and the test's message sink and clock.
inline void PrepareContext(AppContext& context, const TempHome& home, MessageSink& messages,
                           Clock& clock, UiLanguage language = UiLanguage::English)
{
    context.G.UiLanguage = language;
    InitGlobalValues(context.G);
    ResetFontSpecs(context.G);
    context.G.AppFolder = home.Path() + "/";
    context.UserFolder = home.UserFolder();
    QDir().mkpath(context.UserFolder);
    context.G.DataFolder = MakeDataFolder(context.UserFolder);
    context.Messages = &messages;
    context.Time = &clock;
}
// For tests that still pass the bare code (0 Japanese, any other value English).
inline void PrepareContext(AppContext& context, const TempHome& home, MessageSink& messages,
                           Clock& clock, int16_t code)
{
    PrepareContext(context, home, messages, clock, UiLanguageOfCode(code));
}
