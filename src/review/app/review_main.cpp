#include "lotcommand/PointsCommand.h"
#include "review/gui/ReviewWindow.h"

#include "shell/AppContext.h"
#include "shell/Startup.h"
#include "shell/gui/Application.h"
#include "shell/gui/QtFileChooser.h"
#include "shell/gui/QtMessageSink.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QIcon>

#include <cstdio>

namespace
{

// The office's scripts: points of day files or of a saved lot into a CSV file, a lot's
// verdict, or the usage; with no window (and no display needed).
int RunCommandLine(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    clsMakeSpecialFolder folders;
    const UiLanguage language = ReadUiLanguage(GetUserFolderPath(folders));
    const auto to = [](FILE* stream) {
        return [stream](const QString& line) {
            std::fputs((line + QLatin1Char('\n')).toUtf8().constData(), stream);
        };
    };
    return RunPointsCommand(QCoreApplication::arguments().mid(1), language,
                            CommandOutput{to(stderr), to(stdout)});
}

} // namespace

// The results review program: the days of the data folder, or the folder or file named
// on the command line (what a file manager passes when a file is opened with it).
int main(int argc, char** argv)
{
    // The same zone as without TZ, named once: glibc then stops looking at /etc/localtime
    // for every date and time, which is most of the time a year of files takes to list.
    if (qEnvironmentVariableIsEmpty("TZ"))
        qputenv("TZ", ":/etc/localtime");
    QStringList given;
    for (int i = 1; i < argc; ++i)
        given << QString::fromLocal8Bit(argv[i]);
    if (IsPointsCommand(given))
        return RunCommandLine(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VX-2968 Results"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("vx2968")));
    InstallFontSubstitutes();

    AppContext context;
    context.UserFolder = GetUserFolderPath(context.Folders);
    context.G.UiLanguage = ReadUiLanguage(context.UserFolder);
    InstallQtTranslations(app, context.G.UiLanguage);
    InitGlobalValues(context.G);
    ResetFontSpecs(context.G);
    QtMessageSink messages(context.G.UiLanguage);
    SystemClock clock;
    SystemClipboard clipboard;
    QtFileChooser files;
    context.Messages = &messages;
    context.Time = &clock;
    context.Clipboard = &clipboard;
    context.Files = &files;

    ReviewWindow window(context);
    window.show();
    const QStringList args = QApplication::arguments();
    if (args.size() > 1 && QFileInfo(args.at(1)).isFile())
        window.OpenFile(args.at(1));
    else
        window.OpenFolder(args.size() > 1 ? args.at(1) : context.UserFolder);
    return app.exec();
}
