#include "ReviewedDay.h"

#include "DayColumns.h"

#include <numeric>

namespace
{

DaySelection Figures(const DayFile& day, std::vector<int> chosen, std::vector<int> covered)
{
    DaySelection s;
    s.Chosen = std::move(chosen);
    s.Covered = std::move(covered);
    s.MixesFormulas = MixesFormulas(day, s.Covered);
    s.Quantities = DayQuantities(day, s.MixesFormulas);
    s.Statistics = DayStatistics(day, s.Quantities, s.Covered);
    return s;
}

} // namespace

ReviewedDay::ReviewedDay(DayFile file, UiLanguage uiLanguage)
    : m_file(std::move(file)), m_language(uiLanguage), m_columns(DayColumns(m_file, uiLanguage))
{
    std::vector<int> every(m_file.Rows.size());
    std::iota(every.begin(), every.end(), 0);
    m_wholeDay = Figures(m_file, {}, std::move(every));
    m_marked = MarkOutliers(m_file, m_wholeDay.Quantities, m_wholeDay.Statistics);
}

DaySelection ReviewedDay::Select(std::vector<int> chosen) const
{
    if (chosen.empty())
        return m_wholeDay;
    std::vector<int> covered = chosen;
    return Figures(m_file, std::move(chosen), std::move(covered));
}
