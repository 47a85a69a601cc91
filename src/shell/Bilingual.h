#pragma once

#include <QString>
#include <cstdint>

// The language every text the operator sees is shown in, chosen once at start-up from
// fwdstr.ini (ReadUiLanguage). Its values are the codes the program has always held. It is
// written UiLanguage::Japanese and UiLanguage::English; the enumeration beneath is unscoped
// so that the review program and the day file, which still take the bare code, read it
// as that number.
struct UiLanguageCodes {
    enum Code : int16_t { Japanese = 0, English = 1 };
};
using UiLanguage = UiLanguageCodes::Code;

// The bare code as it is still held in places: 0 Japanese, any other value English.
inline UiLanguage UiLanguageOfCode(int16_t code)
{
    return code == 0 ? UiLanguage::Japanese : UiLanguage::English;
}

// A text the operator sees, written once in both languages. Which one is shown is decided
// where it is shown, from the UiLanguage.
struct Bilingual {
    QString Ja;
    QString En;

    const QString& Pick(UiLanguage language) const
    {
        return language == UiLanguage::Japanese ? Ja : En;
    }
    const QString& Pick(int16_t code) const { return Pick(UiLanguageOfCode(code)); }
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
inline QString Tr(UiLanguage language, const char* ja, const char* en)
{
    return QString::fromUtf8(language == UiLanguage::Japanese ? ja : en);
}
inline QString Tr(int16_t code, const char* ja, const char* en)
{
    return Tr(UiLanguageOfCode(code), ja, en);
}
