#include "LotPreferences.h"

#include <QFileInfo>
#include <QSettings>

namespace
{

// A stored number within [low, high], or nothing.
std::optional<double> Stored(const QSettings& s, const char* key, double low, double high)
{
    bool ok = false;
    const double v = s.value(QLatin1String(key)).toDouble(&ok);
    return ok && v >= low && v <= high ? std::optional<double>(v) : std::nullopt;
}

} // namespace

// Without a user folder (a context made for a bench) nothing is remembered, and nothing
// lands in whatever folder the process started in.
LotPreferences::LotPreferences(const QString& userFolder)
    : m_file(userFolder.isEmpty() ? QString() : userFolder + QStringLiteral("review.ini"))
{
}

PointRules LotPreferences::Rules() const
{
    const QSettings s(m_file, QSettings::IniFormat);
    PointRules rules;
    rules.GapSeconds =
        int(Stored(s, "Lot/GapSeconds", 0, LongestGapSeconds).value_or(rules.GapSeconds));
    rules.Seating = int(Stored(s, "Lot/SeatingDrops", 0, MostSeatingDrops).value_or(rules.Seating));
    rules.LeastUsed =
        int(Stored(s, "Lot/LeastUsedDrops", 1, MostLeastUsed).value_or(rules.LeastUsed));
    return rules;
}

LotJudgement LotPreferences::Judgement() const
{
    const QSettings s(m_file, QSettings::IniFormat);
    LotJudgement j;
    j.Need.K = Stored(s, "Lot/RequiredK", 0, LargestRequirement);
    j.Need.E = Stored(s, "Lot/RequiredE", 0, LargestRequirement);
    j.QuantileFactor =
        Stored(s, "Lot/QuantileFactor", 0, LargestQuantileFactor).value_or(j.QuantileFactor);
    if (s.value(QStringLiteral("Lot/Rule")).toString() == QLatin1String("characteristic"))
        j.Rule = LotRule::Characteristic;
    return j;
}

void LotPreferences::Remember(const PointRules& rules, const LotJudgement& judgement) const
{
    if (m_file.isEmpty())
        return;
    QSettings s(m_file, QSettings::IniFormat);
    s.setValue(QStringLiteral("Lot/GapSeconds"), rules.GapSeconds);
    s.setValue(QStringLiteral("Lot/SeatingDrops"), rules.Seating);
    s.setValue(QStringLiteral("Lot/LeastUsedDrops"), rules.LeastUsed);
    const auto need = [&](const char* key, const std::optional<double>& value) {
        if (value)
            s.setValue(QLatin1String(key), *value);
        else
            s.remove(QLatin1String(key));
    };
    need("Lot/RequiredK", judgement.Need.K);
    need("Lot/RequiredE", judgement.Need.E);
    s.setValue(QStringLiteral("Lot/QuantileFactor"), judgement.QuantileFactor);
    s.setValue(QStringLiteral("Lot/Rule"), judgement.Rule == LotRule::Characteristic
                                               ? QStringLiteral("characteristic")
                                               : QStringLiteral("every point"));
}

QString LotPreferences::LastFolder() const
{
    return QSettings(m_file, QSettings::IniFormat)
        .value(QStringLiteral("Lot/LastFolder"))
        .toString();
}

void LotPreferences::RememberLotFile(const QString& path) const
{
    if (m_file.isEmpty())
        return;
    QSettings(m_file, QSettings::IniFormat)
        .setValue(QStringLiteral("Lot/LastFolder"), QFileInfo(path).absolutePath());
}
