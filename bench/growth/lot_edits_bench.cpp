// A lot's edits found in a large day, on the machine it runs on: a day of 100,000 drops and
// 170,000 edits (every drop excluded, every second one included again, a split at every tenth
// and a location at each point), each edit naming its drop two lines below where the drop is
// now, as after two lines were taken out of the file. The edits are found and the points
// formed, as opening the lot does, the best of five runs; then a quarter of the drops and
// edits, so that the cost is seen to grow with them and not with drops times edits. Every edit
// must find its drop, and the points and their exclusions come out as made.
// VX_BENCH_SHORT=1: 10,000 drops and 17,000 edits, the aims printed but not judged (for CI).
#include "BenchRun.h"
#include "lot/LotPoints.h"
#include "shell/Formatting.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

namespace
{

std::vector<LotDrop> DayOf(int count)
{
    // Wall times, as a day file gives them.
    const QDateTime start = WallTime(QDate(2024, 5, 6), QTime(0, 0));
    std::vector<LotDrop> drops;
    drops.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        const double k = 400 + i % 50;
        drops.push_back({0, i + 3, QString::number(i + 1), start.addSecs(i * 15LL), 30000, 1.0, k,
                         k / 3.8, CalcType::Burmister});
    }
    return drops;
}

LotEdits EditsOf(const std::vector<LotDrop>& drops)
{
    const auto named = [&](size_t i) {
        DropRef ref = RefOf(drops[i]);
        ref.Line += 2; // where the drop was when the lot was saved
        return ref;
    };
    LotEdits edits;
    for (size_t i = 0; i < drops.size(); ++i)
        edits.Choices.push_back({named(i), false, ExclusionReason::PlateMoved, {}});
    for (size_t i = 0; i < drops.size(); i += 2)
        edits.Choices.push_back({named(i), true, ExclusionReason::Seating, {}});
    for (size_t i = 0; i < drops.size(); i += 10) {
        edits.Splits.push_back(named(i));
        edits.Marks.push_back({named(i), QStringLiteral("No.%1").arg(i / 10), false, {}});
    }
    return edits;
}

struct Found {
    double Ms = 1e12;
    size_t Edits = 0;
    bool AllFound = false;
    size_t Points = 0;
    size_t Excluded = 0;
};

Found FindEdits(int dropCount)
{
    const std::vector<LotDrop> drops = DayOf(dropCount);
    const LotEdits saved = EditsOf(drops);
    Found best;
    for (int run = 0; run < 5; ++run) {
        LotEdits edits = saved;
        QElapsedTimer t;
        t.start();
        PlaceEdits(drops, {false}, &edits);
        const std::vector<LotPoint> points = FormPoints(drops, {60, 0}, edits);
        best.Ms = std::min(best.Ms, t.nsecsElapsed() / 1e6);
        const std::vector<const DropRef*> refs = RefsOf(edits);
        best.Edits = refs.size();
        best.AllFound = std::all_of(refs.begin(), refs.end(), [&](const DropRef* r) {
            return !r->Lost && r->Line == std::stoi(r->No.toStdString()) + 2;
        });
        best.Points = points.size();
        best.Excluded = 0;
        for (const LotPoint& p : points)
            best.Excluded += size_t(std::count_if(p.Drops.begin(), p.Drops.end(), [](auto& d) {
                return d.State == DropState::Excluded;
            }));
    }
    return best;
}

bool AsMade(const Found& f, int drops)
{
    return f.Edits == size_t(drops) * 17 / 10 && f.AllFound && f.Points == size_t(drops) / 10 &&
           f.Excluded == size_t(drops) / 2;
}

} // namespace

int main()
{
    PrintLineByLine();
    const int drops = ShortRun() ? 10'000 : 100'000;
    const Found quarter = FindEdits(drops / 4);
    const Found whole = FindEdits(drops);
    std::printf("%zu edits found in a day of %d drops and its points formed: %.1f ms (aim 1000 "
                "ms%s)\n",
                whole.Edits, drops, whole.Ms, AimNote(whole.Ms < 1000.0));
    bool met = whole.Ms < 1000.0;
    met =
        GrowthAim("its cost against a quarter of the drops and edits", quarter.Ms, whole.Ms) && met;
    const bool done = AsMade(quarter, drops / 4) && AsMade(whole, drops);
    return BenchVerdict("lot_edits", "every edit found at its drop, the points as made", done, met);
}
