#include "BalanceAndMeasNo.h"

#include "LoggerCommands.h"
#include "LoggerContext.h"

#include "serial/SerialLink.h"
#include "shell/Formatting.h"

namespace
{

constexpr int32_t LowestMeasNo = 0;
constexpr int32_t HighestMeasNo = 32767;
const QString DebugProposal = QStringLiteral("1000");

// A whole number in the range of the logger's measurement numbers, from a numeric text.
bool MeasNoOf(const QString& text, int32_t* number)
{
    double v = 0.0;
    if (!ParseNumber(text, &v))
        return false;
    const double whole = RoundHalfEven(v);
    if (whole < LowestMeasNo || whole > HighestMeasNo)
        return false;
    *number = static_cast<int32_t>(whole);
    return true;
}

} // namespace

const BalanceCaptions& BalanceDialogCaptions()
{
    static const BalanceCaptions captions{
        {QString::fromUtf8("初期値計測"), QStringLiteral("Balancing")},
        {QString::fromUtf8("初期値を計測しますか？"), QStringLiteral("Balancing?")},
        {QString::fromUtf8("キャンセル"), QStringLiteral("Cancel")},
        {QString::fromUtf8("ＯＫ"), QStringLiteral("OK")},
    };
    return captions;
}

void Balance(LoggerContext& context, const std::function<int16_t()>& confirm)
{
    const int16_t choice = confirm ? confirm() : BalanceCancel;
    if (context.G.DebugMode != 1 && choice == BalanceOk && context.Link)
        context.Link->RSCom(QStringLiteral("BAL"));
}

const MeasNoCaptions& MeasNoDialogCaptions()
{
    static const MeasNoCaptions captions{
        {QString::fromUtf8("計測No. 変更"), QStringLiteral("Change Measure No.")},
        {QString::fromUtf8("計測No."), QStringLiteral("Meas. No.")},
        {QString::fromUtf8("0～32767"), QStringLiteral("0 - 32767")},
        {QString::fromUtf8("設定"), QStringLiteral("OK")},
        {QString::fromUtf8("キャンセル"), QStringLiteral("Cancel")},
    };
    return captions;
}

double MeasNoCancelPoints(UiLanguage language)
{
    return language == UiLanguage::Japanese ? 12.0 : 14.0;
}

UiMessage NotANumberMessage()
{
    return UiMessage{{QString::fromUtf8("数値入力"), QStringLiteral("Input Number!")},
                     {QString::fromUtf8("数値以外が入力されています！数値を入力してください。"),
                      QStringLiteral("Input Number Only!")},
                     MessageButtons::Ok,
                     MessageIcon::None};
}

// "Inputed" is misspelt on purpose: the message keeps the system's own words, which operators
// and their manuals know.
UiMessage NumberOutOfRangeMessage()
{
    return UiMessage{
        {QString::fromUtf8("入力範囲オーバー"), QStringLiteral("out of range.")},
        {QString::fromUtf8("数値が入力範囲を超えています！範囲内の数値を入力してください。"),
         QStringLiteral("Inputed No. is out of range!")},
        MessageButtons::Ok,
        MessageIcon::None};
}

QString LoadMeasNo(LoggerContext& context)
{
    if (context.G.DebugMode == 1)
        return DebugProposal;
    if (!context.Link || context.Link->RSCom(QStringLiteral("MNO?")) <= 0)
        return QString();
    // With the active channels selected the logger answers one number per channel, in
    // channel order; they are the same after the settings read, and CH1's comes first.
    const QString reply = context.Link->ReplyText();
    int32_t number = 0;
    if (!MeasNoOf(reply.left(reply.indexOf(QLatin1Char(','))), &number))
        return QString();
    return QString::number(number);
}

int16_t ApplyMeasNo(LoggerContext& context, const QString& entry)
{
    if (entry.isEmpty())
        return -1;
    const QString text = entry.trimmed();
    double v = 0.0;
    if (!ParseNumber(text, &v)) {
        context.Messages->Show(NotANumberMessage());
        return -1;
    }
    int32_t n = 0;
    if (!MeasNoOf(text, &n)) {
        context.Messages->Show(NumberOutOfRangeMessage());
        return -1;
    }
    if (context.G.DebugMode == 1)
        return 0;
    LoggerSettings& settings = context.Logger;
    if (context.Link) {
        SerialLink& link = *context.Link;
        for (int ch = LoggerSettings::FirstChannel; ch <= LoggerSettings::LastChannelNumber; ++ch) {
            if (!settings.Channel[ch].Active)
                continue;
            link.RSCom(QStringLiteral("RES"));
            link.RSCom(QStringLiteral("SET%1").arg(ch));
            link.RSCom(QStringLiteral("MNO%1").arg(n));
        }
    }
    settings.MeasNo = static_cast<int16_t>(n);
    if (context.Link)
        SelectActiveChannels(*context.Link, settings);
    return 0;
}
