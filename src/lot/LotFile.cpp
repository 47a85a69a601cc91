#include "LotFile.h"

#include "record/DayFiles.h"
#include "record/ResultsLine.h"
#include "record/ResultsText.h"
#include "shell/Formatting.h"
#include "shell/OutputFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QSet>
#include <cmath>

namespace
{

const QString FormatName = QStringLiteral("VX-2968 lot");
// 1: edits name a drop by its line. 2: by what the drop is as well (number, moment, values),
// so that they follow it; points' locations and points left out; more header fields.
// 3: the used drops a point needs, the day files' drops, the method, the notes of edits.
// 4: the road's centreline the points are named along.
constexpr int FormatVersion = 4;
// A lot of a season's day files with every drop edited stays far below this.
constexpr qint64 LargestLotFileBytes = 32 * 1024 * 1024;
// The largest whole number a JSON number holds exactly, far beyond any file's size.
constexpr double LargestExactSize = 0x1p53;

// One name for a file whatever path reached it; for a file that is gone, its path.
QString FileIdentity(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

const char* const ReasonKeys[ExclusionReasonCount] = {"seating", "plate moved", "weight not caught",
                                                      "other"};

// A drop's wall time as its day file gives it, "2024-05-06T08:00:40", written and read
// without this computer's zone so that a lot saved anywhere opens anywhere.
QString WallTimeText(const QDateTime& when)
{
    return when.date().toString(Qt::ISODate) + QLatin1Char('T') + when.time().toString(Qt::ISODate);
}

QDateTime ReadWallTime(const QString& text)
{
    const qsizetype t = text.indexOf(QLatin1Char('T'));
    const QDate day = QDate::fromString(text.left(t), Qt::ISODate);
    const QTime clock = QTime::fromString(text.mid(t + 1), Qt::ISODate);
    const QDateTime when =
        t > 0 && day.isValid() && clock.isValid() ? WallTime(day, clock) : QDateTime();
    // Only as written: a fraction of a second would be dropped on saving, and the edit would
    // then name another drop than the one it was read with.
    return WallTimeText(when) == text ? when : QDateTime();
}

QJsonObject RefJson(const DropRef& r)
{
    QJsonObject o{{"file", r.File}, {"line", r.Line}};
    if (r.Identified()) {
        o["no"] = r.No;
        o["time"] = WallTimeText(r.When);
        o["p0"] = r.P0;
        o["d0"] = r.D0;
        o["k"] = r.K;
        o["e"] = r.E;
    }
    return o;
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

// A value the window's field would show as it is: from 0 up to `most`. Anything else would be
// shown clamped while the lot is judged with the value itself.
bool InWindowRange(const QJsonValue& v, double most)
{
    return v.isDouble() && std::isfinite(v.toDouble()) && v.toDouble() >= 0.0 &&
           v.toDouble() <= most;
}

bool WholeInWindowRange(const QJsonValue& v, int most, int* out)
{
    if (!InWindowRange(v, most) || v.toDouble() != std::floor(v.toDouble()))
        return false;
    *out = v.toInt();
    return true;
}

// Lots of the versions before it asked for one used drop, as this field's default does.
bool ReadLeastUsed(const QJsonValue& v, PointRules* rules)
{
    return WholeInWindowRange(v, MostLeastUsed, &rules->LeastUsed) && rules->LeastUsed >= 1;
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
            Problem =
                Words("項目 \"%1\" が正しくありません", "the entry \"%1\" is not valid").Arg(what);
        return false;
    }
    bool Ref(const QJsonValue& v, DropRef* r, const QString& what)
    {
        const QJsonObject o = v.toObject();
        r->File = o.value("file").toInt(-1);
        r->Line = o.value("line").toInt(-1);
        if (r->File < 0 || r->File >= m_files || r->Line <= 0)
            return Fail(what);
        if (!o.contains("no"))
            return true; // named by its line alone, as the first version did
        r->No = o.value("no").toString();
        r->When = ReadWallTime(o.value("time").toString());
        const char* const keys[] = {"p0", "d0", "k", "e"};
        double* const values[] = {&r->P0, &r->D0, &r->K, &r->E};
        bool ok = !r->No.isEmpty() && r->When.isValid();
        for (int i = 0; i < 4; ++i) {
            const QJsonValue value = o.value(keys[i]);
            ok = ok && value.isDouble() && std::isfinite(value.toDouble());
            *values[i] = value.toDouble();
        }
        return ok || Fail(what);
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
        if (!InWindowRange(v, LargestRequirement))
            return Fail(QStringLiteral("requirement %1").arg(QLatin1String(key)));
        *out = v.toDouble();
        return true;
    }

private:
    int m_files;
};

bool ReadFiles(const QJsonValue& v, const QString& key, std::vector<LotDayFile>* files, Reader& r)
{
    if (!v.isArray())
        return r.Fail(key);
    QSet<QString> seen;
    for (const auto& item : v.toArray()) {
        const QJsonObject o = item.toObject();
        // Checked before it is made a whole number: a double beyond qint64 has none.
        const QJsonValue size = o.value("size");
        if (!InWindowRange(size, LargestExactSize))
            return r.Fail(key);
        LotDayFile f{o.value("path").toString(),
                     qint64(size.toDouble()),
                     o.value("sha256").toString().toLatin1(),
                     {}};
        if (f.Path.isEmpty() || f.Sha256.size() != 64)
            return r.Fail(key);
        const QJsonValue drops = o.value("drops");
        if (!drops.isUndefined() && !drops.isArray())
            return r.Fail(key);
        for (const auto& d : drops.toArray()) {
            if (!d.isString())
                return r.Fail(key);
            f.Drops << d.toString();
        }
        // The window never takes a file twice; a lot file that names a day twice would count
        // its points twice.
        const QString identity = FileIdentity(f.Path);
        if (seen.contains(identity)) {
            r.Problem =
                Words("項目 \"%1\" に %2 が 2 回あります", "the entry \"%1\" names %2 twice")
                    .Arg(key)
                    .Arg(QDir::toNativeSeparators(f.Path));
            return false;
        }
        seen.insert(identity);
        files->push_back(f);
    }
    return true;
}

QJsonArray FilesJson(const std::vector<LotDayFile>& files)
{
    QJsonArray a;
    for (const LotDayFile& f : files) {
        QJsonObject o{
            {"path", f.Path}, {"size", double(f.Size)}, {"sha256", QString::fromLatin1(f.Sha256)}};
        if (!f.Drops.isEmpty())
            o["drops"] = QJsonArray::fromStringList(f.Drops);
        a.append(o);
    }
    return a;
}

// Each setting is written only when set, so that a lot without places reads as it always has.
void WritePlaces(const LotPlaceSettings& places, QJsonObject* root)
{
    if (!places.Tracks.empty())
        (*root)["tracks"] = FilesJson(places.Tracks);
    if (!places.Positions.empty())
        (*root)["positions"] = FilesJson(places.Positions);
    if (places.UtcOffset)
        (*root)["utc offset"] = *places.UtcOffset;
    if (places.Epsg != 0)
        (*root)["epsg"] = places.Epsg;
    if (const std::optional<LotAlignment>& a = places.Alignment) {
        QJsonObject o = FilesJson({a->File}).first().toObject();
        o["name"] = a->Name;
        o["station form"] = a->Form == StationForm::Stakes ? "stakes" : "kilometres";
        o["station interval"] = a->Interval;
        o["offset limit"] = a->OffsetLimit;
        (*root)["alignment"] = o;
    }
}

bool ReadAlignment(const QJsonValue& v, std::optional<LotAlignment>* alignment, Reader& r)
{
    const QString key = QStringLiteral("alignment");
    std::vector<LotDayFile> file;
    if (!ReadFiles(QJsonArray{v}, key, &file, r))
        return false;
    const QJsonObject o = v.toObject();
    LotAlignment a{file.front(), o.value("name").toString(), StationForm::Stakes, 0.0, 0.0};
    const QString form = o.value("station form").toString();
    const QJsonValue interval = o.value("station interval"), limit = o.value("offset limit");
    if (!o.value("name").isString() ||
        (form != QLatin1String("stakes") && form != QLatin1String("kilometres")) ||
        !InWindowRange(interval, LargestStationInterval) || interval.toDouble() <= 0.0 ||
        !InWindowRange(limit, LargestOffsetLimit) || limit.toDouble() <= 0.0)
        return r.Fail(key);
    a.Form = form == QLatin1String("stakes") ? StationForm::Stakes : StationForm::Kilometres;
    a.Interval = interval.toDouble();
    a.OffsetLimit = limit.toDouble();
    *alignment = a;
    return true;
}

bool ReadPlaces(const QJsonObject& root, LotPlaceSettings* places, Reader& r)
{
    const QJsonValue tracks = root.value("tracks"), offset = root.value("utc offset"),
                     epsg = root.value("epsg");
    if (!tracks.isUndefined() && !ReadFiles(tracks, QStringLiteral("tracks"), &places->Tracks, r))
        return false;
    const QJsonValue positions = root.value("positions");
    if (!positions.isUndefined() &&
        !ReadFiles(positions, QStringLiteral("positions"), &places->Positions, r))
        return false;
    if (!offset.isUndefined()) {
        int minutes = 0;
        const QJsonValue shifted(offset.toDouble() + LargestUtcOffsetMinutes);
        if (!offset.isDouble() ||
            !WholeInWindowRange(shifted, 2 * LargestUtcOffsetMinutes, &minutes))
            return r.Fail(QStringLiteral("utc offset"));
        places->UtcOffset = minutes - LargestUtcOffsetMinutes;
    }
    if (!epsg.isUndefined() && !WholeInWindowRange(epsg, 999999, &places->Epsg))
        return r.Fail(QStringLiteral("epsg"));
    const QJsonValue alignment = root.value("alignment");
    return alignment.isUndefined() || ReadAlignment(alignment, &places->Alignment, r);
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

bool ReadMarks(const QJsonValue& v, std::vector<PointMark>* marks, Reader& r)
{
    if (!v.isArray() && !v.isUndefined())
        return r.Fail(QStringLiteral("points"));
    for (const auto& item : v.toArray()) {
        const QJsonObject o = item.toObject();
        PointMark m;
        if (!r.Ref(o, &m.Drop, QStringLiteral("points")))
            return false;
        m.Location = o.value("location").toString();
        m.Excluded = o.value("excluded").toBool();
        m.Reason = o.value("reason").toString();
        if (m.Excluded && m.Reason.trimmed().isEmpty())
            return r.Fail(QStringLiteral("points: reason"));
        marks->push_back(m);
    }
    return true;
}

bool ReadNotes(const QJsonValue& v, std::vector<EditNote>* notes, Reader& r)
{
    if (!v.isArray() && !v.isUndefined())
        return r.Fail(QStringLiteral("notes"));
    for (const auto& item : v.toArray()) {
        const QJsonObject o = item.toObject();
        EditNote n;
        if (!r.Ref(o, &n.Drop, QStringLiteral("notes")))
            return false;
        n.Kind = o.value("kind").toString();
        n.By = o.value("by").toString();
        n.At = QDateTime::fromString(o.value("at").toString(), Qt::ISODate);
        n.Reason = o.value("reason").toString();
        if (n.Kind.isEmpty() || !n.At.isValid())
            return r.Fail(QStringLiteral("notes"));
        notes->push_back(n);
    }
    return true;
}

QJsonArray NotesJson(const std::vector<EditNote>& notes)
{
    QJsonArray a;
    for (const EditNote& n : notes) {
        QJsonObject o = RefJson(n.Drop);
        o["kind"] = n.Kind;
        o["by"] = n.By;
        o["at"] = n.At.toUTC().toString(Qt::ISODate);
        o["reason"] = n.Reason;
        a.append(o);
    }
    return a;
}

QJsonArray MarksJson(const std::vector<PointMark>& marks)
{
    QJsonArray a;
    for (const PointMark& m : marks) {
        QJsonObject o = RefJson(m.Drop);
        o["location"] = m.Location;
        o["excluded"] = m.Excluded;
        o["reason"] = m.Reason;
        a.append(o);
    }
    return a;
}

} // namespace

LotDayFile DescribeDayBytes(const QString& path, const QByteArray& bytes)
{
    return LotDayFile{path,
                      bytes.size(),
                      QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex(),
                      {}};
}

LotDayFile DescribeFile(const QString& path, const InputLimit& limit)
{
    const InputRead read = ReadInputFile(path, limit);
    return read.Ok() ? DescribeDayBytes(path, read.Bytes) : LotDayFile{path, -1, QByteArray(), {}};
}

LotDayFile DescribeDayFile(const QString& path)
{
    return DescribeFile(path, DayFileLimit());
}

DayFileState CompareDayFile(const LotDayFile& saved, const InputRead& read, const LotDayFile& now)
{
    if (read.Fault == InputFault::Missing)
        return DayFileState::Missing;
    if (!read.Ok())
        return DayFileState::Unreadable;
    return now.Size == saved.Size && now.Sha256 == saved.Sha256 ? DayFileState::Same
                                                                : DayFileState::Changed;
}

DayFileState CheckDayFile(const LotDayFile& saved)
{
    const InputRead read = ReadInputFile(saved.Path, DayFileLimit());
    return CompareDayFile(saved, read, DescribeDayBytes(saved.Path, read.Bytes));
}

Bilingual DayFileChange(const LotDayFile& saved, const InputRead& read, const LotDayFile& now)
{
    const QString path = QDir::toNativeSeparators(saved.Path);
    switch (CompareDayFile(saved, read, now)) {
    case DayFileState::Same:
        break;
    case DayFileState::Missing:
        return Words("%1 がありません。その打撃は測点に含まれません。",
                     "%1 is missing: its drops are not in the points.")
            .Arg(path);
    case DayFileState::Unreadable:
        return Bilingual{
            QString::fromUtf8("%1: %2 その打撃は測点に含まれません。").arg(path, read.Reason.Ja),
            QStringLiteral("%1 %2 Its drops are not in the points.").arg(path, read.Reason.En)};
    case DayFileState::Changed: {
        Bilingual what = DropChanges(saved.Drops, now.Drops);
        if (!what.En.isEmpty())
            what = Bilingual{QStringLiteral(" (") + what.Ja + ')',
                             QStringLiteral(" (") + what.En + ')'};
        return Bilingual{
            QString::fromUtf8("%1 はロットの保存後に変更されました%2。測点は今の内容から作り直し"
                              "ました。測点を確かめてから変更を受け入れてください。")
                .arg(path, what.Ja),
            QStringLiteral("%1 has changed since the lot was saved%2: the points were formed "
                           "again from what it holds now. Check them, then accept the change.")
                .arg(path, what.En)};
    }
    }
    return {};
}

Bilingual PlacesFileChange(const LotDayFile& saved, const InputRead& read, const LotDayFile& now)
{
    const QString path = QDir::toNativeSeparators(saved.Path);
    switch (CompareDayFile(saved, read, now)) {
    case DayFileState::Same:
        break;
    case DayFileState::Missing:
        return Words("%1 がありません。打撃の位置はこのファイルなしで求めました。"
                     "確かめてから変更を受け入れてください。",
                     "%1 is missing: the drops were placed without it. Check them, then accept "
                     "the change.")
            .Arg(path);
    case DayFileState::Unreadable:
        return Bilingual{QString::fromUtf8("%1: %2 打撃の位置はこのファイルなしで求めました。"
                                           "確かめてから変更を受け入れてください。")
                             .arg(path, read.Reason.Ja),
                         QStringLiteral("%1 %2 The drops were placed without it. Check them, "
                                        "then accept the change.")
                             .arg(path, read.Reason.En)};
    case DayFileState::Changed:
        return Words("%1 はロットの保存後に変更されました。打撃の位置は今の内容から求め直しました。"
                     "位置を確かめてから変更を受け入れてください。",
                     "%1 has changed since the lot was saved: the drops were placed again from "
                     "what it holds now. Check them, then accept the change.")
            .Arg(path);
    }
    return {};
}

Bilingual DropChanges(const QStringList& then, const QStringList& now)
{
    if (then.isEmpty() || now.isEmpty())
        return {};
    // Each number's drops paired in their order: a digest that differs is a drop altered,
    // one left over on either side a drop gone or added.
    QMap<QString, QStringList> before, after;
    const auto split = [](const QString& drop) {
        return std::pair{drop.section(QLatin1Char(' '), 0, 0), drop.section(QLatin1Char(' '), 1)};
    };
    for (const QString& d : then)
        before[split(d).first] << split(d).second;
    for (const QString& d : now)
        after[split(d).first] << split(d).second;
    QStringList gone, added, altered;
    for (auto it = before.begin(); it != before.end(); ++it) {
        const QStringList ahead = after.value(it.key());
        for (qsizetype i = 0; i < it.value().size(); ++i) {
            if (i >= ahead.size())
                gone << it.key();
            else if (ahead.at(i) != it.value().at(i))
                altered << it.key();
        }
    }
    for (auto it = after.begin(); it != after.end(); ++it) {
        for (qsizetype i = before.value(it.key()).size(); i < it.value().size(); ++i)
            added << it.key();
    }
    const auto listed = [](const QStringList& numbers) {
        constexpr int Shown = 10;
        return numbers.size() <= Shown ? numbers.join(QStringLiteral(", "))
                                       : numbers.mid(0, Shown).join(QStringLiteral(", ")) +
                                             QStringLiteral(", … (%1)").arg(numbers.size());
    };
    Bilingual out = Words("打撃数 %1 → %2", "%1 drops then, %2 now")
                        .Arg(QString::number(then.size()))
                        .Arg(QString::number(now.size()));
    const auto add = [&](const QStringList& numbers, const char* ja, const char* en) {
        if (numbers.isEmpty())
            return;
        out.Ja += QString::fromUtf8("、%1: %2").arg(QString::fromUtf8(ja), listed(numbers));
        out.En += QStringLiteral("; %1: %2").arg(QLatin1String(en), listed(numbers));
    };
    add(gone, "削除", "gone");
    add(added, "追加", "added");
    add(altered, "変更", "altered");
    return out;
}

Bilingual DayFileChanges(const LotDocument& lot)
{
    Bilingual out;
    for (const LotDayFile& f : lot.Files) {
        const InputRead read = ReadInputFile(f.Path, DayFileLimit());
        const Bilingual line = DayFileChange(f, read, DescribeDayBytes(f.Path, read.Bytes));
        if (line.En.isEmpty())
            continue;
        out.Ja += (out.Ja.isEmpty() ? QString() : QStringLiteral("\n")) + line.Ja;
        out.En += (out.En.isEmpty() ? QString() : QStringLiteral("\n")) + line.En;
    }
    return out;
}

QByteArray LotToJson(const LotDocument& lot)
{
    const LotHeader& h = lot.Header;
    QJsonArray choices;
    for (const DropChoice& c : lot.Edits.Choices) {
        QJsonObject o = RefJson(c.Drop);
        o["used"] = c.Used;
        o["reason"] = QString::fromLatin1(ReasonKeys[int(c.Reason)]);
        o["text"] = c.Text;
        choices.append(o);
    }
    const LotJudgement& j = lot.Judgement;
    QJsonObject root{
        {"format", FormatName},
        {"version", FormatVersion},
        {"header", QJsonObject{{"site", h.Site},
                               {"section", h.Section},
                               {"layer", h.Layer},
                               {"material", h.Material},
                               {"operator", h.Operator},
                               {"weather", h.Weather},
                               {"temperature", h.Temperature},
                               {"remarks", h.Remarks},
                               {"standard", h.Standard},
                               {"logger serial", h.LoggerSerial},
                               {"calibration", h.Calibration}}},
        {"requirement", QJsonObject{{"k", Optional(j.Need.K)}, {"e", Optional(j.Need.E)}}},
        {"gap", lot.Rules.GapSeconds},
        {"seating", lot.Rules.Seating},
        {"least used", lot.Rules.LeastUsed},
        {"k", j.QuantileFactor},
        {"rule", j.Rule == LotRule::EveryPoint ? "every point" : "characteristic value"},
        {"splits", RefsJson(lot.Edits.Splits)},
        {"joins", RefsJson(lot.Edits.Joins)},
        {"exclusions", choices},
        {"points", MarksJson(lot.Edits.Marks)},
        {"files", FilesJson(lot.Files)}};
    WritePlaces(lot.Places, &root);
    if (!lot.Notes.empty())
        root["notes"] = NotesJson(lot.Notes);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool LotFromJson(const QByteArray& json, LotDocument* lot, Bilingual* problem)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    const QJsonObject root = doc.object();
    if (error.error != QJsonParseError::NoError || !doc.isObject()) {
        *problem = Words("JSON として読めません (位置 %1)", "it is not readable JSON (at byte %1)")
                       .Arg(QString::number(error.offset));
        return false;
    }
    if (root.value("format").toString() != FormatName) {
        *problem = Words("ロットファイルではありません", "it is not a lot file");
        return false;
    }
    // Only the versions this program has written are read: any other number, a fraction or
    // a text would be read as one of them and its fields taken for what they are not.
    const QJsonValue version = root.value("version");
    const double number = version.toDouble(-1.0);
    Reader r(0);
    if (version.isDouble() && number > FormatVersion && number == std::floor(number)) {
        *problem = Words("新しい版のプログラムで保存されています",
                         "it was saved by a newer version of the program");
        return false;
    }
    if (number != 1.0 && number != 2.0 && number != 3.0 && number != FormatVersion) {
        r.Fail(QStringLiteral("version"));
        *problem = r.Problem;
        return false;
    }
    LotDocument out;
    bool ok = ReadFiles(root.value("files"), QStringLiteral("files"), &out.Files, r) &&
              ReadPlaces(root, &out.Places, r);
    Reader refs(int(out.Files.size()));
    const QJsonObject h = root.value("header").toObject();
    out.Header = {h.value("site").toString(),       h.value("section").toString(),
                  h.value("layer").toString(),      h.value("operator").toString(),
                  h.value("remarks").toString(),    h.value("material").toString(),
                  h.value("weather").toString(),    h.value("temperature").toString(),
                  h.value("standard").toString(),   h.value("logger serial").toString(),
                  h.value("calibration").toString()};
    const QJsonObject need = root.value("requirement").toObject();
    ok = ok && refs.Number(need, "k", &out.Judgement.Need.K) &&
         refs.Number(need, "e", &out.Judgement.Need.E);
    out.Judgement.QuantileFactor = root.value("k").toDouble(-1.0);
    const QString rule = root.value("rule").toString();
    out.Judgement.Rule =
        rule == QLatin1String("every point") ? LotRule::EveryPoint : LotRule::Characteristic;
    ok =
        ok &&
        (WholeInWindowRange(root.value("gap"), LongestGapSeconds, &out.Rules.GapSeconds) ||
         refs.Fail(QStringLiteral("gap"))) &&
        (WholeInWindowRange(root.value("seating"), MostSeatingDrops, &out.Rules.Seating) ||
         refs.Fail(QStringLiteral("seating"))) &&
        (number < 3.0 || ReadLeastUsed(root.value("least used"), &out.Rules) ||
         refs.Fail(QStringLiteral("least used"))) &&
        (InWindowRange(root.value("k"), LargestQuantileFactor) || refs.Fail(QStringLiteral("k"))) &&
        (rule == QLatin1String("every point") || rule == QLatin1String("characteristic value") ||
         refs.Fail(QStringLiteral("rule"))) &&
        refs.Refs(root.value("splits"), &out.Edits.Splits, QStringLiteral("splits")) &&
        refs.Refs(root.value("joins"), &out.Edits.Joins, QStringLiteral("joins")) &&
        ReadChoices(root.value("exclusions"), &out.Edits.Choices, refs) &&
        ReadMarks(root.value("points"), &out.Edits.Marks, refs) &&
        ReadNotes(root.value("notes"), &out.Notes, refs);
    if (!ok) {
        *problem = r.Problem.En.isEmpty() ? refs.Problem : r.Problem;
        return false;
    }
    *lot = std::move(out);
    return true;
}

bool ReadLotFile(const QString& path, LotDocument* lot, Bilingual* problem)
{
    const InputRead read =
        ReadInputFile(path, {LargestLotFileBytes,
                             {QString::fromUtf8("ロットファイル"), QStringLiteral("a lot file")}});
    Bilingual why;
    if (!read.Ok()) {
        // "is a folder, not a file." read as a clause of the sentence below
        why = Bilingual{QString::fromUtf8("ファイルが") + read.Reason.Ja,
                        QStringLiteral("it ") + read.Reason.En};
        why.Ja.chop(1);
        why.En.chop(1);
    } else if (LotFromJson(read.Bytes, lot, &why)) {
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
    if (QFileInfo(path).isFile()) {
        LotDocument old;
        Bilingual why;
        if (!ReadLotFile(path, &old, &why)) {
            *problem =
                Words("%1 "
                      "はロットファイルではないか、壊れています。上書きしません。別の名前で保"
                      "存してください。",
                      "%1 is not a lot file or is damaged; it was not overwritten. Save "
                      "the lot under another name.")
                    .Arg(shown);
            return false;
        }
    }
    QStringList days;
    for (const LotDayFile& f : lot.Files)
        days << f.Path;
    for (const LotDayFile& f : lot.Places.Tracks)
        days << f.Path;
    for (const LotDayFile& f : lot.Places.Positions)
        days << f.Path;
    if (lot.Places.Alignment)
        days << lot.Places.Alignment->File.Path;
    Bilingual reason;
    if (WriteOutputFile(path, LotToJson(lot), OutputRules{days, false}, &reason))
        return true;
    *problem = CannotWrite(path, reason);
    return false;
}
