#include "Application.h"

#include "LateInputGuard.h"
#include "QtMessageSink.h"
#include "SingleInstance.h"
#include "WindowRules.h"
#include "shell/AppContext.h"
#include "shell/Startup.h"
#include "shell/Twips.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QStyle>
#include <QTranslator>

void InstallFontSubstitutes()
{
    QFont::insertSubstitutions(QString::fromUtf8("ＭＳ 明朝"),
                               {QStringLiteral("IPAMincho"), QStringLiteral("IPAexMincho")});
    QFont::insertSubstitutions(QString::fromUtf8("ＭＳ Ｐ明朝"),
                               {QStringLiteral("IPAPMincho"), QStringLiteral("IPAMincho")});
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"),
                               {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif"),
                                QStringLiteral("IPAPMincho")});
}

void InstallQtTranslations(QApplication& app, UiLanguage language)
{
    if (language != UiLanguage::Japanese)
        return;
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ja"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    else
        delete translator;
}

int Main(int argc, char** argv, AppContext& context, const ApplicationHooks& hooks)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VX-2968"));
    InstallFontSubstitutes();
    InstallWindowRules(app);
    InstallLateInputGuard(app);

    context.UserFolder = GetUserFolderPath(context.Folders);

    // The language comes first, so that even the refusal below speaks it.
    context.G.UiLanguage = ReadUiLanguage(context.UserFolder);
    InstallQtTranslations(app, context.G.UiLanguage);

    // One copy per user: two would share the serial port and today file.
    SingleInstance instance;
    if (instance.AlreadyRunning()) {
        ShowMessageNow(
            UiMessage{{QString::fromUtf8("二重起動"), QStringLiteral("Already started.")},
                      {QString::fromUtf8("プログラムはすでに起動されています。"),
                       QStringLiteral("Program is already started!")},
                      MessageButtons::Ok,
                      MessageIcon::Information},
            context.G.UiLanguage);
        return 0;
    }

    InitGlobals(context.G, QCoreApplication::applicationDirPath(), context.Folders);
    context.G.DataFolder = MakeDataFolder(context.UserFolder);
    const int caption = app.style()->pixelMetric(QStyle::PM_TitleBarHeight);
    context.G.CaptionHeightExtra = ComputeCaptionHeightExtra(caption, TwipsPerPixel());

    QtMessageSink messages(context.G.UiLanguage);
    SystemClock clock;
    SystemClipboard clipboard;
    context.Messages = &messages;
    context.Time = &clock;
    context.Clipboard = &clipboard;
    if (hooks.MakeLink)
        hooks.MakeLink();

    if (hooks.TakePortInventory)
        hooks.TakePortInventory();
    ResetFontSpecs(context.G);

    frmMainMenu menu(context, hooks.OpenMeasurement, hooks.OpenPortSettings, hooks.ReleaseLink);
    menu.show();
    const int result = app.exec();
    if (hooks.ReleaseLink)
        hooks.ReleaseLink();
    return result;
}
