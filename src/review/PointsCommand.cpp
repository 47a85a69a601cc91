#include "PointsCommand.h"

#include "DayFile.h"
#include "LotDrops.h"

#include "lot/PointsCsv.h"

#include <QDir>
#include <QSaveFile>

namespace
{

const QString Points = QStringLiteral("--points");

Bilingual Pair(const char* ja, const char* en, const QString& a = QString(),
               const QString& b = QString())
{
    Bilingual t{QString::fromUtf8(ja), QString::fromUtf8(en)};
    for (const QString& arg : {a, b}) {
        if (!arg.isNull()) {
            t.Ja = t.Ja.arg(arg);
            t.En = t.En.arg(arg);
        }
    }
    return t;
}

// The value after an option, or the problem of its absence.
bool ValueOf(const QStringList& args, int* i, QString* value, Bilingual* problem)
{
    if (*i + 1 >= args.size()) {
        *problem = Pair("%1 の後に値がありません", "%1 needs a value", args.at(*i));
        return false;
    }
    *value = args.at(++*i);
    return true;
}

bool WholeNumber(const QString& option, const QString& text, int* out, Bilingual* problem)
{
    bool ok = false;
    *out = text.toInt(&ok);
    if (ok && *out >= 0)
        return true;
    *problem = Pair("%1: \"%2\" は 0 以上の整数ではありません",
                    "%1: \"%2\" is not a whole number of 0 or more", option, text);
    return false;
}

bool Number(const QString& option, const QString& text, std::optional<double>* out,
            Bilingual* problem)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (ok && v >= 0.0 && qIsFinite(v)) {
        *out = v;
        return true;
    }
    *problem = Pair("%1: \"%2\" は 0 以上の数値ではありません",
                    "%1: \"%2\" is not a number of 0 or more", option, text);
    return false;
}

QString Line(int16_t language, const QString& path, const Bilingual& reason)
{
    const QString shown = QDir::toNativeSeparators(path);
    return QStringLiteral("vx2968-review: ") + shown +
           (language == 0 ? QStringLiteral(": ") : QStringLiteral(" ")) + reason.Pick(language);
}

} // namespace

bool IsPointsCommand(const QStringList& args)
{
    // Any option at all: a script's call, which must never open a window.
    for (const QString& arg : args) {
        if (arg.startsWith(QLatin1String("--")))
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
        if (arg != Points && arg != QLatin1String("--gap") && arg != QLatin1String("--seating") &&
            arg != QLatin1String("--require-k") && arg != QLatin1String("--require-e")) {
            *problem = Pair("%1 という指定はありません", "unknown option %1", arg);
            return false;
        }
        if (!ValueOf(args, &i, &value, problem))
            return false;
        bool ok = true;
        if (arg == Points)
            request->Output = value;
        else if (arg == QLatin1String("--gap"))
            ok = WholeNumber(arg, value, &request->Rules.GapSeconds, problem);
        else if (arg == QLatin1String("--seating"))
            ok = WholeNumber(arg, value, &request->Rules.Seating, problem);
        else if (arg == QLatin1String("--require-k"))
            ok = Number(arg, value, &request->Need.K, problem);
        else
            ok = Number(arg, value, &request->Need.E, problem);
        if (!ok)
            return false;
    }
    if (request->Output.isEmpty()) {
        *problem = Pair("--points で出力ファイルを指定してください", "--points OUT.csv is missing");
        return false;
    }
    if (request->DayFiles.isEmpty()) {
        *problem = Pair("日のファイルが指定されていません", "no day file given");
        return false;
    }
    return true;
}

int RunPointsCommand(const QStringList& args, int16_t language,
                     const std::function<void(const QString&)>& report)
{
    PointsRequest request;
    Bilingual problem;
    if (!ParsePointsRequest(args, &request, &problem)) {
        report(QStringLiteral("vx2968-review: ") + problem.Pick(language));
        return 2;
    }
    // Every file is read before anything is said about damaged lines, so that a refusal is
    // the one line a script sees.
    std::vector<DayFile> days;
    for (const QString& path : request.DayFiles) {
        days.push_back(ReadDayFile(path, language));
        if (days.back().Refused()) {
            report(Line(language, path, days.back().Problem));
            return 2;
        }
    }
    std::vector<LotDrop> drops;
    for (size_t f = 0; f < days.size(); ++f) {
        for (const SkippedLine& s : days[f].Skipped)
            report(Line(language, days[f].Path,
                        Pair("%1 行目を飛ばしました: %2", "line %1 skipped: %2",
                             QString::number(s.LineNumber), s.Reason.Pick(language))));
        AppendLotDrops(days[f], int(f), &drops);
    }
    const QString csv = PointsCsv(FormPoints(drops, request.Rules, {}), request.Need);
    QSaveFile out(request.Output);
    if (!out.open(QIODevice::WriteOnly) || out.write(csv.toUtf8()) < 0 || !out.commit()) {
        report(Line(language, request.Output,
                    Pair("書けません (%1)", "cannot be written (%1)", out.errorString())));
        return 2;
    }
    return 0;
}
