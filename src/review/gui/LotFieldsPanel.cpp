#include "LotFieldsPanel.h"

#include "review/LotTable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>

namespace
{

const char* const HeaderNames[5] = {"Site", "Section", "Layer", "Operator", "Remarks"};

} // namespace

QDoubleSpinBox* LotFieldsPanel::Value(const char* name, double maximum, int decimals)
{
    auto* box = new QDoubleSpinBox(this);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(0.0, maximum);
    box->setDecimals(decimals);
    box->setKeyboardTracking(false);
    connect(box, &QDoubleSpinBox::valueChanged, this, [this] {
        if (!m_loading)
            emit Changed();
    });
    return box;
}

LotFieldsPanel::LotFieldsPanel(int16_t language, QWidget* parent) : QWidget(parent)
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    const QStringList labels = HeaderLabels(language);
    for (int i = 0; i < 5; ++i) {
        m_header[i] = new QLineEdit(this);
        m_header[i]->setObjectName(QString::fromLatin1(HeaderNames[i]));
        connect(m_header[i], &QLineEdit::editingFinished, this, &LotFieldsPanel::Changed);
        const int row = i < 3 ? 0 : 1, column = (i < 3 ? i : i - 3) * 2;
        grid->addWidget(new QLabel(labels.at(i), this), row, column);
        grid->addWidget(m_header[i], row, column + 1, 1, i == 4 ? 3 : 1);
    }
    m_needK = new QCheckBox(QStringLiteral("K-NWR ≥"), this);
    m_needK->setObjectName(QStringLiteral("RequireK"));
    m_needE = new QCheckBox(QStringLiteral("E-NWR ≥"), this);
    m_needE->setObjectName(QStringLiteral("RequireE"));
    m_k = Value("RequiredK", LargestRequirement, 1);
    m_k->setSuffix(QStringLiteral(" MN/m3"));
    m_e = Value("RequiredE", LargestRequirement, 1);
    m_e->setSuffix(QStringLiteral(" MN/m2"));
    for (QCheckBox* box : {m_needK, m_needE})
        connect(box, &QCheckBox::toggled, this, &LotFieldsPanel::Changed);

    m_gap = new QSpinBox(this);
    m_gap->setObjectName(QStringLiteral("Gap"));
    m_gap->setRange(0, LongestGapSeconds);
    m_gap->setSuffix(Tr(language, " 秒", " s"));
    m_seating = new QSpinBox(this);
    m_seating->setObjectName(QStringLiteral("Seating"));
    m_seating->setRange(0, MostSeatingDrops);
    for (QSpinBox* box : {m_gap, m_seating}) {
        box->setKeyboardTracking(false);
        connect(box, &QSpinBox::valueChanged, this, [this] {
            if (!m_loading)
                emit Changed();
        });
    }
    m_quantile = Value("QuantileFactor", LargestQuantileFactor, 2);
    m_rule = new QComboBox(this);
    m_rule->setObjectName(QStringLiteral("Rule"));
    for (LotRule r : {LotRule::EveryPoint, LotRule::Characteristic})
        m_rule->addItem(RuleText(r).Pick(language));
    connect(m_rule, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_loading)
            emit Changed();
    });

    auto* need = new QHBoxLayout;
    need->addWidget(m_needK);
    need->addWidget(m_k);
    need->addSpacing(12);
    need->addWidget(m_needE);
    need->addWidget(m_e);
    need->addStretch();
    grid->addWidget(new QLabel(Tr(language, "規定値", "Requirement"), this), 2, 0);
    grid->addLayout(need, 2, 1, 1, 3);
    grid->addWidget(new QLabel(Tr(language, "判定方法", "Rule"), this), 2, 4);
    grid->addWidget(m_rule, 2, 5);
    auto* forming = new QHBoxLayout;
    const auto add = [&](const char* ja, const char* en, QWidget* w) {
        forming->addWidget(new QLabel(Tr(language, ja, en), this));
        forming->addWidget(w);
        forming->addSpacing(12);
    };
    add("測点の区切り: 間隔 >", "New point after a gap >", m_gap);
    add("予備打撃の数", "Seating drops", m_seating);
    add("特性値の k", "k of the characteristic value", m_quantile);
    forming->addStretch();
    grid->addLayout(forming, 3, 0, 1, 6);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setColumnStretch(5, 1);
}

void LotFieldsPanel::Load(const LotDocument& lot)
{
    m_loading = true;
    const QSignalBlocker b1(m_needK), b2(m_needE);
    const QStringList values = HeaderValues(lot.Header);
    for (int i = 0; i < 5; ++i)
        m_header[i]->setText(values.at(i));
    const Requirement& need = lot.Judgement.Need;
    m_needK->setChecked(need.K.has_value());
    m_needE->setChecked(need.E.has_value());
    m_k->setValue(need.K.value_or(m_k->value()));
    m_e->setValue(need.E.value_or(m_e->value()));
    m_gap->setValue(lot.Rules.GapSeconds);
    m_seating->setValue(lot.Rules.Seating);
    m_quantile->setValue(lot.Judgement.QuantileFactor);
    m_rule->setCurrentIndex(lot.Judgement.Rule == LotRule::EveryPoint ? 0 : 1);
    m_loading = false;
}

LotHeader LotFieldsPanel::Header() const
{
    return {m_header[0]->text(), m_header[1]->text(), m_header[2]->text(), m_header[3]->text(),
            m_header[4]->text()};
}

LotJudgement LotFieldsPanel::Judgement() const
{
    LotJudgement j;
    if (m_needK->isChecked())
        j.Need.K = m_k->value();
    if (m_needE->isChecked())
        j.Need.E = m_e->value();
    j.QuantileFactor = m_quantile->value();
    j.Rule = m_rule->currentIndex() == 0 ? LotRule::EveryPoint : LotRule::Characteristic;
    return j;
}

PointRules LotFieldsPanel::Rules() const
{
    return {m_gap->value(), m_seating->value()};
}
