#include "RunTexts.h"

const RunCaptions& RunFormCaptions()
{
    static const RunCaptions captions{
        {QString::fromUtf8("計測モニタ"), QStringLiteral("Measure")},
        {QString::fromUtf8(" 計測開始"), QStringLiteral(" Start")},
        {QString::fromUtf8("ファイルナンバ"), QStringLiteral("File No.")},
        {QString::fromUtf8("計測中"), QStringLiteral("Measuring")},
        {QString::fromUtf8("トリガ待ち。中止は「計測モニタ」ボタンを押してください。"),
         QStringLiteral("Wait for Trigger. Click [Measure] button,Return to  Measure.")},
        {QString::fromUtf8("デバッグモード"), QStringLiteral("Debug mode")},
        {QString::fromUtf8("データ取込中"), QStringLiteral("Transfer Data")},
    };
    return captions;
}

UiMessage TriggerExceededMessage()
{
    return UiMessage{
        {QString::fromUtf8("計測不可能"), QStringLiteral(" Measurement impossible!!")},
        {QString::fromUtf8("現在のデータがトリガレベルを越えています！計測できません！！"),
         QStringLiteral("The current data is beyond the trigger level!!")},
        MessageButtons::Ok,
        MessageIcon::None};
}

UiMessage TriggerChannelInvalidMessage(int32_t triggerChannel)
{
    const QString ch = QString::number(triggerChannel);
    return UiMessage{{QString::fromUtf8("計測不可能"), QStringLiteral(" Measurement impossible!!")},
                     {QString::fromUtf8("トリガチャンネル（%1）が CH1～CH6 ではありません。"
                                        "ロガーのトリガ設定を確認してください。計測できません！！")
                          .arg(ch),
                      QStringLiteral("The trigger channel (%1) is not one of CH1 to CH6!! "
                                     "Check the trigger setting of the logger.")
                          .arg(ch)},
                     MessageButtons::Ok,
                     MessageIcon::None};
}

UiMessage ArmRefusalMessage(const ArmRefusal& refusal)
{
    if (refusal.Why == ArmRefusal::Reason::TriggerChannelInvalid)
        return TriggerChannelInvalidMessage(refusal.TriggerChannel);
    return TriggerExceededMessage();
}

QString RunStatusText(const RunView& view, UiLanguage language)
{
    switch (view.Status) {
    case RunStatusLine::WaitForTrigger:
        return RunFormCaptions().WaitForTrigger.Pick(language);
    case RunStatusLine::DebugMode:
        return RunFormCaptions().DebugMode.Pick(language);
    case RunStatusLine::None:
        break;
    }
    return {};
}

QString RunSecondLineText(const RunView& view, UiLanguage language)
{
    return view.TransferShown ? RunFormCaptions().TransferData.Pick(language) : QString();
}
