// The time the window's thread spends on a burst of gpsd's reports, as a flooding gpsd or a
// backlog after a pause hands it over: 10,000 TPV reports of two receivers, the fix and
// none in turn, read at once as the program reads what has come (the newest report of each
// receiver taken, the rest passed over), the best of five runs. The newest of each receiver
// must be the one kept. Aim: under 20 ms, a fraction of a monitor poll. VX_BENCH_SHORT=1: the
// same burst, the time printed but not judged (for CI).
#include "BenchRun.h"
#include "positions/GpsdReport.h"
#include "positions/ReceiverFixes.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

namespace
{

constexpr int Reports = 10000;
constexpr double AimMs = 20.0;

QByteArray Burst(const QDateTime& now)
{
    QByteArray burst;
    for (int i = 0; i < Reports; ++i) {
        const QByteArray device = i % 2 ? "/dev/ttyUSB0" : "/dev/ttyACM0";
        const QByteArray mode = (i / 2) % 2 ? "3" : "1";
        burst += R"({"class":"TPV","device":")" + device + R"(","mode":)" + mode + R"(,"time":")" +
                 now.addMSecs(i).toString(Qt::ISODateWithMs).toLatin1() +
                 R"(","ept":0.005,"lat":35.681235000,"lon":139.767125000,"altHAE":79.2000,)"
                 R"("altMSL":40.2000,"alt":40.2000,"epx":7.5,"epy":9.1,"epv":21.4,)"
                 R"("track":0.0000,"speed":0.000,"climb":0.000,"eps":18.2,"epc":42.9,)"
                 R"("geoidSep":39.000,"eph":17.1,"sep":30.0})"
                 "\r\n";
    }
    return burst;
}

} // namespace

int main()
{
    PrintLineByLine();
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QByteArray burst = Burst(now);
    double best = 1e9;
    bool newestKept = true;
    for (int run = 0; run < 5; ++run) {
        ReceiverFixes fixes;
        QElapsedTimer timer;
        timer.start();
        const QByteArray read(burst.constData(), burst.size()); // as a read of the socket copies it
        for (const TpvReport& report : NewestTpvOfEachDevice(read))
            fixes.Take(report, 0);
        best = std::min(best, double(timer.nsecsElapsed()) / 1e6);
        const std::vector<ReceiverStatus> kept = fixes.Judge(now.addMSecs(Reports), 0);
        newestKept = newestKept && kept.size() == 2 &&
                     std::all_of(kept.begin(), kept.end(), [&](const ReceiverStatus& r) {
                         const int last = r.Device == "/dev/ttyUSB0" ? Reports - 1 : Reports - 2;
                         return r.Time == now.addMSecs(last) && r.Fix;
                     });
    }
    const bool met = best < AimMs;
    std::printf("burst of %d reports (%.1f MB): %.2f ms on the window's thread (aim < %.0f ms%s)\n",
                Reports, double(burst.size()) / 1e6, best, AimMs, AimNote(met));
    return BenchVerdict("bench_gpsd_burst", "the newest report of each receiver kept", newestKept,
                        met);
}
