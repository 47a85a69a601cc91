#include "LotStations.h"

#include "alignment/LandXmlAlignment.h"
#include "alignment/StationText.h"

#include "geo/SiteCrs.h"

#include <QDir>
#include <algorithm>
#include <cmath>

namespace
{

// The plan's line follows a curve to within a few millimetres at the radii of roads.
constexpr double PlanStepMetres = 2.0;
// A plan of more stakes than this could not show them: none are drawn.
constexpr double MostStakes = 100000.0;

// `named`: whether the file as it is now still gives the centreline.
Bilingual AlignmentFileChange(const PlacesFileRead& read, bool named)
{
    const QString path = QDir::toNativeSeparators(read.Record.Path);
    if (read.State == DayFileState::Changed && !named)
        return Words("中心線のファイル %1 はロットの保存後に変更され、今は中心線を読めません。"
                     "測点番号はありません。確かめてから変更を受け入れてください。",
                     "The centreline's file %1 has changed since the lot was saved and gives no "
                     "centreline now: the points have no station. Check it, then accept the "
                     "change.")
            .Arg(path);
    if (read.State == DayFileState::Changed)
        return Words("中心線のファイル %1 はロットの保存後に変更されました。測点番号は今の内容から"
                     "求め直しました。確かめてから変更を受け入れてください。",
                     "The centreline's file %1 has changed since the lot was saved: the "
                     "stations were found again from what it holds now. Check them, then "
                     "accept the change.")
            .Arg(path);
    return Words("中心線のファイル %1 がないか読めません。測点番号はありません。確かめてから変更を"
                 "受け入れてください。",
                 "The centreline's file %1 is missing or cannot be read: the points have no "
                 "station. Check it, then accept the change.")
        .Arg(path);
}

// A stake's station without its metres past: "No.12", "0+200".
QString StakeLabel(double station, const LotAlignment& settings)
{
    const QString text = StationText(station, settings);
    return text.left(text.lastIndexOf(settings.Form == StationForm::Stakes ? QLatin1Char('+')
                                                                           : QLatin1Char('.')));
}

Bilingual ShortReason(StationMiss miss, double limit)
{
    switch (miss) {
    case StationMiss::None:
        break;
    case StationMiss::BeforeStart:
        return Words("始点より手前", "before the start");
    case StationMiss::AfterEnd:
        return Words("終点より先", "beyond the end");
    case StationMiss::TooFar:
        return Words("中心線から %1 m 超", "more than %1 m off")
            .Arg(QString::number(limit, 'g', 6));
    }
    return {};
}

} // namespace

AlignmentRead ReadLotAlignment(const LotAlignment& named, int epsg)
{
    AlignmentRead out;
    const InputRead input = ReadInputFile(named.File.Path, AlignmentFileLimit());
    out.File = CheckPlacesFile(named.File, input);
    AlignmentFile file = AlignmentOfInput(named.File.Path, input, named.Name);
    if (out.File.State != DayFileState::Same)
        out.File.Change = AlignmentFileChange(out.File, !file.Refused());
    if (file.Refused()) {
        out.Problem = file.Problem;
        return out;
    }
    out.FileEpsg = file.EpsgCode.toInt();
    const QString path = QDir::toNativeSeparators(named.File.Path);
    if (epsg == 0) {
        out.Problem = Words("%1: 測点番号を求めるには現場の座標参照系が必要です。",
                            "%1: the stations along the centreline need the site's reference "
                            "system.")
                          .Arg(path);
        return out;
    }
    if (out.FileEpsg != 0 && out.FileEpsg != epsg) {
        out.Problem = SystemsDiffer(named.File.Path, out.FileEpsg, epsg);
        return out;
    }
    out.Road = std::move(file.Chosen);
    return out;
}

Bilingual NoSystemForStations(const QString& path)
{
    return Words("%1 は座標参照系を示していません。測点番号を求めるには現場の座標参照系を"
                 "指定してください。",
                 "%1 names no reference system: give the site's to find the stations.")
        .Arg(QDir::toNativeSeparators(path));
}

Bilingual SystemsDiffer(const QString& path, int fileEpsg, int lotEpsg)
{
    return Words("%1 の座標参照系 EPSG:%2 がロットの EPSG:%3 と違います。",
                 "%1 is in EPSG:%2, the lot in EPSG:%3.")
        .Arg(QDir::toNativeSeparators(path))
        .Arg(QString::number(fileEpsg))
        .Arg(QString::number(lotEpsg));
}

QString StationText(double station, const LotAlignment& settings)
{
    return settings.Form == StationForm::Stakes ? JapaneseStationText(station, settings.Interval)
                                                : PlainStationText(station);
}

Bilingual StationLocation(const PointStation& along)
{
    if (!along.HasStation)
        return {};
    const QString metres = QString::number(std::abs(along.Offset), 'f', 2);
    if (metres == QLatin1String("0.00"))
        return Both(along.Text);
    const bool right = along.Offset > 0.0;
    return Bilingual{along.Text + (right ? QString::fromUtf8(" 右 ") : QString::fromUtf8(" 左 ")) +
                         metres + QStringLiteral(" m"),
                     along.Text + (right ? QStringLiteral(" R ") : QStringLiteral(" L ")) + metres +
                         QStringLiteral(" m")};
}

std::vector<PointStation> StationPoints(const Alignment& road, const LotAlignment& settings,
                                        const std::vector<PointPlace>& places, const SiteCrs& crs)
{
    std::vector<PointStation> out(places.size());
    for (size_t i = 0; i < places.size(); ++i) {
        PlanePoint at;
        if (!places[i].HasPlace || !crs.ToGrid(places[i].Where, &at.North, &at.East))
            continue;
        const StationOffset found = road.Locate(at, settings.OffsetLimit);
        PointStation& s = out[i];
        s.HasStation = found.HasStation();
        s.Why = found.Reason(settings.OffsetLimit);
        s.Short = ShortReason(found.Miss, settings.OffsetLimit);
        if (!s.HasStation)
            continue;
        s.Station = found.Station;
        s.Offset = found.Offset;
        s.Text = StationText(found.Station, settings);
        s.Ambiguous = found.Ambiguous;
    }
    return out;
}

void AddCentreline(const Alignment& road, const LotAlignment& settings, SitePlanData* plan)
{
    const auto place = [](const PlanePoint& p) { return PlanPlace{p.East, p.North}; };
    for (const AlignmentElement& e : road.Elements) {
        const int steps = e.Kind == ElementKind::Line
                              ? 1
                              : std::max(1, int(std::ceil(e.Length / PlanStepMetres)));
        for (int k = plan->Centreline.empty() ? 0 : 1; k <= steps; ++k)
            plan->Centreline.push_back(place(e.At(e.Length * k / steps)));
    }
    // A stake at every interval of station, counted as the stations are: where an equation
    // makes the count jump, the stakes follow the new count.
    const double interval = settings.Form == StationForm::Stakes ? settings.Interval : 100.0;
    if (road.Elements.empty() || !(interval > 0.0) || road.Length() / interval > MostStakes)
        return;
    std::vector<double> bounds{road.StaStart};
    for (const StationEquation& q : road.Equations)
        bounds.push_back(q.Internal);
    const double end = road.StaStart + road.Length();
    bounds.push_back(end);
    size_t element = 0;
    for (size_t b = 0; b + 1 < bounds.size(); ++b) {
        const double from = std::max(bounds[b], road.StaStart), to = std::min(bounds[b + 1], end);
        const double shift = road.StationOf(from) - from;
        const bool last = b + 2 == bounds.size();
        for (double station = std::ceil(road.StationOf(from) / interval - 1e-9) * interval;;
             station += interval) {
            const double internal = station - shift;
            if (internal > to + 1e-9 || (!last && internal >= to - 1e-9))
                break;
            while (element + 1 < road.Elements.size() &&
                   road.StaStart + road.Elements[element + 1].Along <= internal)
                ++element;
            const AlignmentElement& e = road.Elements[element];
            const double along = std::clamp(internal - road.StaStart - e.Along, 0.0, e.Length);
            const double heading = e.HeadingAt(along);
            plan->Stakes.push_back(PlanStake{place(e.At(along)), std::cos(heading),
                                             std::sin(heading), StakeLabel(station, settings)});
        }
    }
}
