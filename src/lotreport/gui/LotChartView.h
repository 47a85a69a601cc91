#pragma once

#include "lotreport/LotChart.h"

#include <QChartView>

// The points' K or E on the screen with the requirement, the lot's mean and characteristic
// value as lines; failing points in red.
class LotChartView : public QChartView
{
    Q_OBJECT
public:
    explicit LotChartView(UiLanguage uiLanguage, QWidget* parent = nullptr);
    void Show(const LotChartData& data);
};
