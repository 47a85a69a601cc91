#include "Formatting.h"

#include <array>
#include <charconv>
#include <cmath>

QString UnitText(int32_t unitCode)
{
    if (unitCode == 1)
        return QStringLiteral("kN");
    if (unitCode == 2)
        return QStringLiteral("m/s2");
    return QString();
}

QString OnOffText(int32_t value)
{
    return value == 1 ? QStringLiteral("ON") : QStringLiteral("OFF");
}

QString FormatDateTimeText(const QDateTime& value, UiLanguage language)
{
    const QDate d = value.date();
    const QTime t = value.time();
    const QString date = language == UiLanguage::Japanese
                             ? QString::asprintf("%04d/%02d/%02d", d.year(), d.month(), d.day())
                             : QString::asprintf("%02d/%02d/%04d", d.month(), d.day(), d.year());
    return date + QString::asprintf(" %02d:%02d:%02d", t.hour(), t.minute(), t.second());
}

bool IsBlankText(const QString& text)
{
    if (text.isEmpty())
        return true;
    if (text.at(0).unicode() == 0)
        return true;
    for (QChar c : text) {
        if (c != QLatin1Char(' '))
            return false;
    }
    return true;
}

QString FormatNumber(double value, const QString& format)
{
    const int dot = format.indexOf(QLatin1Char('.'));
    const int decimals = dot < 0 ? 0 : int(format.size()) - dot - 1;
    const int integerDigits = dot < 0 ? int(format.size()) : dot;
    QString text = QString::number(value, 'f', decimals);
    if (text.startsWith(QLatin1Char('-'))) {
        // "-0" and "-0.000" read as zero in the formats the program uses.
        bool allZero = true;
        for (QChar c : text.mid(1))
            allZero = allZero && (c == QLatin1Char('0') || c == QLatin1Char('.'));
        if (allZero)
            text.remove(0, 1);
    }
    if (integerDigits > 1) {
        const bool negative = text.startsWith(QLatin1Char('-'));
        QString digits = negative ? text.mid(1) : text;
        const int have = dot < 0 ? int(digits.size()) : int(digits.indexOf(QLatin1Char('.')));
        if (have < integerDigits)
            digits.prepend(QString(integerDigits - have, QLatin1Char('0')));
        text = negative ? QLatin1Char('-') + digits : digits;
    }
    return text;
}

QString FormatGeneral(double value)
{
    return QString::number(value, 'g', 15);
}

bool ParseNumber(QStringView text, double* value)
{
    QStringView t = text.trimmed();
    // A sign of its own is taken, as QString::toDouble would; a second one is not.
    if (t.size() > 1 && t.front() == QLatin1Char('+') && t[1] != QLatin1Char('-') &&
        t[1] != QLatin1Char('+'))
        t = t.sliced(1);
    // The C library's own conversion, correctly rounded and independent of the locale: a
    // year of day files holds millions of numbers, and Qt's conversion is several times slower.
    std::array<char, 64> ascii{};
    if (t.isEmpty() || t.size() >= qsizetype(ascii.size()))
        return false;
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (t[i].unicode() >= 0x80)
            return false;
        ascii[size_t(i)] = char(t[i].unicode());
    }
    double v = 0.0;
    const char* end = ascii.data() + t.size();
    const auto [stop, error] = std::from_chars(ascii.data(), end, v, std::chars_format::general);
    if (error != std::errc() || stop != end || !std::isfinite(v))
        return false;
    if (value)
        *value = v;
    return true;
}

double RoundHalfEven(double value)
{
    return std::nearbyint(value); // default rounding mode: to nearest, ties to even
}
