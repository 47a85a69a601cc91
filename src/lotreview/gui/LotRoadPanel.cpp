#include "LotRoadPanel.h"

#include "alignment/LandXmlAlignment.h"
#include "shell/AppContext.h"

#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QSignalBlocker>
#include <QStandardPaths>

namespace
{

QDoubleSpinBox* Metres(double most, const char* name, QWidget* parent)
{
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(0.001, most);
    box->setDecimals(3);
    box->setSuffix(QStringLiteral(" m"));
    box->setKeyboardTracking(false);
    return box;
}

} // namespace

LotRoadPanel::LotRoadPanel(LotSession& lot, AppContext& context, QWidget* parent)
    : QWidget(parent), m_lot(lot), m_context(context), m_language(context.G.UiLanguage)
{
    const UiLanguage lang = m_language;
    m_road = new QLabel(this);
    m_road->setObjectName(QStringLiteral("Centreline"));
    // A long name never widens the window: it is cut short, the tooltip names the file whole.
    m_road->setMaximumWidth(m_road->fontMetrics().horizontalAdvance(QStringLiteral("M")) * 16);
    m_form = new QComboBox(this);
    m_form->setObjectName(QStringLiteral("StationForm"));
    m_form->addItems({QStringLiteral("No.12+5.00"), QStringLiteral("0+245.000")});
    m_interval = Metres(LargestStationInterval, "StationInterval", this);
    m_interval->setToolTip(Tr(lang, "杭の間隔 (No. の 1 つ分)", "The stakes' interval (one No.)"));
    m_limit = Metres(LargestOffsetLimit, "OffsetLimit", this);
    m_limit->setToolTip(Tr(lang, "中心線からこれより離れた測点には測点番号を付けません",
                           "A point further than this from the centreline gets no station"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel(Tr(lang, "中心線", "Centreline"), this));
    row->addWidget(m_road, 1);
    row->addWidget(new QLabel(Tr(lang, "測点番号の書き方", "Stations"), this));
    row->addWidget(m_form);
    row->addWidget(m_interval);
    row->addWidget(new QLabel(Tr(lang, "離れの上限", "Offset limit"), this));
    row->addWidget(m_limit);
    connect(m_form, &QComboBox::currentIndexChanged, this, &LotRoadPanel::TakeStations);
    connect(m_interval, &QDoubleSpinBox::valueChanged, this, &LotRoadPanel::TakeStations);
    connect(m_limit, &QDoubleSpinBox::valueChanged, this, &LotRoadPanel::TakeStations);
}

void LotRoadPanel::AddActions(QMenu* file)
{
    file->addAction(Tr(m_language, "中心線 (LandXML) を追加...", "Add Centreline (LandXML)..."),
                    this, &LotRoadPanel::AddCentreline);
    file->addAction(Tr(m_language, "中心線を外す", "Remove Centreline"), this, [this] {
        if (!m_lot.Document().Places.Alignment)
            return;
        m_lot.RemoveAlignment();
        emit Changed();
    });
}

void LotRoadPanel::Load()
{
    const std::optional<LotAlignment>& road = m_lot.Document().Places.Alignment;
    setVisible(m_lot.IsOpen() && road.has_value());
    if (!road)
        return;
    const QSignalBlocker form(m_form), interval(m_interval), limit(m_limit);
    m_road->setText(
        QStringLiteral("%1 (%2)").arg(road->Name, QFileInfo(road->File.Path).fileName()));
    m_road->setToolTip(QDir::toNativeSeparators(road->File.Path));
    m_form->setCurrentIndex(road->Form == StationForm::Stakes ? 0 : 1);
    m_interval->setValue(road->Interval);
    m_interval->setEnabled(road->Form == StationForm::Stakes);
    m_limit->setValue(road->OffsetLimit);
}

void LotRoadPanel::TakeStations()
{
    const StationForm form =
        m_form->currentIndex() == 0 ? StationForm::Stakes : StationForm::Kilometres;
    m_lot.SetStations(form, m_interval->value(), m_limit->value());
    emit Changed();
}

bool LotRoadPanel::ChooseName(const QString& path, QString* name)
{
    const AlignmentFile file = ReadAlignmentFile(path);
    if (file.Names.size() < 2) {
        if (file.Refused()) {
            Tell(Words("中心線を追加できません", "Centreline Not Added"), file.Problem);
            return false;
        }
        return true;
    }
    bool ok = false;
    *name = QInputDialog::getItem(
        window(), Tr(m_language, "線形を選ぶ", "Choose an Alignment"),
        Tr(m_language, "%1 の線形:", "The alignments of %1:").arg(QFileInfo(path).fileName()),
        file.Names, 0, false, &ok);
    return ok;
}

void LotRoadPanel::AddCentreline()
{
    if (!m_lot.IsOpen())
        return;
    const QString path = m_context.Files->Choose(FileQuestion{
        FileQuestion::Kind::Open, LotFolder(m_lot), QStringLiteral("LandXML (*.xml *.XML)")});
    QString name;
    if (path.isEmpty() || !ChooseName(path, &name))
        return;
    Bilingual problem;
    if (!m_lot.SetAlignment(path, name, &problem))
        Tell(Words("中心線を追加できません", "Centreline Not Added"), problem);
    emit Changed();
}

QString LotFolder(const LotSession& lot)
{
    return lot.Path().isEmpty()
               ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
               : QFileInfo(lot.Path()).absolutePath();
}

void LotRoadPanel::Tell(const Bilingual& title, const Bilingual& text)
{
    m_context.Messages->Show(UiMessage{title, text, MessageButtons::Ok, MessageIcon::Exclamation});
}
