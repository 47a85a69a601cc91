#pragma once

#include "geo/SitePlanData.h"

#include <QWidget>

// The lot's site plan in the Points tab, drawn to the view's size; without a placed point it
// only says that there is none.
class SitePlanView : public QWidget
{
public:
    SitePlanView(UiLanguage uiLanguage, QWidget* parent = nullptr);
    void Show(const SitePlanData& data);
    bool HasPlan() const { return m_hasPlan; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    UiLanguage m_language;
    SitePlanData m_data;
    bool m_hasPlan = false;
};
