#include "ServiceReportCommand.h"

#include "shell/Bilingual.h"
#include "shell/Startup.h"
#include "shell/gui/Application.h"
#include "shell/gui/QtMessageSink.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <cstdio>
#include <cstring>

namespace
{

int WriteToFile(int argc, char** argv, const char* target,
                const std::function<ServiceReportSources()>& sources)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("VX-2968"));
    const QString path = QString::fromLocal8Bit(target);
    QString error;
    if (!WriteServiceReport(sources(), path, &error)) {
        error.replace(QLatin1Char('\n'), QLatin1String("; ")); // one line, for scripts
        std::fprintf(stderr, "vx2968: cannot write the service report %s: %s\n", qPrintable(path),
                     qPrintable(error));
        return 2;
    }
    return 0;
}

int SaveWithDialog(int argc, char** argv, const std::function<ServiceReportSources()>& sources)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VX-2968"));
    const ServiceReportSources s = sources();
    const int16_t language = ReadUiLanguage(s.UserFolder);
    InstallQtTranslations(app, language);
    const QString suggested =
        QDir::homePath() + QStringLiteral("/vx2968-service-") +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmm")) +
        QStringLiteral(".tar.gz");
    const QString path = QFileDialog::getSaveFileName(
        nullptr, Tr(language, "サービスレポートの保存", "Save Service Report"), suggested,
        Tr(language, "サービスレポート (*.tar.gz)", "Service report (*.tar.gz)"));
    if (path.isEmpty())
        return 0;
    const Bilingual title{QString::fromUtf8("サービスレポート"), QStringLiteral("Service report")};
    QString error;
    if (!WriteServiceReport(s, path, &error)) {
        ShowMessageNow(UiMessage{title,
                                 {QString::fromUtf8("%1 に保存できません。\n%2").arg(path, error),
                                  QStringLiteral("Cannot save %1.\n%2").arg(path, error)},
                                 MessageButtons::Ok,
                                 MessageIcon::Exclamation},
                       language);
        return 2;
    }
    ShowMessageNow(
        UiMessage{
            title,
            {QString::fromUtf8("%1 に保存しました。\nサポート担当者に送ってください。").arg(path),
             QStringLiteral("Saved as %1.\nSend it to your support engineer.").arg(path)},
            MessageButtons::Ok,
            MessageIcon::Information},
        language);
    return 0;
}

} // namespace

std::optional<int> RunServiceReportMode(int argc, char** argv,
                                        const std::function<ServiceReportSources()>& sources)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--service-report-dialog") == 0)
            return SaveWithDialog(argc, argv, sources);
        if (std::strcmp(argv[i], "--service-report") == 0) {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "vx2968: --service-report needs the file to write\n");
                return 2;
            }
            return WriteToFile(argc, argv, argv[i + 1], sources);
        }
    }
    return std::nullopt;
}
