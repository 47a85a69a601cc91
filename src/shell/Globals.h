#pragma once

#include "Bilingual.h"

#include <QString>
#include <array>
#include <cstdint>

// Display format and units of one measured quantity.
struct DisplayRecord {
    QString Format;
    QString Unit;
    QString AltUnit;
};

struct FontSpec {
    QString Name;
    double Size = 0.0;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool Strikethrough = false;
    bool Further = false;
};

// The process-wide values fixed at start-up. One instance lives in the application
// context; windows and logic get it handed to them.
struct Globals {
    ::UiLanguage UiLanguage = ::UiLanguage::English;
    int16_t DebugMode = 0; // 1 on, 0 off
    QString AppFolder;     // ends in "/"
    QString DataFolder;    // the user folder's data folder, ends in "/"
    QString AppTitle;
    QString UiFontName;
    QString FixedFontName;
    FontSpec LargeFontSpec;
    FontSpec SmallFontSpec;
    QString TabSeparator;
    int32_t CaptionHeightExtra = 0; // twips
    int16_t DebugGestureButton = 0; // 2 right, 4 middle
    std::array<float, 5> PrintMargins{};
    int32_t MaxResults = 0;
    std::array<DisplayRecord, 6> ChannelDisplay;
    DisplayRecord KValueDisplay;
    DisplayRecord EModulusDisplay;

    bool Japanese() const { return UiLanguage == ::UiLanguage::Japanese; }
};

// Start values that depend on the language only (fonts, title, display records,
// margins, MaxResults, the gesture button). AppFolder and the folders are Startup's.
void InitGlobalValues(Globals& g);

// LargeFontSpec := UiFontName 12 pt, SmallFontSpec := FixedFontName 10 pt.
void ResetFontSpecs(Globals& g);
