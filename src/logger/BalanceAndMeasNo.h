#pragma once

#include "shell/Bilingual.h"
#include "shell/MessageSink.h"

#include <QString>
#include <cstdint>
#include <functional>

struct LoggerContext;

// The answers of the balance confirmation.
inline constexpr int16_t BalanceOk = 0;
inline constexpr int16_t BalanceCancel = -2;

struct BalanceCaptions {
    Bilingual Caption;
    Bilingual Question;
    Bilingual Cancel;
    Bilingual Ok;
};
const BalanceCaptions& BalanceDialogCaptions();
inline constexpr double BalanceDialogPoints = 14.0;

// Balancing: asks through `confirm` (the confirmation window, answering BalanceOk or
// BalanceCancel) and, on OK, sends "BAL" to the channels the logger has selected.
// Nothing is sent in debug mode.
void Balance(LoggerContext& context, const std::function<int16_t()>& confirm);

struct MeasNoCaptions {
    Bilingual Caption;
    Bilingual Label;
    Bilingual Range;
    Bilingual Apply;
    Bilingual Cancel;
};
const MeasNoCaptions& MeasNoDialogCaptions();
inline constexpr double MeasNoDialogPoints = 14.0;
// The cancel button is a size smaller in Japanese, where its caption is longer.
double MeasNoCancelPoints(UiLanguage language);
inline constexpr int MeasNoMaxLength = 5;

UiMessage NotANumberMessage();
UiMessage NumberOutOfRangeMessage();

// The number the dialog proposes: the logger's current measurement number (the first of
// the numbers when several channels are selected; 1000 in debug mode), or an empty text
// when the logger gave none that fits.
QString LoadMeasNo(LoggerContext& context);

// Sets `entry` as the measurement number of every active channel: 0 when accepted, -1
// when not (an empty entry silently; a text that is no number or lies outside 0 to 32767
// with its message).
int16_t ApplyMeasNo(LoggerContext& context, const QString& entry);
