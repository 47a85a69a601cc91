#include "SimConfig.h"
#include "SimHost.h"

#include <QStandardPaths>
#include <QString>
#include <cstdio>

namespace
{
// The same documents folder the program resolves its user folder from, so that a
// "--com N" link is the one the program finds as COM N.
std::string ComLinkPath(int comPort)
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return (documents + "/VX-2968/ports/COM" + QString::number(comPort)).toStdString();
}
} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const vxsim::ParseOutcome parsed = vxsim::ParseArguments(arguments);
    if (parsed.Help) {
        std::fputs(vxsim::UsageText().c_str(), stdout);
        return 0;
    }
    if (!parsed.Config) {
        std::fprintf(stderr, "vx-logger-sim: %s\n", parsed.Error.c_str());
        return 2;
    }
    const vxsim::SimConfig& config = *parsed.Config;
    const std::string link = config.ComPort > 0 ? ComLinkPath(config.ComPort) : config.LinkPath;
    vxsim::SimHost host(config, link);
    return host.Run();
}
