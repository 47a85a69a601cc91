#include "PositionsIndicator.h"

#include "results/ResultsContext.h"

#include <QPainter>

namespace
{

constexpr int RefreshMs = 1000;
constexpr int PaddingPx = 4;
constexpr double SmallestPoints = 7.0;

// Dark enough for white words, or light enough for black ones, in sunlight.
QColor Background(IndicatorTone tone)
{
    switch (tone) {
    case IndicatorTone::Fix:
        return QColor(0x1b, 0x7a, 0x2e);
    case IndicatorTone::OldFix:
        return QColor(0xf2, 0xb7, 0x05);
    case IndicatorTone::None:
        return QColor(0xc6, 0x28, 0x28);
    }
    return Qt::gray;
}

QColor Words(IndicatorTone tone)
{
    return tone == IndicatorTone::OldFix ? Qt::black : Qt::white;
}

} // namespace

PositionsIndicator::PositionsIndicator(const ResultsContext& context, QWidget* parent)
    : QLabel(parent), m_context(context), m_captionFont(font())
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    hide();
    if (!m_context.Positions)
        return;
    connect(&m_refresh, &QTimer::timeout, this, &PositionsIndicator::Refresh);
    m_refresh.start(RefreshMs);
    Refresh();
}

void PositionsIndicator::SetCaptionFont(const QFont& font)
{
    m_captionFont = font;
    FitFont();
}

void PositionsIndicator::Refresh()
{
    const PositionsRecorder* positions = m_context.Positions;
    const std::optional<PositionsIndicatorState> state =
        positions ? PositionsIndicatorFor(positions->Fix(), positions->LastOutcome())
                  : std::nullopt;
    setVisible(state.has_value());
    if (!state)
        return;
    const QString text = state->Text.Pick(m_context.G.UiLanguage);
    if (text == this->text() && state->Tone == m_tone)
        return;
    m_tone = state->Tone;
    setText(text);
    FitFont();
    update();
}

void PositionsIndicator::FitFont()
{
    QFont fitted = m_captionFont;
    const int room = width() - 2 * PaddingPx;
    while (fitted.pointSizeF() > SmallestPoints &&
           QFontMetrics(fitted).horizontalAdvance(text()) > room)
        fitted.setPointSizeF(fitted.pointSizeF() - 0.5);
    setFont(fitted);
}

void PositionsIndicator::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    FitFont();
}

void PositionsIndicator::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const int width = std::min(this->width(), metrics.horizontalAdvance(text()) + 2 * PaddingPx);
    const QRect box(this->width() - width, 0, width, height());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Background(m_tone));
    painter.drawRoundedRect(box, 3, 3);
    painter.setPen(Words(m_tone));
    painter.drawText(box, Qt::AlignCenter, text());
}
