#include "ServiceReportCommand.h"

#include "shell/Bilingual.h"
#include "shell/OutputFile.h"
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
    const ServiceReportSources s = sources();
    Bilingual reason;
    if (!WriteServiceReport(s, path, &reason)) {
        const QString line = CannotWrite(path, reason).Pick(ReadUiLanguage(s.UserFolder));
        std::fprintf(stderr, "vx2968: %s\n", qPrintable(line));
        return 2;
    }
    return 0;
}

int SaveWithDialog(int argc, char** argv, const std::function<ServiceReportSources()>& sources)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VX-2968"));
    const ServiceReportSources s = sources();
    const UiLanguage language = ReadUiLanguage(s.UserFolder);
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
    Bilingual reason;
    if (!WriteServiceReport(s, path, &reason)) {
        ShowMessageNow(UiMessage{title, CannotWrite(path, reason), MessageButtons::Ok,
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
