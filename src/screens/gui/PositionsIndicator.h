#pragma once

#include <QLabel>
#include <QTimer>

struct ResultsContext;

// A small line on the measurement screen saying whether the drops get their positions and
// how good the fix is. It looks at the recorder once a second on its own timer, apart from
// the monitor's, and is hidden while gpsd has never answered. It never takes a press.
class PositionsIndicator : public QLabel
{
    Q_OBJECT
public:
    explicit PositionsIndicator(const ResultsContext& context, QWidget* parent);
    void Refresh();

private:
    const ResultsContext& m_context;
    QTimer m_refresh;
};
