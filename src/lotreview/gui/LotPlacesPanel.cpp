#include "LotPlacesPanel.h"
#include "LotRoadPanel.h"

#include "geo/PointsGeoJson.h"
#include "geo/UtcOffsetText.h"
#include "outputs/gui/ReviewOutput.h"
#include "shell/AppContext.h"
#include "shell/OutputFile.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>

LotPlacesPanel::LotPlacesPanel(LotSession& lot, AppContext& context, QWidget* parent)
    : QWidget(parent), m_lot(lot), m_context(context), m_language(context.G.UiLanguage)
{
    const UiLanguage lang = m_language;
    m_offset = new QLineEdit(this);
    m_offset->setObjectName(QStringLiteral("UtcOffset"));
    m_offset->setPlaceholderText(Tr(lang, "このコンピューター", "this computer's"));
    m_offset->setMaximumWidth(m_offset->fontMetrics().horizontalAdvance(QStringLiteral("M")) * 9);
    m_offset->setToolTip(
        Tr(lang, "打撃の時刻の UTC からの差 (例 +09:00)。空欄: このコンピューターの時間帯",
           "The drops' clock against UTC (e.g. +09:00); empty: this computer's "
           "zone"));
    m_system = new QLineEdit(this);
    m_system->setObjectName(QStringLiteral("ReferenceSystem"));
    // Empty shows as empty: an example in grey would read as a system that is set.
    m_system->setMaximumWidth(m_offset->maximumWidth() * 3 / 2);
    m_system->setToolTip(Tr(lang,
                            "測点の北距・東距を求める座標参照系の EPSG コード (例 EPSG:6677)。"
                            "空欄: なし",
                            "The EPSG code of the reference system for the points' northing and "
                            "easting (e.g. EPSG:6677); empty: none"));
    m_state = new QLabel(this);
    m_state->setObjectName(QStringLiteral("PlacesState"));
    m_road = new LotRoadPanel(lot, context, this);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel(Tr(lang, "UTC との差", "UTC offset"), this));
    row->addWidget(m_offset);
    row->addWidget(new QLabel(Tr(lang, "座標系", "Reference system"), this));
    row->addWidget(m_system);
    row->addWidget(m_state, 1);
    connect(m_offset, &QLineEdit::editingFinished, this, &LotPlacesPanel::TakeOffset);
    connect(m_system, &QLineEdit::editingFinished, this, &LotPlacesPanel::TakeSystem);
    connect(m_road, &LotRoadPanel::Changed, this, &LotPlacesPanel::Changed);
}

void LotPlacesPanel::AddActions(QMenu* file)
{
    file->addAction(Tr(m_language, "GPS トラックを追加...", "Add GPS Track..."), this,
                    &LotPlacesPanel::AddTrack);
    m_road->AddActions(file);
    file->addAction(Tr(m_language, "測点を GeoJSON に書き出す...", "Export Points as GeoJSON..."),
                    this, &LotPlacesPanel::ExportGeoJson);
}

QWidget* LotPlacesPanel::RoadPanel() const
{
    return m_road;
}

void LotPlacesPanel::Load()
{
    const LotPlaceSettings& places = m_lot.Document().Places;
    m_offset->setText(places.UtcOffset ? UtcOffsetText(*places.UtcOffset) : QString());
    m_system->setText(places.Epsg ? QStringLiteral("EPSG:%1").arg(places.Epsg) : QString());
    setEnabled(m_lot.IsOpen());
    m_road->Load();
    const LotPlaces& placed = m_lot.Places();
    const auto count = std::count_if(placed.PointPlaces().begin(), placed.PointPlaces().end(),
                                     [](const PointPlace& p) { return p.HasPlace; });
    QString state =
        Tr(m_language, "トラック %1、位置のある測点 %2/%3", "%1 track(s), %2 of %3 point(s) placed")
            .arg(places.Tracks.size())
            .arg(count)
            .arg(m_lot.Points().size());
    QStringList notes;
    for (const Bilingual& note : placed.Notes())
        notes << note.Pick(m_language);
    if (!notes.isEmpty())
        state += Tr(m_language, " — 注意 %1 件", " — %1 note(s)").arg(notes.size());
    // Said where it is seen: a track in another clock than the drops' places nothing.
    if (const Bilingual& times = placed.TimesNote(); !times.En.isEmpty())
        state += QStringLiteral(" — ") + times.Pick(m_language);
    m_state->setText(state);
    m_state->setToolTip(notes.join(QLatin1Char('\n')));
}

void LotPlacesPanel::TakeOffset()
{
    const QString text = m_offset->text().trimmed();
    UtcOffset wanted;
    if (!text.isEmpty()) {
        int minutes = 0;
        Bilingual problem;
        if (!ReadUtcOffset(text, &minutes, &problem)) {
            Tell(Words("UTC との差", "UTC Offset"), problem);
            Load();
            return;
        }
        wanted = minutes;
    }
    if (wanted == m_lot.Document().Places.UtcOffset)
        return;
    m_lot.SetUtcOffset(wanted);
    emit Changed();
}

void LotPlacesPanel::TakeSystem()
{
    const QString text = m_system->text().trimmed();
    int code = 0;
    Bilingual problem;
    if (!text.isEmpty() && !ReadEpsgCode(text, &code, &problem)) {
        Tell(Words("座標系", "Reference System"), problem);
        Load();
        return;
    }
    if (code == m_lot.Document().Places.Epsg)
        return;
    if (!m_lot.SetEpsg(code, &problem)) {
        Tell(Words("座標系", "Reference System"), problem);
        Load();
        return;
    }
    emit Changed();
}

void LotPlacesPanel::AddTrack()
{
    if (!m_lot.IsOpen())
        return;
    const QString path = m_context.Files->Choose(
        FileQuestion{FileQuestion::Kind::Open, LotFolder(m_lot),
                     Tr(m_language, "GPS トラック (*.gpx)", "GPS tracks (*.gpx)")});
    if (path.isEmpty())
        return;
    Bilingual problem, notice;
    if (!m_lot.AddTrack(path, &problem, &notice))
        Tell(Words("トラックを追加できません", "Track Not Added"), problem);
    else if (!notice.En.isEmpty())
        Tell(Words("トラックを追加しました", "Track Added"), notice);
    emit Changed();
}

void LotPlacesPanel::ExportGeoJson()
{
    if (m_lot.Reread()) // a file changed unseen: the points as its files are now
        emit Changed();
    if (m_lot.Points().empty()) {
        Tell(Words("測点なし", "No Points"),
             Words("ロットに測点がありません。", "The lot has no points yet."));
        return;
    }
    const QString stem =
        m_lot.Path().isEmpty() ? QStringLiteral("lot") : QFileInfo(m_lot.Path()).completeBaseName();
    QString path = m_context.Files->Choose(
        FileQuestion{FileQuestion::Kind::Save, QDir(LotFolder(m_lot)).filePath(stem + ".geojson"),
                     QStringLiteral("GeoJSON (*.geojson)")});
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".geojson");
    const QByteArray json = PointsGeoJson(m_lot.Points(), m_lot.Document().Judgement.Need,
                                          m_lot.Places().PointPlaces(), m_lot.Places().Stations());
    Bilingual reason;
    const bool ok = WriteOutputFile(path, json, OutputRules{m_lot.InputFiles()}, &reason);
    ReportSaveFailure(*m_context.Messages, ok, path, reason);
}

void LotPlacesPanel::Tell(const Bilingual& title, const Bilingual& text)
{
    m_context.Messages->Show(UiMessage{title, text, MessageButtons::Ok, MessageIcon::Information});
}
