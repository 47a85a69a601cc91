#include "LotRecord.h"

#include "LotTexts.h"

#include "geo/UtcOffsetText.h"
#include "lot/PointsCsv.h"
#include "record/PlaceFormat.h"
#include "shell/Formatting.h"
#include "shell/Version.h"

#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <array>

namespace
{

QString TestDates(const LotSession& lot, UiLanguage language)
{
    QDate first, last;
    for (const LotDrop& d : lot.Drops()) {
        const QDate day = d.When.date();
        first = first.isValid() ? std::min(first, day) : day;
        last = last.isValid() ? std::max(last, day) : day;
    }
    if (!first.isValid())
        return QString();
    return first == last
               ? DateText(first, language)
               : DateText(first, language) + QStringLiteral(" – ") + DateText(last, language);
}

QString StateText(DayFileState state, UiLanguage language)
{
    switch (state) {
    case DayFileState::Same:
        break;
    case DayFileState::Changed:
        return Tr(language, "保存後に変更", "changed since saved");
    case DayFileState::Missing:
        return Tr(language, "ファイルなし", "missing");
    case DayFileState::Unreadable:
        return Tr(language, "読めません", "unreadable");
    }
    return QString();
}

QString Value(const std::optional<double>& v)
{
    if (!v)
        return QString();
    return *v < 0.0 ? QStringLiteral("Calc Error") : FormatNumber(*v, QStringLiteral("0"));
}

// Where the edits' drops are now: the drop at each file and line, and the point of each drop.
struct DropPlaces {
    QHash<QPair<int, int>, int> Drop;
    std::vector<int> Point;

    explicit DropPlaces(const LotSession& lot) : Point(lot.Drops().size(), -1)
    {
        for (size_t d = 0; d < lot.Drops().size(); ++d)
            Drop.insert({lot.Drops()[d].File, lot.Drops()[d].Line}, int(d));
        for (size_t p = 0; p < lot.Points().size(); ++p)
            for (const PointDrop& pd : lot.Points()[p].Drops)
                Point[size_t(pd.Index)] = int(p);
    }
};

RecordEdit EditAt(const LotSession& lot, const DropPlaces& places, EditKind kind,
                  const DropRef& ref)
{
    RecordEdit e{kind, -1,      lot.FileName(ref.File), ref.No, ref.Line, ref.When, {}, {},
                 {},   ref.Lost};
    const int drop = ref.Lost ? -1 : places.Drop.value({ref.File, ref.Line}, -1);
    const bool values = kind == EditKind::Exclusion || kind == EditKind::Inclusion;
    if (drop < 0) {
        if (values && ref.Identified()) {
            e.K = ref.K;
            e.E = ref.E;
        }
        return e;
    }
    const LotDrop& d = lot.Drops()[size_t(drop)];
    e.Point = places.Point[size_t(drop)];
    e.No = d.No;
    e.When = d.When;
    if (values) {
        e.K = d.K;
        e.E = d.E;
    }
    return e;
}

// Who made the edit of `kind` at `ref` and when, from the last note of it; the note's reason
// where the edit holds none (a split, a join).
void Stamp(const LotSession& lot, const char* kind, const DropRef& ref, RecordEdit* edit)
{
    const std::vector<EditNote>& notes = lot.Document().Notes;
    for (auto n = notes.rbegin(); n != notes.rend(); ++n) {
        const DropRef& d = n->Drop;
        const bool same = d.File == ref.File &&
                          (ref.Identified() && d.Identified() ? d.No == ref.No && d.When == ref.When
                                                              : d.Line == ref.Line);
        if (n->Kind != QLatin1String(kind) || !same)
            continue;
        edit->By = n->By;
        edit->At = n->At;
        if (edit->Reason.isEmpty())
            edit->Reason = n->Reason;
        return;
    }
}

// A point's station, marked where another part of the road is as near, and its offset signed;
// why it has none where it is placed.
QStringList StationCells(const PointCoordinates& at, UiLanguage language)
{
    const PointStation& s = at.Along;
    if (!s.HasStation)
        return {s.Short.Pick(language), QString()};
    return {s.Ambiguous ? s.Text + QStringLiteral(" *") : s.Text,
            (s.Offset > 0.0 ? QStringLiteral("+") : QString()) + GridMetresText(s.Offset)};
}

} // namespace

QString ProgramText()
{
    return QStringLiteral("%1 %2.%3.%4")
        .arg(QLatin1String(Version::Comment))
        .arg(Version::Major)
        .arg(Version::Minor)
        .arg(Version::Revision);
}

QString DateText(const QDate& date, UiLanguage language)
{
    return FormatDateTimeText(QDateTime(date, QTime(0, 0)), language)
        .section(QLatin1Char(' '), 0, 0);
}

std::vector<QStringList> RecordHeader(const LotSession& lot, const QDate& issued,
                                      UiLanguage language)
{
    using F = HeaderField;
    std::vector<QStringList> rows;
    // The remarks, which may run over lines, come after the rules.
    for (F field : {F::Site, F::Section, F::Layer, F::Material, F::Operator, F::Weather,
                    F::Temperature, F::Standard, F::LoggerSerial, F::Calibration})
        rows.push_back({HeaderLabel(field, language), HeaderValue(lot.Document().Header, field)});
    rows.push_back({Tr(language, "ロットファイル", "Lot file"),
                    lot.Path().isEmpty() ? Tr(language, "(未保存)", "(not saved)")
                                         : QFileInfo(lot.Path()).fileName()});
    rows.push_back({Tr(language, "試験日", "Test date"), TestDates(lot, language)});
    rows.push_back({Tr(language, "発行日", "Date of issue"), DateText(issued, language)});
    rows.push_back({Tr(language, "プログラム", "Program"), ProgramText()});
    return rows;
}

std::vector<QStringList> RecordRules(const LotSession& lot, UiLanguage language)
{
    const LotDocument& doc = lot.Document();
    return {
        {Tr(language, "規定値", "Requirement"), RequirementText(doc.Judgement.Need, language)},
        {Tr(language, "判定方法", "Rule"), RuleText(doc.Judgement.Rule).Pick(language)},
        {Tr(language, "特性値の k", "Factor k"), FormatGeneral(doc.Judgement.QuantileFactor)},
        {Tr(language, "測点の区切り", "Gap"),
         Tr(language, "%1 秒を超えると新しい測点", "a new point after more than %1 s")
             .arg(doc.Rules.GapSeconds)},
        {Tr(language, "予備打撃", "Seating drops"),
         Tr(language, "各測点の最初の %1 回", "the first %1 of each point").arg(doc.Rules.Seating)},
        {Tr(language, "最少採用打撃数", "Least used drops"),
         Tr(language, "各測点 %1 回以上", "at least %1 a point").arg(doc.Rules.LeastUsed)},
    };
}

QString LotFooterNote(const LotSession& lot, const QDate& issued, UiLanguage language)
{
    QStringList names;
    for (const HeaderField field : {HeaderField::Site, HeaderField::Section, HeaderField::Layer}) {
        const QString value = HeaderValue(lot.Document().Header, field).simplified();
        if (!value.isEmpty())
            names << value;
    }
    if (names.isEmpty() && !lot.Path().isEmpty())
        names << QFileInfo(lot.Path()).fileName();
    const QString date = Tr(language, "発行日 %1", "issued %1").arg(DateText(issued, language));
    return names.isEmpty() ? date
                           : names.join(QStringLiteral(" / ")) + QStringLiteral(" — ") + date;
}

QString DraftMark(UiLanguage language)
{
    return Tr(language, "DRAFT 下書き", "DRAFT");
}

QString DraftText(const LotSession& lot, UiLanguage language)
{
    const QString why = lot.DraftReason().Pick(language);
    if (why.isEmpty())
        return QString();
    return Tr(language, "確定した記録ではありません。%1", "Not a final record: %1").arg(why);
}

QString LotStateLine(const LotSession& lot, UiLanguage language)
{
    const QString draft = DraftText(lot, language);
    return draft.isEmpty() ? LotVerdictLine(lot, language)
                           : DraftMark(language) + QStringLiteral(" — ") + draft;
}

std::vector<RecordDay> RecordDays(const LotSession& lot, UiLanguage language)
{
    const size_t files = lot.Document().Files.size();
    std::vector<RecordDay> days(files);
    std::vector<std::array<bool, 2>> calcTypes(files, {false, false});
    for (const LotDrop& d : lot.Drops()) {
        if (size_t(d.File) >= files)
            continue;
        ++days[size_t(d.File)].Drops;
        calcTypes[size_t(d.File)][d.Calc == CalcType::Burmister ? 0 : 1] = true;
    }
    for (size_t f = 0; f < files; ++f) {
        RecordDay& day = days[f];
        day.Name = lot.FileName(int(f));
        const auto& now =
            f < lot.DayFilesNow().size() ? lot.DayFilesNow()[f] : lot.Document().Files[f];
        day.Hash = QString::fromLatin1(now.Sha256);
        day.State = StateText(lot.StateOf(int(f)), language);
        if (f < lot.Days().size()) {
            const FileHeader& h = lot.Days()[f].Header;
            if (h.HasDiameter)
                day.Diameter = h.Diameter;
            if (h.HasPoisson)
                day.Poisson = h.Poisson;
        }
        QStringList used;
        for (CalcType type : {CalcType::Burmister, CalcType::Boussinesq}) {
            if (calcTypes[f][type == CalcType::Burmister ? 0 : 1])
                used << CalcTypeCode(type);
        }
        day.Formulas = used.join(QStringLiteral(", "));
    }
    return days;
}

std::vector<RecordPlaceFile> RecordPlaceFiles(const LotSession& lot, UiLanguage language)
{
    std::vector<RecordPlaceFile> files;
    const auto add = [&](const std::vector<PlacesFileRead>& read, const QString& kind) {
        for (const PlacesFileRead& f : read) {
            files.push_back(
                {QFileInfo(f.Now.Path).fileName(), kind, QString::fromLatin1(f.Now.Sha256),
                 f.State == DayFileState::Same ? QString() : StateText(f.State, language)});
        }
    };
    add(lot.Places().TrackFiles(), Tr(language, "GPS トラック", "GPS track"));
    add(lot.Places().PositionsFiles(), Tr(language, "位置ファイル", "positions file"));
    add(lot.Places().AlignmentFiles(), Tr(language, "中心線 (LandXML)", "centreline (LandXML)"));
    return files;
}

QStringList PlaceFileHeadings(UiLanguage language)
{
    return {Tr(language, "位置の元のファイル", "Places from"), QStringLiteral("SHA-256"),
            Tr(language, "種類", "Kind")};
}

QStringList PlaceFileCells(const RecordPlaceFile& file)
{
    const QString hash = file.Hash.left(12);
    return {file.Name, file.State.isEmpty() ? hash : hash + QStringLiteral(" (") + file.State + ')',
            file.Kind};
}

std::vector<QStringList> RecordPlaceSettings(const LotSession& lot, UiLanguage language)
{
    const LotPlaceSettings& places = lot.Document().Places;
    QString system = Tr(language, "なし", "none");
    if (places.Epsg != 0) {
        const SiteCrs* crs = lot.Places().Crs();
        system = crs ? crs->Name() : QStringLiteral("EPSG:%1").arg(places.Epsg);
    }
    std::vector<QStringList> pairs{
        {Tr(language, "UTC との差", "UTC offset"),
         places.UtcOffset ? UtcOffsetText(*places.UtcOffset)
                          : Tr(language, "このコンピューターの時間帯", "this computer's zone")},
        {Tr(language, "座標系", "Reference system"), system}};
    if (const std::optional<LotAlignment>& road = places.Alignment) {
        pairs.push_back({Tr(language, "中心線", "Centreline"), road->Name});
        pairs.push_back({Tr(language, "測点番号", "Stations"),
                         road->Form == StationForm::Stakes
                             ? Tr(language, "No. 杭 %1 m 間隔", "stakes of %1 m")
                                   .arg(FormatGeneral(road->Interval))
                             : QStringLiteral("km+m")});
        pairs.push_back({Tr(language, "離れの上限", "Offset limit"),
                         Tr(language, "中心線から %1 m まで", "%1 m from the centreline")
                             .arg(FormatGeneral(road->OffsetLimit))});
    }
    return pairs;
}

std::vector<QStringList> RecordPointPlaces(const LotSession& lot, UiLanguage language)
{
    const std::optional<CoordinateColumns> columns = lot.Places().Columns();
    const bool grid = columns && columns->Grid;
    const bool stations = columns && columns->Stations;
    QStringList headings{Tr(language, "測点", "Point"), Tr(language, "緯度", "Latitude"),
                         Tr(language, "経度", "Longitude")};
    if (grid)
        headings << Tr(language, "北距(m)", "Northing(m)") << Tr(language, "東距(m)", "Easting(m)");
    if (stations)
        headings << Tr(language, "測点番号", "Station")
                 << Tr(language, "離れ(m) 右が正", "Offset(m) right +");
    headings << Tr(language, "ばらつき(m)", "Spread(m)") << Tr(language, "載荷板", "Plate");
    std::vector<QStringList> rows{headings};
    const std::vector<PointPlace>& places = lot.Places().PointPlaces();
    for (size_t p = 0; p < places.size(); ++p) {
        const PointPlace& place = places[p];
        if (!place.HasPlace)
            continue;
        QStringList row{QString::number(p + 1), DegreesText(place.Where.Latitude),
                        DegreesText(place.Where.Longitude)};
        if (grid) {
            const PointCoordinates& c = columns->Points[p];
            row << (c.HasGrid ? GridMetresText(c.Northing) : QString())
                << (c.HasGrid ? GridMetresText(c.Easting) : QString());
        }
        if (stations)
            row << StationCells(columns->Points[p], language);
        row << QString::number(place.SpreadMetres, 'f', 1)
            << (place.Moved() ? Tr(language, "ずれ", "moved") : QString());
        rows.push_back(row);
    }
    return rows;
}

QString StationFootnote(const LotSession& lot, UiLanguage language)
{
    const std::vector<PointStation>& stations = lot.Places().Stations();
    if (std::none_of(stations.begin(), stations.end(),
                     [](const PointStation& s) { return s.Ambiguous; }))
        return QString();
    return Tr(language, "* 道路の別の部分も同じほど近くにあります。測点番号を確かめてください。",
              "* Another part of the road lies as near: check the station.");
}

QStringList DayHeadings(UiLanguage language)
{
    if (language == UiLanguage::Japanese)
        return {QString::fromUtf8("日のファイル"),  QStringLiteral("SHA-256"),
                QString::fromUtf8("載荷板径 (mm)"), QString::fromUtf8("ポアソン比"),
                QString::fromUtf8("E の計算式"),    QString::fromUtf8("打撃数")};
    return {"Day file", "SHA-256", "Plate (mm)", "Poisson's ratio", "E formula", "Drops"};
}

QStringList DayCells(const RecordDay& day)
{
    const QString hash = day.Hash.left(12);
    return {day.Name,
            day.State.isEmpty() ? hash : hash + QStringLiteral(" (") + day.State + ')',
            day.Diameter ? QString::number(*day.Diameter) : QString(),
            day.Poisson ? FormatGeneral(*day.Poisson) : QString(),
            day.Formulas,
            QString::number(day.Drops)};
}

std::vector<RecordEdit> RecordEdits(const LotSession& lot, UiLanguage language)
{
    const DropPlaces places(lot);
    const LotEdits& edits = lot.Document().Edits;
    std::vector<RecordEdit> out;
    for (const DropChoice& c : edits.Choices) {
        out.push_back(
            EditAt(lot, places, c.Used ? EditKind::Inclusion : EditKind::Exclusion, c.Drop));
        out.back().Reason = c.Shown().Pick(language);
        Stamp(lot, c.Used ? "inclusion" : "exclusion", c.Drop, &out.back());
    }
    for (const DropRef& r : edits.Splits) {
        out.push_back(EditAt(lot, places, EditKind::Split, r));
        Stamp(lot, "split", r, &out.back());
    }
    for (const DropRef& r : edits.Joins) {
        out.push_back(EditAt(lot, places, EditKind::Join, r));
        Stamp(lot, "join", r, &out.back());
    }
    for (const PointMark& m : edits.Marks) {
        if (!m.Excluded && !(m.Drop.Lost && !m.Location.isEmpty()))
            continue; // a location is in the points' table already
        out.push_back(
            EditAt(lot, places, m.Excluded ? EditKind::PointLeftOut : EditKind::Location, m.Drop));
        out.back().Reason = m.Excluded ? m.Reason : m.Location;
        Stamp(lot, m.Excluded ? "point left out" : "location", m.Drop, &out.back());
    }
    std::stable_sort(out.begin(), out.end(), [&](const RecordEdit& a, const RecordEdit& b) {
        if (a.Lost != b.Lost)
            return b.Lost;
        return std::pair(a.File, a.Line) < std::pair(b.File, b.Line);
    });
    return out;
}

QString EditKindText(const RecordEdit& edit, UiLanguage language)
{
    switch (edit.Kind) {
    case EditKind::Exclusion:
        return Tr(language, "打撃の除外", "drop excluded");
    case EditKind::Inclusion:
        return Tr(language, "打撃の採用", "drop included");
    case EditKind::Split:
        return Tr(language, "分割", "split");
    case EditKind::Join:
        return Tr(language, "前の測点と結合", "joined to previous");
    case EditKind::PointLeftOut:
        return Tr(language, "測点の除外", "point left out");
    case EditKind::Location:
        break;
    }
    return Tr(language, "位置", "location");
}

QStringList EditHeadings(UiLanguage language)
{
    if (language == UiLanguage::Japanese)
        return {QString::fromUtf8("測点"),           QString::fromUtf8("変更"),
                QString::fromUtf8("日のファイル"),   QStringLiteral("No"),
                QString::fromUtf8("日時"),           QStringLiteral("K-NWR(MN/m3)"),
                QStringLiteral("E-NWR(MN/m2)"),      QString::fromUtf8("変更者"),
                QString::fromUtf8("変更日時 (UTC)"), QString::fromUtf8("理由")};
    return {"Point",        "Edit",         "Day file", "No",           "Date Time",
            "K-NWR(MN/m3)", "E-NWR(MN/m2)", "By",       "Edited (UTC)", "Reason"};
}

QStringList EditCells(const RecordEdit& edit, UiLanguage language)
{
    QString reason = edit.Reason;
    if (edit.Lost)
        reason = Tr(language, "打撃がファイルにありません (適用されていません)",
                    "LOST: its drop is no longer in the file (not applied)") +
                 (reason.isEmpty() ? QString() : QStringLiteral("; ") + reason);
    return {edit.Point < 0 ? QStringLiteral("-") : QString::number(edit.Point + 1),
            EditKindText(edit, language),
            edit.File,
            edit.No.isEmpty() ? Tr(language, "%1 行目", "line %1").arg(edit.Line) : edit.No,
            edit.When.isValid() ? FormatDateTimeText(edit.When, language) : QString(),
            Value(edit.K),
            Value(edit.E),
            edit.By,
            edit.At.isValid() ? FormatDateTimeText(edit.At.toUTC(), language) : QString(),
            reason};
}

QStringList SignLabels(UiLanguage language)
{
    return {Tr(language, "試験者 (署名)", "Tested by (signature)"),
            Tr(language, "確認者 (署名)", "Checked by (signature)")};
}

QString SignDateLabel(UiLanguage language)
{
    return Tr(language, "日付", "Date");
}
