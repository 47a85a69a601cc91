#include "PointsCommand.h"

#include "days/DayFile.h"
#include "geo/PointsGeoJson.h"
#include "lotsession/LotDrops.h"
#include "lotsession/LotSession.h"
#include "record/PositionLine.h"

#include "lot/PointsCsv.h"

#include "shell/OutputFile.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

namespace
{

const QString Points = QStringLiteral("--points");
const QString LotOption = QStringLiteral("--lot");

const char* const UsageJa =
    "使い方:\n"
    "  vx2968-review [フォルダー | 日のファイル]\n"
    "      結果を見るウィンドウを開きます。\n"
    "  vx2968-review --points OUT.csv [--gap 秒] [--seating 回数] [--least-used 回数]\n"
    "                [--require-k 値] [--require-e 値] [位置] 日のファイル...\n"
    "      日のファイルの測点を OUT.csv に書きます (- で標準出力)。\n"
    "  vx2968-review --lot ロットファイル [--points OUT.csv] [位置]\n"
    "      保存したロットをその設定と編集で判定し、測点を書き、判定を 1 行で出力します:\n"
    "      verdict: pass|fail|none (理由)\n"
    "  位置: [--track FILE.gpx]... [--utc-offset ±HH:MM] [--crs EPSG:コード]\n"
    "        [--alignment FILE.xml [--alignment-name 名前] [--station-interval 20]]\n"
    "        [--geojson OUT.geojson]\n"
    "      GPS トラックで打撃の位置を時刻から求め (日のファイルの横の .pos が優先)、\n"
    "      測点の緯度・経度 (座標系があれば北距・東距) を加え、GeoJSON にも書きます。\n"
    "      LandXML の中心線があれば、測点の測点番号と中心線からの離れ (右が正) も加えます。\n"
    "  vx2968-review -h | --help\n"
    "      この説明を出力します。\n"
    "終了コード: 0 完了、2 引数の誤りか読み書きできないファイル。\n";
const char* const UsageEn =
    "Usage:\n"
    "  vx2968-review [FOLDER | DAYFILE]\n"
    "      Opens the results window.\n"
    "  vx2968-review --points OUT.csv [--gap SECONDS] [--seating N] [--least-used N]\n"
    "                [--require-k VALUE] [--require-e VALUE] [PLACES] DAYFILE...\n"
    "      Writes the points of the day files to OUT.csv (- for standard output).\n"
    "  vx2968-review --lot LOTFILE [--points OUT.csv] [PLACES]\n"
    "      Judges a saved lot with its own rules and edits, writes its points, and prints\n"
    "      its verdict as one line: verdict: pass|fail|none (reason)\n"
    "  PLACES: [--track FILE.gpx]... [--utc-offset ±HH:MM] [--crs EPSG:CODE]\n"
    "          [--alignment FILE.xml [--alignment-name NAME] [--station-interval 20]]\n"
    "          [--geojson OUT.geojson]\n"
    "      Places the drops on GPS tracks by time (a day file's .pos beside it comes first),\n"
    "      adds the points' latitude and longitude (and northing and easting in the system)\n"
    "      and writes the points as GeoJSON too. With a LandXML centreline, adds each\n"
    "      point's station and its offset from the centreline (right positive).\n"
    "  vx2968-review -h | --help\n"
    "      Prints this text.\n"
    "Exit status: 0 done, 2 a bad argument or a file that cannot be read or written.\n";

bool IsHelp(const QString& arg)
{
    return arg == QLatin1String("-h") || arg == QLatin1String("--help");
}

// The value after an option, or the problem of its absence.
bool ValueOf(const QStringList& args, int* i, QString* value, Bilingual* problem)
{
    if (*i + 1 >= args.size()) {
        *problem = Words("%1 の後に値がありません", "%1 needs a value").Arg(args.at(*i));
        return false;
    }
    *value = args.at(++*i);
    return true;
}

// A number the window's field for `option` would take: from 0 up to `most`.
bool InRange(const QString& option, const QString& text, bool whole, double most, double* out,
             Bilingual* problem)
{
    bool ok = false;
    const double v = whole ? double(text.toLongLong(&ok)) : text.toDouble(&ok);
    const QString shown = Clipped(text);
    if (!ok || !qIsFinite(v) || v < 0.0) {
        *problem = whole ? Words("%1: \"%2\" は 0 以上の整数ではありません",
                                 "%1: \"%2\" is not a whole number of 0 or more")
                               .Arg(option)
                               .Arg(shown)
                         : Words("%1: \"%2\" は 0 以上の数値ではありません",
                                 "%1: \"%2\" is not a number of 0 or more")
                               .Arg(option)
                               .Arg(shown);
        return false;
    }
    if (v > most) {
        *problem = Words("%1: \"%2\" は上限 %3 を超えています",
                         "%1: \"%2\" is more than the largest allowed, %3")
                       .Arg(option)
                       .Arg(shown);
        problem->Ja = problem->Ja.arg(most);
        problem->En = problem->En.arg(most);
        return false;
    }
    *out = v;
    return true;
}

bool WholeNumber(const QString& option, const QString& text, int most, int* out, Bilingual* problem)
{
    double v = 0.0;
    if (!InRange(option, text, true, most, &v, problem))
        return false;
    *out = int(v);
    return true;
}

bool LeastUsed(const QString& option, const QString& text, int* out, Bilingual* problem)
{
    if (!WholeNumber(option, text, MostLeastUsed, out, problem))
        return false;
    if (*out >= 1)
        return true;
    *problem = Words("%1 は 1 以上です", "%1 is at least 1").Arg(option);
    return false;
}

bool Number(const QString& option, const QString& text, std::optional<double>* out,
            Bilingual* problem)
{
    double v = 0.0;
    if (!InRange(option, text, false, LargestRequirement, &v, problem))
        return false;
    *out = v;
    return true;
}

QString Line(UiLanguage language, const QString& path, const Bilingual& reason)
{
    const QString shown = QDir::toNativeSeparators(path);
    return QStringLiteral("vx2968-review: ") + shown +
           (language == UiLanguage::Japanese ? QStringLiteral(": ") : QStringLiteral(" ")) +
           reason.Pick(language);
}

// The same day named twice (by another path, "./", or a link) would count its points twice.
// Each path is resolved once: comparing every pair would resolve each again for every other,
// and a season of days given to a script would take minutes.
std::optional<Bilingual> SameDayTwice(const QStringList& paths)
{
    QHash<QString, int> firstNamed;
    firstNamed.reserve(paths.size());
    for (int i = 0; i < paths.size(); ++i) {
        const QString canonical = QFileInfo(paths.at(i)).canonicalFilePath();
        if (canonical.isEmpty()) // missing: its reading names it
            continue;
        const auto earlier = firstNamed.constFind(canonical);
        if (earlier == firstNamed.cend()) {
            firstNamed.insert(canonical, i);
            continue;
        }
        return Words("%1 は %2 と同じファイルです。1 日は 1 回だけ数えます",
                     "%1 is the same file as %2; a day is counted once")
            .Arg(QDir::toNativeSeparators(paths.at(i)))
            .Arg(QDir::toNativeSeparators(paths.at(*earlier)));
    }
    return std::nullopt;
}

// A point the requirement cannot judge is named, so that an empty Result is never silent.
QStringList PointsWithoutVerdict(const std::vector<LotPoint>& points, const Requirement& need,
                                 int firstNumber, UiLanguage language)
{
    QStringList lines;
    if (!need.Any())
        return lines;
    for (size_t p = 0; p < points.size(); ++p) {
        if (JudgePoint(points[p].Values, need).Result != Verdict::None)
            continue;
        Bilingual why = PointNoteOf(points[p]);
        if (why.En.isEmpty())
            why =
                Words("採用した打撃に規定の値がありません", "no drop used has the required value");
        lines << QStringLiteral("vx2968-review: ") +
                     Words("測点 %1 は判定できません: %2", "point %1 has no verdict: %2")
                         .Arg(QString::number(firstNumber + int(p)))
                         .Arg(why.Pick(language))
                         .Pick(language);
    }
    return lines;
}

// A lot brings its own day files, rules and requirement: none may be given beside it.
bool LotRequestHolds(const QStringList& args, const PointsRequest& request, Bilingual* problem)
{
    for (const QString& arg : args) {
        if (arg.startsWith(QLatin1String("--")) && arg != Points && arg != LotOption &&
            !IsPlacesOption(arg)) {
            *problem = Words("%1 は --lot と一緒に指定できません。ロットファイルの設定を使います",
                             "%1 cannot be given with --lot: the lot file's own settings hold")
                           .Arg(arg);
            return false;
        }
    }
    if (!request.DayFiles.isEmpty()) {
        *problem =
            Words("日のファイル %1 は --lot と一緒に指定できません。ロットファイルが日を決めます",
                  "the day file %1 cannot be given with --lot: the lot file names its days")
                .Arg(Clipped(request.DayFiles.first()));
        return false;
    }
    return true;
}

QStringList SkippedLines(const DayFile& day, UiLanguage language)
{
    QStringList said;
    for (const SkippedLine& s : day.Skipped)
        said << Line(language, day.Path,
                     Words("%1 行目を飛ばしました: %2", "line %1 skipped: %2")
                         .Arg(QString::number(s.LineNumber))
                         .Arg(s.Reason.Pick(language)));
    return said;
}

// The points file and the GeoJSON file, both or neither, never over an input.
bool WriteOutputs(const PointsRequest& request, const QString& csv, const QByteArray& geoJson,
                  const QStringList& inputs, UiLanguage language, const CommandOutput& out)
{
    std::vector<Output> files;
    if (!request.Output.isEmpty())
        files.push_back({request.Output, csv.toUtf8()});
    if (!request.Places.GeoJson.isEmpty())
        files.push_back({request.Places.GeoJson, geoJson});
    QString failed;
    Bilingual reason;
    if (WriteOutputFiles(files, OutputRules{inputs, true}, &failed, &reason))
        return true;
    out.Report(CommandLine(language, CannotWrite(failed, reason)));
    return false;
}

int RunLotCommand(const PointsRequest& request, UiLanguage language, const CommandOutput& out)
{
    LotSession lot(language);
    Bilingual problem, notice;
    std::vector<Bilingual> notes;
    if (!lot.Open(request.Lot, &problem, &notice) ||
        !ApplyPlaces(request.Places, &lot, &notes, &problem)) {
        out.Report(CommandLine(language, problem));
        return 2;
    }
    const Requirement& need = lot.Document().Judgement.Need;
    const LotPlaces& places = lot.Places();
    const std::optional<CoordinateColumns> columns = places.Columns();
    const QString csv = request.Output.isEmpty()
                            ? QString()
                            : PointsCsv(lot.Points(), need, CsvColumns::PointsAndLocation,
                                        columns ? &*columns : nullptr);
    const QByteArray geoJson =
        request.Places.GeoJson.isEmpty()
            ? QByteArray()
            : PointsGeoJson(lot.Points(), need, places.PointPlaces(), places.Stations());
    if (!WriteOutputs(request, csv, geoJson, lot.InputFiles(), language, out))
        return 2;
    for (const DayFile& day : lot.Days())
        for (const QString& line : SkippedLines(day, language))
            out.Report(line);
    notes.insert(notes.end(), places.Notes().begin(), places.Notes().end());
    if (!places.TimesNote().En.isEmpty())
        notes.push_back(places.TimesNote());
    for (const Bilingual& note : notes)
        out.Report(CommandLine(language, note));
    const LotSummary& s = lot.Summary();
    const QString word = s.Result == Verdict::None ? QStringLiteral("none") : VerdictWord(s.Result);
    const QString verdict =
        QStringLiteral("verdict: %1 (%2)").arg(word, s.Why.Pick(language).simplified());
    // Points written to standard output keep it a CSV file: the verdict goes beside them.
    (request.Output == QLatin1String("-") ? out.Report : out.Print)(verdict);
    return 0;
}

} // namespace

bool IsPointsCommand(const QStringList& args)
{
    // Any option at all: a script's call, which must never open a window.
    for (const QString& arg : args) {
        if (arg.startsWith(QLatin1String("--")) || IsHelp(arg))
            return true;
    }
    return false;
}

bool ParsePointsRequest(const QStringList& args, PointsRequest* request, Bilingual* problem)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        QString value;
        if (!arg.startsWith(QLatin1String("--"))) {
            request->DayFiles << arg;
            continue;
        }
        if (IsPlacesOption(arg)) {
            if (!ValueOf(args, &i, &value, problem) ||
                !ReadPlacesOption(arg, value, &request->Places, problem))
                return false;
            continue;
        }
        if (arg != Points && arg != LotOption && arg != QLatin1String("--gap") &&
            arg != QLatin1String("--seating") && arg != QLatin1String("--least-used") &&
            arg != QLatin1String("--require-k") && arg != QLatin1String("--require-e")) {
            *problem = Words("%1 という指定はありません", "unknown option %1").Arg(Clipped(arg));
            return false;
        }
        if (!ValueOf(args, &i, &value, problem))
            return false;
        bool ok = true;
        if (arg == Points)
            request->Output = value;
        else if (arg == LotOption)
            request->Lot = value;
        else if (arg == QLatin1String("--gap"))
            ok = WholeNumber(arg, value, LongestGapSeconds, &request->Rules.GapSeconds, problem);
        else if (arg == QLatin1String("--seating"))
            ok = WholeNumber(arg, value, MostSeatingDrops, &request->Rules.Seating, problem);
        else if (arg == QLatin1String("--least-used"))
            ok = LeastUsed(arg, value, &request->Rules.LeastUsed, problem);
        else if (arg == QLatin1String("--require-k"))
            ok = Number(arg, value, &request->Need.K, problem);
        else
            ok = Number(arg, value, &request->Need.E, problem);
        if (!ok)
            return false;
    }
    if (!request->Lot.isEmpty())
        return LotRequestHolds(args, *request, problem);
    if (request->Output.isEmpty()) {
        *problem =
            Words("--points で出力ファイルを指定してください", "--points OUT.csv is missing");
        return false;
    }
    if (request->DayFiles.isEmpty()) {
        *problem = Words("日のファイルが指定されていません", "no day file given");
        return false;
    }
    return true;
}

int RunPointsCommand(const QStringList& args, UiLanguage language, const CommandOutput& out)
{
    if (std::any_of(args.begin(), args.end(), IsHelp)) {
        out.Print(
            QString::fromUtf8(language == UiLanguage::Japanese ? UsageJa : UsageEn).chopped(1));
        return 0;
    }
    const auto& report = out.Report;
    PointsRequest request;
    Bilingual problem;
    if (!ParsePointsRequest(args, &request, &problem)) {
        report(QStringLiteral("vx2968-review: ") + problem.Pick(language));
        return 2;
    }
    if (!request.Lot.isEmpty())
        return RunLotCommand(request, language, out);
    if (const std::optional<Bilingual> twice = SameDayTwice(request.DayFiles)) {
        report(QStringLiteral("vx2968-review: ") + twice->Pick(language));
        return 2;
    }
    CommandPlaces places;
    if (!places.Open(request.Places, request.DayFiles, &problem)) {
        report(CommandLine(language, problem));
        return 2;
    }
    // Every file is read and the output written before anything is said about damaged
    // lines, so that a refusal is the one line a script sees. Points never span two files,
    // so each day becomes its points and is let go before the next is read: a season of
    // large days never has to fit in memory at once.
    const bool placed = places.Wanted() || !request.Places.GeoJson.isEmpty();
    QString csv;
    QJsonArray features;
    QStringList said;
    std::optional<TimeSpan> dropsWall; // of every day, for a track in another clock
    int number = 0;
    for (const QString& path : request.DayFiles) {
        const DayFile day = ReadDayFile(path, language);
        if (day.Refused()) {
            report(Line(language, path, day.Problem));
            return 2;
        }
        said << SkippedLines(day, language);
        std::vector<LotDrop> drops;
        AppendLotDrops(day, 0, &drops);
        Widen(&dropsWall, DropWallSpan(drops));
        const std::vector<LotPoint> points = FormPoints(drops, request.Rules, {});
        const std::vector<PointPlace> placesOfDay =
            placed ? places.PlaceDay(path, drops, points, &said, language)
                   : std::vector<PointPlace>();
        const CoordinateColumns columns = places.Columns(placesOfDay);
        csv += PointsCsvLines(points, request.Need, number + 1, CsvColumns::Points,
                              places.Wanted() ? &columns : nullptr);
        if (!request.Places.GeoJson.isEmpty()) {
            const QJsonArray dayFeatures = PointFeatures(points, request.Need, placesOfDay,
                                                         number + 1, places.Stations(placesOfDay));
            for (const auto& feature : dayFeatures)
                features.append(feature);
        }
        said << PointsWithoutVerdict(points, request.Need, number + 1, language);
        number += int(points.size());
    }
    const CoordinateColumns heading = places.Columns({});
    csv.prepend(PointsCsvHeading(CsvColumns::Points, places.Wanted() ? &heading : nullptr));
    QStringList inputs = request.DayFiles + request.Places.Tracks;
    if (!request.Places.Alignment.isEmpty())
        inputs << request.Places.Alignment;
    for (const QString& path : request.DayFiles)
        inputs << PositionsFilePath(path);
    if (!WriteOutputs(request, csv, PointsCollection(features), inputs, language, out))
        return 2;
    for (const Bilingual& note : places.TrackNotes())
        report(CommandLine(language, note));
    if (const Bilingual times = places.TimesNote(dropsWall); !times.En.isEmpty())
        report(CommandLine(language, times));
    for (const QString& line : said)
        report(line);
    return 0;
}
