#include "review/gui/frmReview.h"

#include "shell/AppContext.h"
#include "shell/Startup.h"
#include "shell/gui/Application.h"
#include "shell/gui/QtMessageSink.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>

// The results review program: the days of the data folder, or the folder or file named
// on the command line (what a file manager passes when a file is opened with it).
int main(int argc, char** argv)
{
    // The same zone as without TZ, named once: glibc then stops looking at /etc/localtime
    // for every date and time, which is most of the time a year of files takes to list.
    if (qEnvironmentVariableIsEmpty("TZ"))
        qputenv("TZ", ":/etc/localtime");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VX-2968 Results"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("vx2968")));
    InstallFontSubstitutes();

    AppContext context;
    context.UserFolder = GetUserFolderPath(context.Folders);
    context.G.UiLanguage = ReadUiLanguage(context.UserFolder);
    InitGlobalValues(context.G);
    ResetFontSpecs(context.G);
    QtMessageSink messages(context.G.UiLanguage);
    SystemClock clock;
    SystemClipboard clipboard;
    context.Messages = &messages;
    context.Time = &clock;
    context.Clipboard = &clipboard;

    frmReview window(context);
    window.show();
    const QStringList args = QApplication::arguments();
    if (args.size() > 1 && QFileInfo(args.at(1)).isFile())
        window.OpenFile(args.at(1));
    else
        window.OpenFolder(args.size() > 1 ? args.at(1) : context.UserFolder);
    return app.exec();
}
