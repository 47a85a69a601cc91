#include "positions/GpsdFixSource.h"
#include "positions/PositionsRecorder.h"
#include "results/ResultsContext.h"
#include "shell/FileLookup.h"
#include "shell/Startup.h"
#include "shell/gui/Application.h"

#include "results/ResultsFile.h"
#include "screens/gui/frmMemoryCardData2.h"
#include "serial/PortNames.h"
#include "serial/QSerialLink.h"
#include "serial/TranscriptLink.h"
#include "serial/gui/ServiceReportCommand.h"
#include "serial/gui/frmRS232C.h"

#include <QCoreApplication>

#include <memory>

namespace
{

// What a service report gathers, from the folders the program itself uses.
ServiceReportSources ServiceReportSourcesNow()
{
    const clsMakeSpecialFolder folders;
    ServiceReportSources s;
    s.UserFolder = GetUserFolderPath(folders);
    const QString appFolder = ResolveAppFolder(QCoreApplication::applicationDirPath(), folders);
    s.PortSettingsFile = FindIgnoringCase(appFolder, QLatin1String(PortSettingsFileName));
    s.LanguageFile = FindIgnoringCase(s.UserFolder, QStringLiteral("fwdstr.ini"));
    const QString dataFolder = FindIgnoringCase(s.UserFolder, QStringLiteral("data")) + '/';
    s.TodayResultsFile = DailyFilePath(dataFolder, QDate::currentDate());
    s.ServiceFolder = ServiceFolderOf(s.UserFolder);
    s.TodayPositionsFile = PositionsFilePath(s.TodayResultsFile);
    s.GpsdStatusFile = s.ServiceFolder + QLatin1String(GpsdStatusFileName);
    return s;
}

} // namespace

// The composition root: the whole context is assembled here, above every floor it holds,
// and each subsystem's parts are plugged into start-up.
int main(int argc, char** argv)
{
    if (const std::optional<int> status = RunServiceReportMode(argc, argv, ServiceReportSourcesNow))
        return *status;
    ResultsContext context;
    std::unique_ptr<TranscriptLink> link;
    std::unique_ptr<GpsdFixSource> gpsd;
    std::unique_ptr<PositionsRecorder> positions;
    ApplicationHooks hooks;
    hooks.MakeLink = [&] {
        // Every exchange and every message box goes into the service transcript.
        link = std::make_unique<TranscriptLink>(
            ServiceFolderOf(context.UserFolder), *context.Time,
            [&port = context.Port] { return QStringLiteral("COM%1").arg(port.ComPort); },
            *context.Messages, context.G.UiLanguage,
            [&context](MessageSink& messages) {
                return std::make_unique<QSerialLink>(context.Port, context.UserFolder, messages);
            });
        context.Messages = &link->Messages();
        context.Link = link.get();
        // Positions from gpsd, asked from the start so that a fix is there by the first drop.
        gpsd = std::make_unique<GpsdFixSource>(GpsdEndpointOfEnvironment());
        positions = std::make_unique<PositionsRecorder>(
            *gpsd, ServiceFolderOf(context.UserFolder) + QLatin1String(GpsdStatusFileName));
        positions->KeepStatusCurrent();
        context.Positions = positions.get();
        gpsd->Start();
    };
    hooks.ReleaseLink = [&] {
        if (context.Link)
            context.Link->Connect(false);
        // Its socket goes while the application that runs it is still there, after the
        // recorder has kept its last status.
        context.Positions = nullptr;
        positions.reset();
        gpsd.reset();
    };
    hooks.TakePortInventory = [&] { EnumerateSerialPorts(context.Ports, context.UserFolder); };
    hooks.OpenPortSettings = [&](AppContext&) -> QWidget* { return new frmRS232C(context); };
    hooks.OpenMeasurement = [&](AppContext&) -> QWidget* {
        return new frmMemoryCardData2(context);
    };
    return Main(argc, argv, context, hooks);
}
