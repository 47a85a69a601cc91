#pragma once

#include "lotsession/LotSession.h"

#include <QWidget>

struct AppContext;
class QLabel;
class QLineEdit;
class QMenu;
class LotRoadPanel;

// Where the lot's points lie: the drops' clock against UTC, the site's reference system and
// the GPS tracks the lot adds; what could not be read from them is said beside. Its menu
// commands add a track and a centreline and export the points as GeoJSON; the centreline's
// own row (RoadPanel) stands where the view has room for it.
class LotPlacesPanel : public QWidget
{
    Q_OBJECT
public:
    LotPlacesPanel(LotSession& lot, AppContext& context, QWidget* parent = nullptr);
    // File > Add GPS Track, Add Centreline and Export Points as GeoJSON.
    void AddActions(QMenu* file);
    void Load();
    QWidget* RoadPanel() const;
    void AddTrack();
    void ExportGeoJson();

signals:
    void Changed();

private:
    void TakeOffset();
    void TakeSystem();
    void Tell(const Bilingual& title, const Bilingual& text);

    LotSession& m_lot;
    AppContext& m_context;
    UiLanguage m_language;
    QLineEdit* m_offset;
    QLineEdit* m_system;
    QLabel* m_state;
    LotRoadPanel* m_road;
};
