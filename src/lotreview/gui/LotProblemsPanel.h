#pragma once

#include "lotsession/LotSession.h"

#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;

// In place of the lot's verdict while something keeps it from one: which day file and what
// became of it, which edit lost its drop, and the commands that end each (shown only where
// they apply). It stays until the engineer acts, unlike a message that goes away.
class LotProblemsPanel : public QWidget
{
    Q_OBJECT
public:
    LotProblemsPanel(LotSession& lot, UiLanguage uiLanguage, QWidget* parent = nullptr);
    // Shows the lot's problems now; hidden when there are none.
    void Refresh();

signals:
    void Changed();

private:
    QPushButton* Command(const char* name, const char* ja, const char* en,
                         const std::function<void()>& act);

    LotSession& m_lot;
    UiLanguage m_language;
    QLabel* m_text;
    QPushButton* m_accept;
    QPushButton* m_removeDays;
    QPushButton* m_removeEdits;
};
