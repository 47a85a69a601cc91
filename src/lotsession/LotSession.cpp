#include "LotSession.h"

#include "LotDays.h"
#include "LotDrops.h"

#include "alignment/LandXmlAlignment.h"

#include "shell/Formatting.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace
{

template <typename T, typename P> void EraseIf(std::vector<T>& v, P&& pred)
{
    v.erase(std::remove_if(v.begin(), v.end(), pred), v.end());
}

void Append(Bilingual* to, const Bilingual& line)
{
    if (line.En.isEmpty())
        return;
    const QString nl = QStringLiteral("\n");
    to->Ja += (to->Ja.isEmpty() ? QString() : nl) + line.Ja;
    to->En += (to->En.isEmpty() ? QString() : nl) + line.En;
}

// The lines joined into one, as a verdict's reason is.
Bilingual OneLine(const std::vector<Bilingual>& lines)
{
    Bilingual out;
    for (const Bilingual& l : lines) {
        out.Ja += (out.Ja.isEmpty() ? QString() : QStringLiteral(" ")) + l.Ja;
        out.En += (out.En.isEmpty() ? QString() : QStringLiteral(" ")) + l.En;
    }
    return out;
}

// A lost edit's drop as the engineer knew it.
Bilingual DropNamed(const DropRef& r, const QString& file)
{
    if (!r.Identified())
        return Words("%1 の %2 行目の打撃", "the drop on line %2 of %1")
            .Arg(file)
            .Arg(QString::number(r.Line));
    const Bilingual named =
        Words("%1 の打撃 No %2 (%3)", "drop No %2 (%3) of %1").Arg(file).Arg(r.No);
    return Bilingual{named.Ja.arg(FormatDateTimeText(r.When, 0)),
                     named.En.arg(FormatDateTimeText(r.When, 1))};
}

} // namespace

LotSession::LotSession(UiLanguage uiLanguage)
    : m_language(uiLanguage),
      m_editor(qEnvironmentVariable("USER", qEnvironmentVariable("LOGNAME"))),
      m_clock([] { return QDateTime::currentDateTimeUtc(); })
{
}

void LotSession::SetEditor(const QString& by, std::function<QDateTime()> now)
{
    m_editor = by;
    m_clock = std::move(now);
}

void LotSession::Note(const char* kind, const DropRef& drop, const QString& reason)
{
    m_lot.Notes.push_back(
        EditNote{QLatin1String(kind), drop, m_editor, m_clock().toUTC(), reason.trimmed()});
}

void LotSession::New(const QStringList& dayFiles)
{
    m_lot = LotDocument{};
    m_path.clear();
    m_open = true;
    for (const QString& f : dayFiles)
        m_lot.Files.push_back(LotDayFile{f, 0, QByteArray(), {}});
    ReadDays();
    m_saved = LotToJson(m_lot);
}

bool LotSession::AddDayFile(const QString& path, Bilingual* problem)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const QString canonical = QFileInfo(path).canonicalFilePath();
    for (const LotDayFile& f : m_lot.Files) {
        const QFileInfo other(f.Path);
        if (other.absoluteFilePath() == absolute ||
            (!canonical.isEmpty() && other.canonicalFilePath() == canonical)) {
            *problem = Bilingual{QString::fromUtf8("%1 はすでにロットにあります").arg(path),
                                 QStringLiteral("%1 is in the lot already").arg(path)};
            return false;
        }
    }
    const DayFile day = ReadDayFile(absolute, m_language);
    if (day.Refused()) {
        *problem =
            Bilingual{QDir::toNativeSeparators(absolute) + QStringLiteral(": ") + day.Problem.Ja,
                      QDir::toNativeSeparators(absolute) + QLatin1Char(' ') + day.Problem.En};
        return false;
    }
    if (!m_open)
        New({});
    m_lot.Files.push_back(LotDayFile{absolute, 0, QByteArray(), {}});
    ReadDays();
    return true;
}

bool LotSession::Open(const QString& path, Bilingual* problem, Bilingual* notice)
{
    LotDocument lot;
    if (!ReadLotFile(path, &lot, problem))
        return false; // the lot shown stays as it was
    m_lot = lot;
    m_path = path;
    m_open = true;
    *notice = ReadDays();
    m_saved = LotToJson(m_lot);
    for (const Bilingual& lost : LostEdits())
        Append(notice, lost);
    return true;
}

bool LotSession::Reread()
{
    if (!m_open)
        return false;
    const std::vector<LotDayFile> before = FilesRead();
    ReadDays();
    return FilesRead() != before;
}

std::vector<LotDayFile> LotSession::FilesRead() const
{
    std::vector<LotDayFile> files = m_now;
    for (const std::vector<PlacesFileRead>* read : PlacesFiles())
        for (const PlacesFileRead& f : *read)
            files.push_back(f.Now);
    return files;
}

bool LotSession::Save(const QString& path, Bilingual* problem)
{
    const QString target = path.isEmpty() ? m_path : path;
    if (!WriteLotFile(target, m_lot, problem))
        return false;
    m_path = target;
    m_saved = LotToJson(m_lot);
    return true;
}

Bilingual LotSession::ReadDays()
{
    m_days.clear();
    m_drops.clear();
    m_now.clear();
    m_states.clear();
    m_fileProblems.clear();
    Bilingual changes;
    std::vector<LotDayRead> read = ReadLotDays(m_lot.Files, m_language);
    std::vector<bool> unchanged;
    for (size_t f = 0; f < read.size(); ++f) {
        Append(&changes, read[f].Change);
        if (m_lot.Files[f].Sha256.isEmpty()) // just added: it is the lot's as it is
            m_lot.Files[f] = read[f].Now;
        else if (read[f].State == DayFileState::Same) // a lot saved before its drops were
            m_lot.Files[f].Drops = read[f].Now.Drops; // remembered learns them unchanged
        m_now.push_back(read[f].Now);
        m_states.push_back(read[f].State);
        m_fileProblems.push_back(read[f].Change);
        unchanged.push_back(read[f].State == DayFileState::Same);
        AppendLotDrops(read[f].Day, int(f), &m_drops);
        m_days.push_back(std::move(read[f].Day));
    }
    PlaceEdits(m_drops, unchanged, &m_lot.Edits);
    ReadPlaces();
    for (const Bilingual& change : PlacesChanges())
        Append(&changes, change);
    Form();
    return changes;
}

void LotSession::ReadPlaces()
{
    std::vector<QString> paths;
    for (const LotDayFile& f : m_lot.Files)
        paths.push_back(f.Path);
    m_places.Read(paths, m_lot.Places, m_drops);
    // Positions files are recorded as they are first seen, and forgotten with their day.
    m_lot.Places.Positions.clear();
    for (const PlacesFileRead& f : m_places.PositionsFiles())
        m_lot.Places.Positions.push_back(f.Record);
}

// The files the drops are placed from, each as it is now where it has changed; one that is
// gone, or cannot be read, is no longer named.
static std::vector<LotDayFile> Accepted(const std::vector<PlacesFileRead>& files)
{
    std::vector<LotDayFile> out;
    for (const PlacesFileRead& f : files)
        if (f.Now.Size >= 0)
            out.push_back(f.State == DayFileState::Same ? f.Record : f.Now);
    return out;
}

void LotSession::Form()
{
    m_points = FormPoints(m_drops, m_lot.Rules, m_lot.Edits);
    m_places.Place(m_drops, m_points, m_lot.Places.UtcOffset);
    Judge();
}

bool LotSession::AddTrack(const QString& path, Bilingual* problem, Bilingual* notice)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (const LotDayFile& f : m_lot.Places.Tracks) {
        if (f.Path == absolute) {
            *problem = Words("%1 はすでにロットにあります", "%1 is in the lot already")
                           .Arg(QDir::toNativeSeparators(path));
            return false;
        }
    }
    // Read once, within a track's own limit: what is described is what was read.
    const InputRead input = ReadInputFile(absolute, TrackFileLimit());
    const LotDayFile track = DescribeDayBytes(absolute, input.Bytes);
    const TrackFile read = TrackOfInput(absolute, input);
    if (read.Refused()) {
        *problem = read.Problem;
        return false;
    }
    *notice = LeftOutNote(read);
    if (!m_open)
        New({});
    m_lot.Places.Tracks.push_back(track);
    ReadPlaces();
    Form();
    return true;
}

void LotSession::SetUtcOffset(UtcOffset offset)
{
    m_lot.Places.UtcOffset = offset;
    Form();
}

bool LotSession::SetEpsg(int code, Bilingual* problem)
{
    if (code != 0 && !SiteCrs::Open(code, problem))
        return false;
    const std::optional<LotAlignment>& road = m_lot.Places.Alignment;
    if (road && code != 0 && m_places.RoadEpsg() != 0 && code != m_places.RoadEpsg()) {
        *problem = SystemsDiffer(road->File.Path, m_places.RoadEpsg(), code);
        return false;
    }
    m_lot.Places.Epsg = code;
    ReadPlaces();
    Form();
    return true;
}

bool LotSession::SetAlignment(const QString& path, const QString& name, Bilingual* problem)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    // Read once: what is described is what was read.
    const InputRead input = ReadInputFile(absolute, AlignmentFileLimit());
    const AlignmentFile file = AlignmentOfInput(absolute, input, name);
    if (file.Refused()) {
        *problem = file.Problem;
        return false;
    }
    const int epsg = file.EpsgCode.toInt();
    if (epsg != 0 && m_lot.Places.Epsg != 0 && epsg != m_lot.Places.Epsg) {
        *problem = SystemsDiffer(path, epsg, m_lot.Places.Epsg);
        return false;
    }
    if (epsg == 0 && m_lot.Places.Epsg == 0) {
        *problem = NoSystemForStations(path);
        return false;
    }
    if (epsg != 0 && m_lot.Places.Epsg == 0 && !SiteCrs::Open(epsg, problem))
        return false;
    if (!m_open)
        New({});
    LotAlignment road = m_lot.Places.Alignment.value_or(LotAlignment{});
    road.File = DescribeDayBytes(absolute, input.Bytes);
    road.Name = file.Chosen.Name;
    m_lot.Places.Alignment = road;
    if (m_lot.Places.Epsg == 0)
        m_lot.Places.Epsg = epsg;
    ReadPlaces();
    Form();
    return true;
}

void LotSession::RemoveAlignment()
{
    m_lot.Places.Alignment.reset();
    ReadPlaces();
    Form();
}

void LotSession::SetStations(StationForm form, double interval, double offsetLimit)
{
    if (!m_lot.Places.Alignment)
        return;
    m_lot.Places.Alignment->Form = form;
    m_lot.Places.Alignment->Interval = interval;
    m_lot.Places.Alignment->OffsetLimit = offsetLimit;
    m_places.SetStations(*m_lot.Places.Alignment);
    Form();
}

void LotSession::Judge()
{
    m_summary = SummariseLot(m_points, m_lot.Judgement);
    const std::vector<Bilingual> problems = Problems();
    if (!problems.empty()) {
        m_summary.Result = Verdict::None;
        m_summary.Why = OneLine(problems);
    }
}

void LotSession::SetJudgement(const LotJudgement& judgement)
{
    m_lot.Judgement = judgement;
    Judge();
}

void LotSession::SetRules(const PointRules& rules)
{
    m_lot.Rules = rules;
    Form();
}

std::vector<Bilingual> LotSession::Problems() const
{
    std::vector<Bilingual> out;
    for (const Bilingual& p : m_fileProblems)
        if (!p.En.isEmpty())
            out.push_back(p);
    const std::vector<Bilingual> places = PlacesChanges();
    out.insert(out.end(), places.begin(), places.end());
    const std::vector<Bilingual> lost = LostEdits();
    out.insert(out.end(), lost.begin(), lost.end());
    return out;
}

std::vector<Bilingual> LotSession::PlacesChanges() const
{
    std::vector<Bilingual> out;
    for (const std::vector<PlacesFileRead>* files : PlacesFiles())
        for (const PlacesFileRead& f : *files)
            if (!f.Change.En.isEmpty())
                out.push_back(f.Change);
    return out;
}

bool LotSession::HasChangedPlaces() const
{
    const auto changed = [](const PlacesFileRead& f) { return f.State != DayFileState::Same; };
    const auto anyChanged = [&](const std::vector<PlacesFileRead>* files) {
        return std::any_of(files->begin(), files->end(), changed);
    };
    const std::array files = PlacesFiles();
    return std::any_of(files.begin(), files.end(), anyChanged);
}

bool LotSession::HasChangedDays() const
{
    return std::find(m_states.begin(), m_states.end(), DayFileState::Changed) != m_states.end() ||
           HasChangedPlaces();
}

void LotSession::AcceptChangedDays()
{
    if (HasChangedPlaces()) {
        m_lot.Places.Positions = Accepted(m_places.PositionsFiles());
        m_lot.Places.Tracks = Accepted(m_places.TrackFiles());
        // A centreline whose file is gone is no longer named, as a track is not.
        const std::vector<LotDayFile> road = Accepted(m_places.AlignmentFiles());
        if (road.empty())
            m_lot.Places.Alignment.reset();
        else if (m_lot.Places.Alignment)
            m_lot.Places.Alignment->File = road.front();
        ReadPlaces();
        m_places.Place(m_drops, m_points, m_lot.Places.UtcOffset);
    }
    for (size_t f = 0; f < m_states.size(); ++f) {
        if (m_states[f] != DayFileState::Changed)
            continue;
        m_lot.Files[f] = m_now[f];
        m_states[f] = DayFileState::Same;
        m_fileProblems[f] = {};
    }
    Judge();
}

bool LotSession::HasMissingDays() const
{
    return std::any_of(m_states.begin(), m_states.end(), [](DayFileState s) {
        return s == DayFileState::Missing || s == DayFileState::Unreadable;
    });
}

void LotSession::RemoveMissingDays()
{
    std::vector<int> newIndex(m_lot.Files.size(), -1);
    std::vector<LotDayFile> kept;
    for (size_t f = 0; f < m_lot.Files.size(); ++f) {
        if (m_states[f] == DayFileState::Missing || m_states[f] == DayFileState::Unreadable)
            continue;
        newIndex[f] = int(kept.size());
        kept.push_back(m_lot.Files[f]);
    }
    LotEdits& e = m_lot.Edits;
    const auto gone = [&](const DropRef& r) { return newIndex[size_t(r.File)] < 0; };
    EraseIf(e.Splits, gone);
    EraseIf(e.Joins, gone);
    EraseIf(e.Choices, [&](const DropChoice& c) { return gone(c.Drop); });
    EraseIf(e.Marks, [&](const PointMark& m) { return gone(m.Drop); });
    for (DropRef* r : RefsOf(&e))
        r->File = newIndex[size_t(r->File)];
    // The notes of a day taken out go with its edits; the others follow their day.
    EraseIf(m_lot.Notes, [&](const EditNote& n) { return gone(n.Drop); });
    for (EditNote& n : m_lot.Notes)
        n.Drop.File = newIndex[size_t(n.Drop.File)];
    m_lot.Files = kept;
    // The files left are read again with the lot's last accepted view of them.
    ReadDays();
}

std::vector<Bilingual> LotSession::LostEdits() const
{
    std::vector<Bilingual> out;
    const auto add = [&](const DropRef& r, const Bilingual& what) {
        if (!IsLost(r))
            return;
        const Bilingual drop = DropNamed(r, FileName(r.File));
        out.push_back(Bilingual{what.Ja.arg(drop.Ja), what.En.arg(drop.En)});
    };
    const LotEdits& e = m_lot.Edits;
    const Bilingual gone = Words("(打撃がファイルにありません。削除するか作り直してください。)",
                                 "(its drop is no longer in the file: remove or re-make it)");
    const auto with = [&](const char* ja, const char* en) {
        Bilingual w = Words(ja, en);
        w.Ja += gone.Ja;
        w.En += QLatin1Char(' ') + gone.En;
        return w;
    };
    for (const DropRef& r : e.Splits)
        add(r, with("%1 での分割", "The split at %1"));
    for (const DropRef& r : e.Joins)
        add(r, with("%1 での結合", "The join at %1"));
    for (const DropChoice& c : e.Choices)
        add(c.Drop, c.Used ? with("%1 の採用", "The inclusion of %1")
                           : with("%1 の除外", "The exclusion of %1"));
    for (const PointMark& m : e.Marks)
        add(m.Drop,
            with("%1 で始まる測点の記録", "The location or leaving out of the point at %1"));
    return out;
}

bool LotSession::IsLost(const DropRef& ref) const
{
    // The edits of a day that cannot be read are not lost: the day's own line says it.
    const DayFileState day = m_states[size_t(ref.File)];
    return ref.Lost && day != DayFileState::Missing && day != DayFileState::Unreadable;
}

void LotSession::RemoveLostEdits()
{
    LotEdits& e = m_lot.Edits;
    const auto lost = [this](const DropRef& r) { return IsLost(r); };
    EraseIf(e.Splits, lost);
    EraseIf(e.Joins, lost);
    EraseIf(e.Choices, [&](const DropChoice& c) { return lost(c.Drop); });
    EraseIf(e.Marks, [&](const PointMark& m) { return lost(m.Drop); });
    Form();
}

Bilingual LotSession::DraftReason() const
{
    std::vector<Bilingual> why;
    if (m_summary.Result == Verdict::None)
        why.push_back(Words("判定がありません: ", "no verdict: "));
    if (!why.empty()) {
        why.back().Ja += m_summary.Why.Ja;
        why.back().En += m_summary.Why.En;
    }
    const LotHeader& h = m_lot.Header;
    QStringList blankJa, blankEn;
    if (h.Site.trimmed().isEmpty())
        blankJa << QString::fromUtf8("現場"), blankEn << QStringLiteral("site");
    if (h.Layer.trimmed().isEmpty())
        blankJa << QString::fromUtf8("層"), blankEn << QStringLiteral("layer");
    if (h.Operator.trimmed().isEmpty())
        blankJa << QString::fromUtf8("測定者"), blankEn << QStringLiteral("tester");
    if (!blankEn.isEmpty())
        why.push_back(
            Bilingual{QString::fromUtf8("%1 が未記入です").arg(blankJa.join(QStringLiteral("、"))),
                      QStringLiteral("%1 not filled in").arg(blankEn.join(QStringLiteral(", ")))});
    return OneLine(why);
}

PointVerdict LotSession::VerdictOf(int point) const
{
    if (point < 0 || point >= int(m_points.size()))
        return {};
    return JudgePoint(m_points[point].Values, m_lot.Judgement.Need);
}

int LotSession::PointOf(int drop) const
{
    for (size_t p = 0; p < m_points.size(); ++p) {
        const auto& drops = m_points[p].Drops;
        if (!drops.empty() && drops.front().Index <= drop && drop <= drops.back().Index)
            return int(p);
    }
    return -1;
}

QStringList LotSession::InputFiles() const
{
    QStringList files;
    for (const LotDayFile& f : m_lot.Files)
        files << f.Path << PositionsFilePath(f.Path);
    for (const LotDayFile& f : m_lot.Places.Tracks)
        files << f.Path;
    if (m_lot.Places.Alignment)
        files << m_lot.Places.Alignment->File.Path;
    if (!m_path.isEmpty())
        files << m_path;
    return files;
}

QString LotSession::FileName(int file) const
{
    return file >= 0 && file < int(m_lot.Files.size())
               ? QFileInfo(m_lot.Files[file].Path).fileName()
               : QString();
}

DropRef LotSession::RefAt(int drop) const
{
    return RefOf(m_drops[size_t(drop)]);
}

void LotSession::Forget(const DropRef& ref)
{
    EraseIf(m_lot.Edits.Splits, [&](const DropRef& r) { return !r.Lost && r.SamePlace(ref); });
    EraseIf(m_lot.Edits.Joins, [&](const DropRef& r) { return !r.Lost && r.SamePlace(ref); });
}

void LotSession::SplitAt(int drop, const QString& reason)
{
    if (drop < 0 || drop >= int(m_drops.size()))
        return;
    const DropRef ref = RefAt(drop);
    Forget(ref);
    m_lot.Edits.Splits.push_back(ref);
    Note("split", ref, reason);
    Form();
}

bool LotSession::JoinWithNext(int point, const QString& reason)
{
    if (point < 0 || point + 1 >= int(m_points.size()))
        return false;
    const int first = m_points[point].Drops.front().Index;
    const int next = m_points[point + 1].Drops.front().Index;
    if (m_drops[next].File != m_drops[first].File)
        return false;
    // One point, one location: the joined point keeps its own mark, or takes the next one's.
    const PointMark* kept = m_points[point].Mark;
    const PointMark* joined = m_points[point + 1].Mark;
    if (joined) {
        const DropRef at = joined->Drop;
        if (kept)
            EraseIf(m_lot.Edits.Marks,
                    [&](const PointMark& m) { return !m.Drop.Lost && m.Drop.SamePlace(at); });
        else
            for (PointMark& m : m_lot.Edits.Marks)
                if (!m.Drop.Lost && m.Drop.SamePlace(at))
                    m.Drop = RefAt(first);
    }
    const DropRef ref = RefAt(next);
    Forget(ref);
    m_lot.Edits.Joins.push_back(ref);
    Note("join", ref, reason);
    Form();
    return true;
}

void LotSession::Exclude(int drop, ExclusionReason reason, const QString& text)
{
    if (drop < 0 || drop >= int(m_drops.size()))
        return;
    const DropRef ref = RefAt(drop);
    EraseIf(m_lot.Edits.Choices,
            [&](const DropChoice& c) { return !c.Drop.Lost && c.Drop.SamePlace(ref); });
    m_lot.Edits.Choices.push_back(DropChoice{ref, false, reason, text});
    Note("exclusion", ref);
    Form();
}

void LotSession::Include(int drop)
{
    if (drop < 0 || drop >= int(m_drops.size()))
        return;
    const DropRef ref = RefAt(drop);
    EraseIf(m_lot.Edits.Choices,
            [&](const DropChoice& c) { return !c.Drop.Lost && c.Drop.SamePlace(ref); });
    Note("inclusion", ref);
    Form();
    const int p = PointOf(drop);
    for (const PointDrop& pd : p >= 0 ? m_points[p].Drops : std::vector<PointDrop>{}) {
        if (pd.Index == drop && pd.State == DropState::Seating) {
            m_lot.Edits.Choices.push_back(DropChoice{ref, true, ExclusionReason::Seating, {}});
            Form();
        }
    }
}

// The point's mark, made at its first drop when it has none.
static PointMark* MarkOf(LotEdits& edits, const LotPoint& point, const DropRef& first)
{
    for (PointMark& m : edits.Marks)
        if (&m == point.Mark)
            return &m;
    edits.Marks.push_back(PointMark{first, {}, false, {}});
    return &edits.Marks.back();
}

void LotSession::SetLocation(int point, const QString& location)
{
    if (point < 0 || point >= int(m_points.size()))
        return;
    PointMark* m = MarkOf(m_lot.Edits, m_points[point], RefAt(m_points[point].Drops.front().Index));
    m->Location = location.trimmed();
    Note("location", m->Drop, m->Location);
    Form();
}

bool LotSession::ExcludePoint(int point, const QString& reason)
{
    if (point < 0 || point >= int(m_points.size()) || reason.trimmed().isEmpty())
        return false;
    PointMark* m = MarkOf(m_lot.Edits, m_points[point], RefAt(m_points[point].Drops.front().Index));
    m->Excluded = true;
    m->Reason = reason.trimmed();
    Note("point left out", m->Drop, m->Reason);
    Form();
    return true;
}

void LotSession::IncludePoint(int point)
{
    if (point < 0 || point >= int(m_points.size()) || !m_points[point].Mark)
        return;
    PointMark* m = MarkOf(m_lot.Edits, m_points[point], {});
    m->Excluded = false;
    m->Reason.clear();
    Note("point taken back", m->Drop);
    Form();
}
