#include "LoggerErrors.h"

#include "serial/SerialLink.h"

namespace
{

struct ErrorCode {
    const char* Code;
    const char* TitleJa;
    const char* TextJa;
    const char* TitleEn;
    const char* TextEn;
};

// The English texts keep their long-standing wording, spelling included: operators and
// their manuals know them so.
constexpr ErrorCode ErrorCodes[] = {
    {"ERR-001", "チャンネル未設定", "チャンネルが設定されていません", "Channel No. is't setted!",
     "The channel No. is not setted!"},
    {"ERR-002", "コマンドエラー", "コマンドが間違っています", "Command ERROR!",
     "The command is ignored!"},
    {"ERR-003", "パラメータ個数エラー", "パラメータの個数が合いません", "Parameter No. miss match!",
     "The number of parameters is not suitable!"},
    {"ERR-004", "パラメータ値範囲エラー", "パラメータ値の範囲をオーバーしています",
     "Parameter value is overrange!", "The parameter value exceeds it to the range!"},
    {"ERR-005", "パラメータ値組合せエラー", "パラメータ値の組み合わせエラー",
     "Parameter matching ERROR!", "Combination error of parameter value!"},
    {"ERR-006", "パラメータタイプエラー", "パラメータのタイプエラー", "Parameter Type ERROR!",
     "Type error of parameter value!"},
    {"ERR-007", "アドレスオーバーエラー", "指定したアドレスが範囲をオーバーしています",
     "ADDRESS OVER ERROR!", "The specified address exceeds it to the range!"},
    {"ERR-008", "レンジOFFエラー", "レンジがOFFです", "range OFF ERROR!", "RANGE is OFF!"},
    {"ERR-009", "レンジオーバーエラー", "設定したレンジが範囲をオーバーしています",
     "RANGE OVER ERROR!", "The specified RANGE exceeds it to the range!"},
    {"ERR-010", "クロック設定エラー", "設定したクロックが早すぎます", "clock set miss!",
     "The specified clock as too fast!"},
    {"ERR-011", "ひずみ入力モード未設定", "ひずみ入力モードで使用可能なコマンドです",
     "STRAIN mode only", "The command available only strain mode!"},
    {"ERR-012", "オートバランスエラー", "オートバランスの値がオーバーしています",
     "Auto Balance ERROR!", "Auto balancing value is over!"},
    {"ERR-030", "センサーエラー", "センサーがエラーです", "Sensor ERROR!", "Sensor ERROR!"},
    {"ERR-031", "センサー未接続", "センサーが接続されていません", "Sensor is not connected!",
     "Sensor is not connected!"},
};

constexpr int CodeLength = 7;

UiMessage Message(const char* titleJa, const char* titleEn, const char* textJa, const char* textEn,
                  MessageIcon icon)
{
    return UiMessage{{QString::fromUtf8(titleJa), QString::fromUtf8(titleEn)},
                     {QString::fromUtf8(textJa), QString::fromUtf8(textEn)},
                     MessageButtons::Ok,
                     icon};
}

} // namespace

std::optional<UiMessage> LoggerErrorMessage(const QString& replyText)
{
    if (replyText.size() < CodeLength)
        return std::nullopt;
    const QString code = replyText.left(CodeLength);
    for (const ErrorCode& e : ErrorCodes) {
        if (code == QLatin1String(e.Code))
            return Message(e.TitleJa, e.TitleEn, e.TextJa, e.TextEn, MessageIcon::None);
    }
    return std::nullopt;
}

void DecodeLoggerError(MessageSink& messages, const QString& replyText)
{
    if (const auto message = LoggerErrorMessage(replyText))
        messages.Show(*message);
}

std::optional<UiMessage> SensorFaultMessage(int32_t status, const QString& replyText)
{
    if (status == StatusErrorReply) {
        if (replyText.contains(QLatin1String("ERR-030")))
            return Message("PWS-500異常", "No usable PWS-500", "PWS-500に異常があります！",
                           "No PWS-500 is usable!", MessageIcon::Exclamation);
        if (replyText.contains(QLatin1String("ERR-031")))
            return Message("PWS-500未接続", "No PWS-500", "PWS-500が接続されていません！",
                           "No PWS-500 is connected!", MessageIcon::Exclamation);
        return std::nullopt;
    }
    if (status == StatusNoReply)
        return Message("QL-860H未接続", "No QL-860H error", "QL-860Hが接続されていません！",
                       "QL-860H is not connected!", MessageIcon::Exclamation);
    return std::nullopt;
}

void ReportSensorFault(MessageSink& messages, int32_t status, const QString& replyText)
{
    if (const auto message = SensorFaultMessage(status, replyText))
        messages.Show(*message);
}
