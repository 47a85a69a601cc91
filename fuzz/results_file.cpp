// A daily results file of any content: read back without crashing, never more than the
// table's ten results, and never a bad diameter or ratio taken over a good one.
#include "results/ResultsContext.h"
#include "results/ResultsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // In memory where the system has it: the target writes a file every run.
    static QTemporaryDir dir(QFileInfo("/dev/shm").isWritable()
                                 ? "/dev/shm/vx-fuzz-XXXXXX"
                                 : QDir::tempPath() + "/vx-fuzz-XXXXXX");
    const QString path = dir.path() + "/20261206.csv";
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    ResultsContext context;
    RecordingMessages messages;
    context.Messages = &messages;
    context.G.UiLanguage = UiLanguage::English;
    context.G.MaxResults = 10;
    context.Logger.PlateDiameter = 300;
    context.Logger.PoissonRatio = 0.35;
    int32_t columns = 2;
    const int32_t read = ReadResultsFile(context, path, &columns);
    if (read < -1 || read > context.G.MaxResults)
        std::abort();
    if (context.Logger.PlateDiameter < 1 || !(context.Logger.PoissonRatio > 0) ||
        !(context.Logger.PoissonRatio < 1))
        std::abort();
    if (columns < 2 || columns > 20)
        std::abort();
    return 0;
}
