#pragma once

#include "lotsession/LotSession.h"

#include <QWidget>

struct AppContext;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QMenu;

// Where the lot's own files are looked for first: beside its lot file, else in Documents.
QString LotFolder(const LotSession& lot);

// The road's centreline the lot's points are named along: File > Add Centreline reads it
// from the design's LandXML file (the engineer picks the alignment where it holds several)
// and File > Remove Centreline takes it away;
// the row shows it with how the stations are written and how far from it a point may lie.
// The row shows only once the lot has a centreline.
class LotRoadPanel : public QWidget
{
    Q_OBJECT
public:
    LotRoadPanel(LotSession& lot, AppContext& context, QWidget* parent = nullptr);
    void AddActions(QMenu* file);
    void Load();
    void AddCentreline();

signals:
    void Changed();

private:
    void TakeStations();
    // The alignment of the file to take: empty for its only one, or the one the engineer
    // picks; false when it holds none to take (said) or the engineer chose none.
    bool ChooseName(const QString& path, QString* name);
    void Tell(const Bilingual& title, const Bilingual& text);

    LotSession& m_lot;
    AppContext& m_context;
    UiLanguage m_language;
    QLabel* m_road;
    QComboBox* m_form;
    QDoubleSpinBox* m_interval;
    QDoubleSpinBox* m_limit;
};
