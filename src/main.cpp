#include "shell/AppContext.h"
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
    return s;
}

} // namespace

// The composition root: each subsystem's parts are plugged into start-up here.
int main(int argc, char** argv)
{
    if (const std::optional<int> status = RunServiceReportMode(argc, argv, ServiceReportSourcesNow))
        return *status;
    ApplicationHooks hooks;
    hooks.MakeLink = [](AppContext& c) -> std::unique_ptr<SerialLink> {
        // Every exchange and every message box goes into the service transcript.
        auto link = std::make_unique<TranscriptLink>(
            ServiceFolderOf(c.UserFolder), *c.Time,
            [&port = c.Port] { return QStringLiteral("COM%1").arg(port.ComPort); }, *c.Messages,
            c.G.UiLanguage,
            [&c](MessageSink& messages) {
                return std::make_unique<QSerialLink>(c.Port, c.UserFolder, messages);
            });
        c.Messages = &link->Messages();
        return link;
    };
    hooks.TakePortInventory = [](AppContext& c) { EnumerateSerialPorts(c.Ports, c.UserFolder); };
    hooks.OpenPortSettings = [](AppContext& c) -> QWidget* { return new frmRS232C(c); };
    hooks.OpenMeasurement = [](AppContext& c) -> QWidget* { return new frmMemoryCardData2(c); };
    return Main(argc, argv, hooks);
}
