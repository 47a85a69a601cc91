#include "DayListView.h"

#include <QHeaderView>
#include <QScrollBar>

namespace
{

// How often the days read so far are put into the list while it fills: often enough that
// it visibly grows, seldom enough that the window spends its time answering the operator.
constexpr int FillIntervalMs = 25;
constexpr int NoteColumn = 2;

} // namespace

DayListView::DayListView(UiLanguage uiLanguage, QWidget* parent)
    : QTableView(parent), m_language(uiLanguage), m_days(uiLanguage)
{
    setModel(&m_days);
    setObjectName(QStringLiteral("DayList"));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->hide();
    // The widths are taken from the first rows: a decade's days are all alike in width.
    horizontalHeader()->setResizeContentsPrecision(200);
    m_progress.setMaximumWidth(240);
    m_progress.hide();
    m_fill.setInterval(FillIntervalMs);
    connect(&m_fill, &QTimer::timeout, this, &DayListView::FillStep);
}

void DayListView::List(const QStringList& paths)
{
    m_index.Start(paths, m_language);
    m_days.SetDays({});
    m_progress.setRange(0, std::max(1, m_index.Total()));
    m_progress.setValue(0);
    m_progress.show();
    m_fill.start();
}

// The days read so far go into the list, which the operator may already use: a day chosen
// while the rest are read stays chosen.
void DayListView::FillStep()
{
    const bool first = m_days.rowCount() == 0;
    m_days.AddDays(m_index.TakeRead());
    m_progress.setValue(m_index.Done());
    if (first && m_days.rowCount() > 0)
        FitToContents();
    if (!m_index.Finished())
        return;
    m_fill.stop();
    m_progress.hide();
    FitToContents();
    emit Finished();
}

// Every column as wide as its heading and contents, the note at most a few words wide and
// wrapped, so that a refused day's reason shows at the default width.
void DayListView::FitToContents()
{
    const int widestNote = 24 * fontMetrics().averageCharWidth();
    resizeColumnsToContents();
    setColumnWidth(NoteColumn, std::min(columnWidth(NoteColumn), widestNote));
    // Only a day with a note can need more than one line: a decade's list is fitted in a
    // moment when the rows without one are left as they are.
    for (int row = 0; row < m_days.rowCount(); ++row) {
        if (!m_days.index(row, NoteColumn).data().toString().isEmpty())
            resizeRowToContents(row);
    }
    emit Fitted();
}

int DayListView::WantedWidth() const
{
    return horizontalHeader()->length() + 2 * frameWidth() +
           verticalScrollBar()->sizeHint().width();
}
