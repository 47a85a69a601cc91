#include "LotDays.h"

#include "LotDrops.h"

#include <QThread>

#include <atomic>
#include <future>

namespace
{

LotDayRead ReadOne(const LotDayFile& saved, UiLanguage language)
{
    const InputRead read = ReadInputFile(saved.Path, DayFileLimit());
    LotDayRead out;
    out.Day = DayOfInput(saved.Path, read, language);
    LotDayFile now = DescribeDayBytes(saved.Path, read.Bytes);
    if (read.Ok() && !out.Day.Refused())
        now.Drops = DropDigests(out.Day);
    if (!saved.Sha256.isEmpty()) { // not a day just added
        out.State = CompareDayFile(saved, read, now);
        out.Change = DayFileChange(saved, read, now);
    }
    out.Now = read.Ok() ? now : saved;
    // A file the lot names that holds no day (a picture, a note) is never counted as a day
    // without drops, whether its bytes are those the lot saw or not.
    if (read.Ok() && out.Day.Refused() && !saved.Sha256.isEmpty()) {
        const InputRead noDay{InputFault::Unreadable, out.Day.Problem, read.Size, {}};
        out.State = CompareDayFile(saved, noDay, now);
        out.Change = DayFileChange(saved, noDay, now);
    }
    return out;
}

} // namespace

std::vector<LotDayRead> ReadLotDays(const std::vector<LotDayFile>& files, UiLanguage language)
{
    std::vector<LotDayRead> out(files.size());
    std::atomic<size_t> next{0};
    const auto work = [&] {
        for (size_t i = next++; i < files.size(); i = next++)
            out[i] = ReadOne(files[i], language);
    };
    const int helpers = std::min<int>(QThread::idealThreadCount(), int(files.size())) - 1;
    std::vector<std::future<void>> running;
    running.reserve(size_t(std::max(helpers, 0)));
    for (int h = 0; h < helpers; ++h)
        running.push_back(std::async(std::launch::async, work));
    work();
    for (auto& r : running)
        r.get();
    return out;
}
