#pragma once

#include "lotsession/LotSession.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

// What the engineer says of the chosen point: where it was tested (station and offset), and
// leaving it out of the lot with a reason, or taking it back. A point that gave no value
// still counts until it is left out, and never without a reason.
class PointMarkPanel : public QWidget
{
    Q_OBJECT
public:
    PointMarkPanel(LotSession& lot, UiLanguage uiLanguage, QWidget* parent = nullptr);
    // -1 for none.
    void ShowPoint(int point);

signals:
    void Changed();

private:
    void ShowOffer(bool offered);
    void SetLocation();
    void LeaveOut();
    void TakeBack();

    LotSession& m_lot;
    UiLanguage m_language;
    int m_point = -1;
    QString m_offered; // the chosen point's station, as a location, until it has its own
    bool m_taking = false;
    QLineEdit* m_location;
    QLineEdit* m_reason;
    QPushButton* m_leaveOut;
    QPushButton* m_takeBack;
    QLabel* m_note;
};
