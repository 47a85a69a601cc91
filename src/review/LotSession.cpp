#include "LotSession.h"

#include "LotDays.h"
#include "LotDrops.h"

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

} // namespace

LotSession::LotSession(int16_t uiLanguage) : m_language(uiLanguage) {}

void LotSession::New(const QStringList& dayFiles)
{
    m_lot = LotDocument{};
    m_path.clear();
    m_open = true;
    for (const QString& f : dayFiles)
        m_lot.Files.push_back(LotDayFile{f, 0, QByteArray()});
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
    m_lot.Files.push_back(LotDayFile{absolute, 0, QByteArray()});
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
    if (m_unmatched > 0)
        Append(notice,
               Bilingual{QString::fromUtf8("%1 件の分割・結合・除外は今のファイルにない打撃を指し"
                                           "ています。ロットファイルには残してあります。")
                             .arg(m_unmatched),
                         QStringLiteral("%1 split(s), join(s) or exclusion(s) name drops no longer "
                                        "in the files; they are kept in the lot file.")
                             .arg(m_unmatched)});
    return true;
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
    Bilingual changes;
    std::vector<LotDayRead> read = ReadLotDays(m_lot.Files, m_language);
    for (size_t f = 0; f < read.size(); ++f) {
        Append(&changes, read[f].Change);
        m_lot.Files[f] = read[f].Now;
        AppendLotDrops(read[f].Day, int(f), &m_drops);
        m_days.push_back(std::move(read[f].Day));
    }
    Form();
    return changes;
}

void LotSession::Form()
{
    m_points = FormPoints(m_drops, m_lot.Rules, m_lot.Edits, &m_unmatched);
    m_summary = SummariseLot(m_points, m_lot.Judgement);
}

void LotSession::SetJudgement(const LotJudgement& judgement)
{
    m_lot.Judgement = judgement;
    m_summary = SummariseLot(m_points, m_lot.Judgement);
}

void LotSession::SetRules(const PointRules& rules)
{
    m_lot.Rules = rules;
    Form();
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
        files << f.Path;
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

void LotSession::Forget(const DropRef& ref)
{
    EraseIf(m_lot.Edits.Splits, [&](const DropRef& r) { return r == ref; });
    EraseIf(m_lot.Edits.Joins, [&](const DropRef& r) { return r == ref; });
}

void LotSession::SplitAt(int drop)
{
    if (drop < 0 || drop >= int(m_drops.size()))
        return;
    const DropRef ref{m_drops[drop].File, m_drops[drop].Line};
    Forget(ref);
    m_lot.Edits.Splits.push_back(ref);
    Form();
}

bool LotSession::JoinWithNext(int point)
{
    if (point < 0 || point + 1 >= int(m_points.size()))
        return false;
    const LotDrop& next = m_drops[m_points[point + 1].Drops.front().Index];
    if (next.File != m_drops[m_points[point].Drops.front().Index].File)
        return false;
    const DropRef ref{next.File, next.Line};
    Forget(ref);
    m_lot.Edits.Joins.push_back(ref);
    Form();
    return true;
}

void LotSession::Exclude(int drop, ExclusionReason reason, const QString& text)
{
    if (drop < 0 || drop >= int(m_drops.size()))
        return;
    const DropRef ref{m_drops[drop].File, m_drops[drop].Line};
    EraseIf(m_lot.Edits.Choices, [&](const DropChoice& c) { return c.Drop == ref; });
    m_lot.Edits.Choices.push_back(DropChoice{ref, false, reason, text});
    Form();
}

void LotSession::Include(int drop)
{
    if (drop < 0 || drop >= int(m_drops.size()))
        return;
    const DropRef ref{m_drops[drop].File, m_drops[drop].Line};
    EraseIf(m_lot.Edits.Choices, [&](const DropChoice& c) { return c.Drop == ref; });
    Form();
    const int p = PointOf(drop);
    for (const PointDrop& pd : p >= 0 ? m_points[p].Drops : std::vector<PointDrop>{}) {
        if (pd.Index == drop && pd.State == DropState::Seating) {
            m_lot.Edits.Choices.push_back(DropChoice{ref, true, ExclusionReason::Seating, {}});
            Form();
        }
    }
}
