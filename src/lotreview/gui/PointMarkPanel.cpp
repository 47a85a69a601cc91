#include "PointMarkPanel.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

PointMarkPanel::PointMarkPanel(LotSession& lot, UiLanguage uiLanguage, QWidget* parent)
    : QWidget(parent), m_lot(lot), m_language(uiLanguage)
{
    const UiLanguage lang = uiLanguage;
    m_location = new QLineEdit(this);
    m_location->setObjectName(QStringLiteral("Location"));
    m_location->setPlaceholderText(Tr(lang, "例: No.12+5.0 左 2.0 m", "e.g. No.12+5.0 L 2.0 m"));
    m_reason = new QLineEdit(this);
    m_reason->setObjectName(QStringLiteral("PointReason"));
    m_reason->setPlaceholderText(Tr(lang, "測点を除外する理由", "why the point is left out"));
    m_leaveOut = new QPushButton(Tr(lang, "測点を除外", "Leave point out"), this);
    m_leaveOut->setObjectName(QStringLiteral("LeavePointOut"));
    m_takeBack = new QPushButton(Tr(lang, "測点を戻す", "Take point back"), this);
    m_takeBack->setObjectName(QStringLiteral("TakePointBack"));
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("PointNote"));
    m_note->setStyleSheet(QStringLiteral("color: #a02000"));
    m_note->setWordWrap(true);
    m_note->hide();

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel(Tr(lang, "測点の位置", "Point's location"), this), 0, 0);
    grid->addWidget(m_location, 0, 1, 1, 3);
    grid->addWidget(new QLabel(Tr(lang, "除外の理由", "Left out because"), this), 1, 0);
    grid->addWidget(m_reason, 1, 1);
    grid->addWidget(m_leaveOut, 1, 2);
    grid->addWidget(m_takeBack, 1, 3);
    grid->addWidget(m_note, 2, 0, 1, 4);
    grid->setColumnStretch(1, 1);

    connect(m_location, &QLineEdit::returnPressed, this, [this] {
        m_taking = true;
        SetLocation();
        m_taking = false;
    });
    connect(m_location, &QLineEdit::editingFinished, this, &PointMarkPanel::SetLocation);
    connect(m_location, &QLineEdit::textEdited, this, [this] { ShowOffer(false); });
    connect(m_leaveOut, &QPushButton::clicked, this, &PointMarkPanel::LeaveOut);
    connect(m_takeBack, &QPushButton::clicked, this, &PointMarkPanel::TakeBack);
    ShowPoint(-1);
}

void PointMarkPanel::ShowPoint(int point)
{
    m_point = point >= 0 && point < int(m_lot.Points().size()) ? point : -1;
    const LotPoint* p = m_point >= 0 ? &m_lot.Points()[size_t(m_point)] : nullptr;
    // A point not named by hand is offered where it lies along the centreline: Return takes it.
    const std::vector<PointStation>& stations = m_lot.Places().Stations();
    m_offered = p && size_t(m_point) < stations.size()
                    ? StationLocation(stations[size_t(m_point)]).Pick(m_language)
                    : QString();
    const bool offer = p && p->Location().isEmpty() && !m_offered.isEmpty();
    m_location->setText(offer ? m_offered : p ? p->Location() : QString());
    ShowOffer(offer);
    m_reason->setText(p && p->Excluded() ? p->Mark->Reason : QString());
    m_note->hide();
    setEnabled(p != nullptr);
    m_takeBack->setEnabled(p && p->Excluded());
}

void PointMarkPanel::ShowOffer(bool offered)
{
    // Grey until taken or typed over, as a text that is not yet the point's.
    m_location->setStyleSheet(offered ? QStringLiteral("color: #707070") : QString());
    m_location->setToolTip(offered ? Tr(m_language, "中心線から求めた位置です。Enter で採ります。",
                                        "Where the point lies along the centreline: Return "
                                        "takes it.")
                                   : QString());
}

void PointMarkPanel::SetLocation()
{
    if (m_point < 0)
        return;
    const QString now = m_lot.Points()[size_t(m_point)].Location();
    const QString typed = m_location->text().trimmed();
    // Leaving the field as offered names nothing; Return takes the offer.
    if (typed == now || (now.isEmpty() && typed == m_offered && !m_taking))
        return;
    m_lot.SetLocation(m_point, m_location->text());
    emit Changed();
}

void PointMarkPanel::LeaveOut()
{
    if (m_point < 0)
        return;
    if (!m_lot.ExcludePoint(m_point, m_reason->text())) {
        m_note->setText(Tr(m_language, "測点を除外するには理由を書いてください。",
                           "Write why the point is left out: a point is never left out "
                           "without a reason."));
        m_note->show();
        m_reason->setFocus();
        return;
    }
    emit Changed();
}

void PointMarkPanel::TakeBack()
{
    if (m_point < 0)
        return;
    m_lot.IncludePoint(m_point);
    emit Changed();
}
