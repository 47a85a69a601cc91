#pragma once

#include "positions/PositionsRecorder.h"

#include <QFont>
#include <QLabel>
#include <QTimer>

struct ResultsContext;

// The measurement screen's line on positions, read at a glance in the field: in the size of
// the captions beside it, the word on a colour (green a fix, amber an old fix, red none). It
// looks at the recorder once a second on its own timer, apart from the monitor's, and is
// hidden while gpsd has never answered. It never takes a press.
class PositionsIndicator : public QLabel
{
    Q_OBJECT
public:
    explicit PositionsIndicator(const ResultsContext& context, QWidget* parent);
    // The font of the captions beside it; a text wider than the line is made smaller to fit.
    void SetCaptionFont(const QFont& font);
    void Refresh();
    IndicatorTone Tone() const { return m_tone; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FitFont();

    const ResultsContext& m_context;
    QTimer m_refresh;
    QFont m_captionFont;
    IndicatorTone m_tone = IndicatorTone::None;
};
