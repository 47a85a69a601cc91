#include "LotFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace
{

const QString FormatName = QStringLiteral("VX-2968 lot");
constexpr int FormatVersion = 1;
// A lot of a season's day files with every drop edited stays far below this.
constexpr qint64 LargestLotFileBytes = 32 * 1024 * 1024;

Bilingual Pair(const char* ja, const char* en, const QString& arg = QString())
{
    Bilingual b{QString::fromUtf8(ja), QString::fromUtf8(en)};
    if (!arg.isNull()) {
        b.Ja = b.Ja.arg(arg);
        b.En = b.En.arg(arg);
    }
    return b;
}

const char* const ReasonKeys[ExclusionReasonCount] = {"seating", "plate moved", "weight not caught",
                                                      "other"};

QJsonObject RefJson(const DropRef& r)
{
    return QJsonObject{{"file", r.File}, {"line", r.Line}};
}

QJsonArray RefsJson(const std::vector<DropRef>& refs)
{
    QJsonArray a;
    for (const DropRef& r : refs)
        a.append(RefJson(r));
    return a;
}

QJsonValue Optional(const std::optional<double>& v)
{
    return v ? QJsonValue(*v) : QJsonValue();
}

// Reading: every field checked, the first fault named.
class Reader
{
public:
    explicit Reader(int files) : m_files(files) {}
    Bilingual Problem;

    bool Fail(const QString& what)
    {
        if (Problem.En.isEmpty())
            Problem = Pair("項目 \"%1\" が正しくありません", "the entry \"%1\" is not valid", what);
        return false;
    }
    bool Ref(const QJsonValue& v, DropRef* r, const QString& what)
    {
        const QJsonObject o = v.toObject();
        r->File = o.value("file").toInt(-1);
        r->Line = o.value("line").toInt(-1);
        return (r->File >= 0 && r->File < m_files && r->Line > 0) || Fail(what);
    }
    bool Refs(const QJsonValue& v, std::vector<DropRef>* refs, const QString& what)
    {
        if (!v.isArray() && !v.isUndefined())
            return Fail(what);
        for (const auto& item : v.toArray()) {
            DropRef r;
            if (!Ref(item, &r, what))
                return false;
            refs->push_back(r);
        }
        return true;
    }
    bool Number(const QJsonObject& o, const char* key, std::optional<double>* out)
    {
        const QJsonValue v = o.value(key);
        if (v.isNull() || v.isUndefined())
            return true;
        if (!v.isDouble() || v.toDouble() < 0.0)
            return Fail(QString::fromLatin1(key));
        *out = v.toDouble();
        return true;
    }

private:
    int m_files;
};

bool ReadFiles(const QJsonValue& v, std::vector<LotDayFile>* files, Reader& r)
{
    if (!v.isArray())
        return r.Fail(QStringLiteral("files"));
    for (const auto& item : v.toArray()) {
        const QJsonObject o = item.toObject();
        LotDayFile f{o.value("path").toString(), qint64(o.value("size").toDouble(-1)),
                     o.value("sha256").toString().toLatin1()};
        if (f.Path.isEmpty() || f.Size < 0 || f.Sha256.size() != 64)
            return r.Fail(QStringLiteral("files"));
        files->push_back(f);
    }
    return true;
}

bool ReadChoices(const QJsonValue& v, std::vector<DropChoice>* choices, Reader& r)
{
    if (!v.isArray() && !v.isUndefined())
        return r.Fail(QStringLiteral("exclusions"));
    for (const auto& item : v.toArray()) {
        const QJsonObject o = item.toObject();
        DropChoice c;
        if (!r.Ref(o, &c.Drop, QStringLiteral("exclusions")))
            return false;
        c.Used = o.value("used").toBool();
        const QString key = o.value("reason").toString();
        int i = 0;
        while (i < ExclusionReasonCount && key != QLatin1String(ReasonKeys[i]))
            ++i;
        if (i == ExclusionReasonCount && !c.Used)
            return r.Fail(QStringLiteral("reason"));
        c.Reason = ExclusionReason(std::min(i, ExclusionReasonCount - 1));
        c.Text = o.value("text").toString();
        choices->push_back(c);
    }
    return true;
}

} // namespace

LotDayFile DescribeDayFile(const QString& path)
{
    LotDayFile f{path, -1, QByteArray()};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return f;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        return f;
    f.Size = file.size();
    f.Sha256 = hash.result().toHex();
    return f;
}

DayFileState CheckDayFile(const LotDayFile& saved)
{
    const LotDayFile now = DescribeDayFile(saved.Path);
    if (now.Size < 0)
        return DayFileState::Missing;
    return now.Size == saved.Size && now.Sha256 == saved.Sha256 ? DayFileState::Same
                                                                : DayFileState::Changed;
}

Bilingual DayFileChanges(const LotDocument& lot)
{
    Bilingual out;
    for (const LotDayFile& f : lot.Files) {
        const DayFileState state = CheckDayFile(f);
        if (state == DayFileState::Same)
            continue;
        const QString path = QDir::toNativeSeparators(f.Path);
        const Bilingual line =
            state == DayFileState::Missing
                ? Pair("%1 がありません。その打撃は測点に含まれません。",
                       "%1 is missing: its drops are not in the points.", path)
                : Pair("%1 はロットの保存後に変更されました。測点は今の内容から作り直しました。",
                       "%1 has changed since the lot was saved: the points were formed again "
                       "from what it holds now.",
                       path);
        out.Ja += (out.Ja.isEmpty() ? QString() : QStringLiteral("\n")) + line.Ja;
        out.En += (out.En.isEmpty() ? QString() : QStringLiteral("\n")) + line.En;
    }
    return out;
}

QByteArray LotToJson(const LotDocument& lot)
{
    const LotHeader& h = lot.Header;
    QJsonArray files, choices;
    for (const LotDayFile& f : lot.Files)
        files.append(QJsonObject{
            {"path", f.Path}, {"size", double(f.Size)}, {"sha256", QString::fromLatin1(f.Sha256)}});
    for (const DropChoice& c : lot.Edits.Choices) {
        QJsonObject o = RefJson(c.Drop);
        o["used"] = c.Used;
        o["reason"] = QString::fromLatin1(ReasonKeys[int(c.Reason)]);
        o["text"] = c.Text;
        choices.append(o);
    }
    const LotJudgement& j = lot.Judgement;
    const QJsonObject root{
        {"format", FormatName},
        {"version", FormatVersion},
        {"header", QJsonObject{{"site", h.Site},
                               {"section", h.Section},
                               {"layer", h.Layer},
                               {"operator", h.Operator},
                               {"remarks", h.Remarks}}},
        {"requirement", QJsonObject{{"k", Optional(j.Need.K)}, {"e", Optional(j.Need.E)}}},
        {"gap", lot.Rules.GapSeconds},
        {"seating", lot.Rules.Seating},
        {"k", j.QuantileFactor},
        {"rule", j.Rule == LotRule::EveryPoint ? "every point" : "characteristic value"},
        {"splits", RefsJson(lot.Edits.Splits)},
        {"joins", RefsJson(lot.Edits.Joins)},
        {"exclusions", choices},
        {"files", files}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool LotFromJson(const QByteArray& json, LotDocument* lot, Bilingual* problem)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    const QJsonObject root = doc.object();
    if (error.error != QJsonParseError::NoError || !doc.isObject()) {
        *problem = Pair("JSON として読めません (位置 %1)", "it is not readable JSON (at byte %1)",
                        QString::number(error.offset));
        return false;
    }
    if (root.value("format").toString() != FormatName) {
        *problem = Pair("ロットファイルではありません", "it is not a lot file");
        return false;
    }
    if (root.value("version").toInt() > FormatVersion) {
        *problem = Pair("新しい版のプログラムで保存されています",
                        "it was saved by a newer version of the program");
        return false;
    }
    LotDocument out;
    Reader r(0);
    bool ok = ReadFiles(root.value("files"), &out.Files, r);
    Reader refs(int(out.Files.size()));
    const QJsonObject h = root.value("header").toObject();
    out.Header = {h.value("site").toString(), h.value("section").toString(),
                  h.value("layer").toString(), h.value("operator").toString(),
                  h.value("remarks").toString()};
    const QJsonObject need = root.value("requirement").toObject();
    ok = ok && refs.Number(need, "k", &out.Judgement.Need.K) &&
         refs.Number(need, "e", &out.Judgement.Need.E);
    out.Rules.GapSeconds = root.value("gap").toInt(-1);
    out.Rules.Seating = root.value("seating").toInt(-1);
    out.Judgement.QuantileFactor = root.value("k").toDouble(-1.0);
    const QString rule = root.value("rule").toString();
    out.Judgement.Rule =
        rule == QLatin1String("every point") ? LotRule::EveryPoint : LotRule::Characteristic;
    ok = ok && (out.Rules.GapSeconds >= 0 || refs.Fail(QStringLiteral("gap"))) &&
         (out.Rules.Seating >= 0 || refs.Fail(QStringLiteral("seating"))) &&
         (out.Judgement.QuantileFactor >= 0.0 || refs.Fail(QStringLiteral("k"))) &&
         (rule == QLatin1String("every point") || rule == QLatin1String("characteristic value") ||
          refs.Fail(QStringLiteral("rule"))) &&
         refs.Refs(root.value("splits"), &out.Edits.Splits, QStringLiteral("splits")) &&
         refs.Refs(root.value("joins"), &out.Edits.Joins, QStringLiteral("joins")) &&
         ReadChoices(root.value("exclusions"), &out.Edits.Choices, refs);
    if (!ok) {
        *problem = r.Problem.En.isEmpty() ? refs.Problem : r.Problem;
        return false;
    }
    *lot = std::move(out);
    return true;
}

bool ReadLotFile(const QString& path, LotDocument* lot, Bilingual* problem)
{
    QFile file(path);
    Bilingual why;
    if (!file.open(QIODevice::ReadOnly)) {
        why = Pair("開けません (%1)", "it cannot be opened (%1)", file.errorString());
    } else if (file.size() > LargestLotFileBytes) {
        why = Pair("ロットファイルとしては大きすぎます", "it is far too large for a lot file");
    } else if (LotFromJson(file.readAll(), lot, &why)) {
        return true;
    }
    const QString shown = QDir::toNativeSeparators(path);
    *problem = Bilingual{
        QString::fromUtf8("ロットファイル %1 を読めません: %2。ファイルはそのまま残してあります。")
            .arg(shown, why.Ja),
        QStringLiteral("The lot file %1 cannot be read: %2. The file was left as it is.")
            .arg(shown, why.En)};
    return false;
}

bool WriteLotFile(const QString& path, const LotDocument& lot, Bilingual* problem)
{
    const QString shown = QDir::toNativeSeparators(path);
    if (QFileInfo::exists(path)) {
        LotDocument old;
        Bilingual why;
        if (!ReadLotFile(path, &old, &why)) {
            *problem = Pair("%1 "
                            "はロットファイルではないか、壊れています。上書きしません。別の名前で保"
                            "存してください。",
                            "%1 is not a lot file or is damaged; it was not overwritten. Save "
                            "the lot under another name.",
                            shown);
            return false;
        }
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(LotToJson(lot)) < 0 || !file.commit()) {
        *problem = Pair("%1 に保存できません", "the lot cannot be saved in %1", shown);
        problem->Ja += QStringLiteral(" (") + file.errorString() + QLatin1Char(')');
        problem->En += QStringLiteral(" (") + file.errorString() + QLatin1Char(')');
        return false;
    }
    return true;
}
