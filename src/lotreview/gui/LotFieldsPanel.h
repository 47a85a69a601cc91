#pragma once

#include "lotreport/LotTexts.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QSpinBox;

// The lot's header fields, its requirement, how its points are formed and how it is
// judged. Changed() follows every finished edit.
class LotFieldsPanel : public QWidget
{
    Q_OBJECT
public:
    LotFieldsPanel(UiLanguage uiLanguage, QWidget* parent = nullptr);
    void Load(const LotDocument& lot);
    LotHeader Header() const;
    LotJudgement Judgement() const;
    PointRules Rules() const;

signals:
    void Changed();

private:
    QDoubleSpinBox* Value(const char* name, double maximum, int decimals);

    QLineEdit* m_header[HeaderFields];
    QCheckBox* m_needK;
    QCheckBox* m_needE;
    QDoubleSpinBox* m_k;
    QDoubleSpinBox* m_e;
    QSpinBox* m_gap;
    QSpinBox* m_seating;
    QSpinBox* m_leastUsed;
    QDoubleSpinBox* m_quantile;
    QComboBox* m_rule;
    bool m_loading = false;
};
