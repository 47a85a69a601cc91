#include "LotFieldsPanel.h"

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

const char* const HeaderNames[HeaderFields] = {
    "Site",    "Section",     "Layer",    "Operator",     "Remarks",    "Material",
    "Weather", "Temperature", "Standard", "LoggerSerial", "Calibration"};
// Where each field stands: site, section, layer and tester on the first line; material,
// weather, temperature and the remarks, which are the longest, on the second; the method on
// the third.
const int HeaderRow[HeaderFields] = {0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2};
const int HeaderColumn[HeaderFields] = {0, 1, 2, 3, 3, 0, 1, 2, 0, 1, 2};

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

LotFieldsPanel::LotFieldsPanel(UiLanguage language, QWidget* parent) : QWidget(parent)
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    const QStringList labels = HeaderLabels(language);
    for (int i = 0; i < HeaderFields; ++i) {
        m_header[i] = new QLineEdit(this);
        m_header[i]->setObjectName(QString::fromLatin1(HeaderNames[i]));
        m_header[i]->setMinimumWidth(60);
        connect(m_header[i], &QLineEdit::editingFinished, this, &LotFieldsPanel::Changed);
        grid->addWidget(new QLabel(labels.at(i), this), HeaderRow[i], HeaderColumn[i] * 2);
        grid->addWidget(m_header[i], HeaderRow[i], HeaderColumn[i] * 2 + 1);
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
    m_leastUsed = new QSpinBox(this);
    m_leastUsed->setObjectName(QStringLiteral("LeastUsed"));
    m_leastUsed->setRange(1, MostLeastUsed);
    for (QSpinBox* box : {m_gap, m_seating, m_leastUsed}) {
        box->setKeyboardTracking(false);
        connect(box, &QSpinBox::valueChanged, this, [this] {
            if (!m_loading)
                emit Changed();
        });
    }
    m_quantile = Value("QuantileFactor", LargestQuantileFactor, 3);
    m_rule = new QComboBox(this);
    m_rule->setObjectName(QStringLiteral("Rule"));
    for (LotRule r : {LotRule::EveryPoint, LotRule::Characteristic})
        m_rule->addItem(RuleText(r).Pick(language));
    connect(m_rule, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_loading)
            emit Changed();
    });

    // The rules side by side: how points are formed and how the lot is judged, and beneath
    // them what a point must reach.
    const auto line = [&](int row, const char* ja, const char* en,
                          std::initializer_list<std::pair<QString, QWidget*>> parts) {
        auto* box = new QHBoxLayout;
        for (const auto& [label, w] : parts) {
            if (!label.isEmpty())
                box->addWidget(new QLabel(label, this));
            box->addWidget(w);
            box->addSpacing(10);
        }
        box->addStretch();
        grid->addWidget(new QLabel(Tr(language, ja, en), this), row, 0);
        grid->addLayout(box, row, 1, 1, 7);
    };
    line(3, "規則", "Rules",
         {{Tr(language, "新しい測点: 間隔 >", "New point after a gap >"), m_gap},
          {Tr(language, "予備打撃の数", "Seating drops"), m_seating},
          {Tr(language, "最少採用打撃数", "Least used drops"), m_leastUsed},
          {Tr(language, "判定方法", "Rule"), m_rule},
          {Tr(language, "特性値の k", "k"), m_quantile}});
    line(4, "規定値", "Requirement",
         {{QString(), m_needK}, {QString(), m_k}, {QString(), m_needE}, {QString(), m_e}});
    for (int c = 1; c < 8; c += 2)
        grid->setColumnStretch(c, 1);
}

void LotFieldsPanel::Load(const LotDocument& lot)
{
    m_loading = true;
    const QSignalBlocker b1(m_needK), b2(m_needE);
    const QStringList values = HeaderValues(lot.Header);
    for (int i = 0; i < HeaderFields; ++i)
        m_header[i]->setText(values.value(i));
    const Requirement& need = lot.Judgement.Need;
    m_needK->setChecked(need.K.has_value());
    m_needE->setChecked(need.E.has_value());
    m_k->setValue(need.K.value_or(m_k->value()));
    m_e->setValue(need.E.value_or(m_e->value()));
    m_gap->setValue(lot.Rules.GapSeconds);
    m_seating->setValue(lot.Rules.Seating);
    m_leastUsed->setValue(lot.Rules.LeastUsed);
    m_quantile->setValue(lot.Judgement.QuantileFactor);
    m_rule->setCurrentIndex(lot.Judgement.Rule == LotRule::EveryPoint ? 0 : 1);
    m_loading = false;
}

LotHeader LotFieldsPanel::Header() const
{
    return {m_header[0]->text(), m_header[1]->text(), m_header[2]->text(), m_header[3]->text(),
            m_header[4]->text(), m_header[5]->text(), m_header[6]->text(), m_header[7]->text(),
            m_header[8]->text(), m_header[9]->text(), m_header[10]->text()};
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
    return {m_gap->value(), m_seating->value(), m_leastUsed->value()};
}
