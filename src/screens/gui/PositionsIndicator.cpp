#include "PositionsIndicator.h"

#include "results/ResultsContext.h"

namespace
{

constexpr int RefreshMs = 1000;

} // namespace

PositionsIndicator::PositionsIndicator(const ResultsContext& context, QWidget* parent)
    : QLabel(parent), m_context(context)
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

void PositionsIndicator::Refresh()
{
    const PositionsRecorder* positions = m_context.Positions;
    const std::optional<Bilingual> text =
        positions ? PositionsIndicatorText(positions->Fix(), positions->LastOutcome())
                  : std::nullopt;
    setVisible(text.has_value());
    if (text)
        setText(text->Pick(m_context.G.UiLanguage));
}
