#pragma once

#include <QString>
#include <cstdint>

// A text the operator sees, written once in both languages. Which one is shown is decided
// where it is shown, from UiLanguage (0 Japanese, any other value English).
struct Bilingual {
    QString Ja;
    QString En;

    const QString& Pick(int16_t uiLanguage) const { return uiLanguage == 0 ? Ja : En; }
    // Both texts with their lowest %n filled in by the same word (a number, a file name).
    Bilingual Arg(const QString& a) const { return Bilingual{Ja.arg(a), En.arg(a)}; }
    bool operator==(const Bilingual&) const = default;
};

// A text written in both languages, from the UTF-8 of the sources.
inline Bilingual Words(const char* ja, const char* en)
{
    return Bilingual{QString::fromUtf8(ja), QString::fromUtf8(en)};
}

// The same text in both languages (service texts, codes, units).
inline Bilingual Both(const QString& text)
{
    return Bilingual{text, text};
}

// Picks between two texts by language without building a Bilingual first.
inline QString Tr(int16_t uiLanguage, const char* ja, const char* en)
{
    return QString::fromUtf8(uiLanguage == 0 ? ja : en);
}
