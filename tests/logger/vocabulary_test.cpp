// The logger's words: error replies and sensor faults as messages, the readers of query
// replies with their accepted values, the firmware check and the field splitter.
#include "logger/LoggerCommands.h"
#include "logger/LoggerErrors.h"
#include "logger/LoggerReplies.h"
#include "serial/SerialLink.h"

#include <gtest/gtest.h>

namespace
{

QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

struct ErrorCase {
    const char* Reply;
    const char* TitleJa;
    const char* TextJa;
    const char* TitleEn;
    const char* TextEn;
};

class LoggerErrorTexts : public testing::TestWithParam<ErrorCase>
{
};

TEST_P(LoggerErrorTexts, EveryCodeHasItsMessageInBothLanguages)
{
    const ErrorCase& c = GetParam();
    // The reply as it comes off the line, with its line end.
    const auto m = LoggerErrorMessage(QString::fromLatin1(c.Reply) + "\r\n");
    ASSERT_TRUE(m.has_value());
    EXPECT_EQ(m->Title.Ja, U(c.TitleJa));
    EXPECT_EQ(m->Text.Ja, U(c.TextJa));
    EXPECT_EQ(m->Title.En, U(c.TitleEn));
    EXPECT_EQ(m->Text.En, U(c.TextEn));
    EXPECT_EQ(m->Buttons, MessageButtons::Ok);
    EXPECT_EQ(m->Icon, MessageIcon::None);
}

INSTANTIATE_TEST_SUITE_P(
    AllFourteen, LoggerErrorTexts,
    testing::Values(
        ErrorCase{"ERR-001", "チャンネル未設定", "チャンネルが設定されていません",
                  "Channel No. is't setted!", "The channel No. is not setted!"},
        ErrorCase{"ERR-002", "コマンドエラー", "コマンドが間違っています", "Command ERROR!",
                  "The command is ignored!"},
        ErrorCase{"ERR-003", "パラメータ個数エラー", "パラメータの個数が合いません",
                  "Parameter No. miss match!", "The number of parameters is not suitable!"},
        ErrorCase{"ERR-004", "パラメータ値範囲エラー", "パラメータ値の範囲をオーバーしています",
                  "Parameter value is overrange!", "The parameter value exceeds it to the range!"},
        ErrorCase{"ERR-005", "パラメータ値組合せエラー", "パラメータ値の組み合わせエラー",
                  "Parameter matching ERROR!", "Combination error of parameter value!"},
        ErrorCase{"ERR-006", "パラメータタイプエラー", "パラメータのタイプエラー",
                  "Parameter Type ERROR!", "Type error of parameter value!"},
        ErrorCase{"ERR-007", "アドレスオーバーエラー", "指定したアドレスが範囲をオーバーしています",
                  "ADDRESS OVER ERROR!", "The specified address exceeds it to the range!"},
        ErrorCase{"ERR-008", "レンジOFFエラー", "レンジがOFFです", "range OFF ERROR!",
                  "RANGE is OFF!"},
        ErrorCase{"ERR-009", "レンジオーバーエラー", "設定したレンジが範囲をオーバーしています",
                  "RANGE OVER ERROR!", "The specified RANGE exceeds it to the range!"},
        ErrorCase{"ERR-010", "クロック設定エラー", "設定したクロックが早すぎます",
                  "clock set miss!", "The specified clock as too fast!"},
        ErrorCase{"ERR-011", "ひずみ入力モード未設定", "ひずみ入力モードで使用可能なコマンドです",
                  "STRAIN mode only", "The command available only strain mode!"},
        ErrorCase{"ERR-012", "オートバランスエラー", "オートバランスの値がオーバーしています",
                  "Auto Balance ERROR!", "Auto balancing value is over!"},
        ErrorCase{"ERR-030", "センサーエラー", "センサーがエラーです", "Sensor ERROR!",
                  "Sensor ERROR!"},
        ErrorCase{"ERR-031", "センサー未接続", "センサーが接続されていません",
                  "Sensor is not connected!", "Sensor is not connected!"}));

TEST(LoggerErrorDecoder, ShowsNothingForShortRepliesOrUnknownCodes)
{
    for (const char* reply :
         {"", "ERR-00", "ERR-013\r\n", "ERR-999", "err-002", " ERR-002", "OK\r\n"})
        EXPECT_FALSE(LoggerErrorMessage(QString::fromLatin1(reply)).has_value()) << reply;
}

TEST(LoggerErrorDecoder, LooksOnlyAtTheFirstSevenCharacters)
{
    const auto m = LoggerErrorMessage(QStringLiteral("ERR-004 LPF?\r\n"));
    ASSERT_TRUE(m.has_value());
    EXPECT_EQ(m->Title.En, QStringLiteral("Parameter value is overrange!"));
}

TEST(LoggerErrorDecoder, ShowsOneBoxThroughTheSinkOrNone)
{
    RecordingMessages sink;
    DecodeLoggerError(sink, QStringLiteral("ERR-002\r\n"));
    DecodeLoggerError(sink, QStringLiteral("ERR-077\r\n"));
    ASSERT_EQ(sink.Shown.size(), 1u);
    EXPECT_EQ(sink.Shown[0].Text.En, QStringLiteral("The command is ignored!"));
}

TEST(SensorFault, ErrorReplyIsDecidedByErr030BeforeErr031)
{
    auto faulty = SensorFaultMessage(StatusErrorReply, QStringLiteral("ERR-030\r\n"));
    ASSERT_TRUE(faulty.has_value());
    EXPECT_EQ(faulty->Title.Ja, U("PWS-500異常"));
    EXPECT_EQ(faulty->Text.Ja, U("PWS-500に異常があります！"));
    EXPECT_EQ(faulty->Title.En, QStringLiteral("No usable PWS-500"));
    EXPECT_EQ(faulty->Text.En, QStringLiteral("No PWS-500 is usable!"));
    EXPECT_EQ(faulty->Icon, MessageIcon::Exclamation);

    auto both = SensorFaultMessage(StatusErrorReply, QStringLiteral("ERR-031 ERR-030\r\n"));
    ASSERT_TRUE(both.has_value());
    EXPECT_EQ(both->Title.En, QStringLiteral("No usable PWS-500"));

    auto missing = SensorFaultMessage(StatusErrorReply, QStringLiteral("ERR-031\r\n"));
    ASSERT_TRUE(missing.has_value());
    EXPECT_EQ(missing->Title.Ja, U("PWS-500未接続"));
    EXPECT_EQ(missing->Text.Ja, U("PWS-500が接続されていません！"));
    EXPECT_EQ(missing->Title.En, QStringLiteral("No PWS-500"));
    EXPECT_EQ(missing->Text.En, QStringLiteral("No PWS-500 is connected!"));
}

TEST(SensorFault, NoReplyNamesTheLogger)
{
    auto m = SensorFaultMessage(StatusNoReply, QString());
    ASSERT_TRUE(m.has_value());
    EXPECT_EQ(m->Title.Ja, U("QL-860H未接続"));
    EXPECT_EQ(m->Text.Ja, U("QL-860Hが接続されていません！"));
    EXPECT_EQ(m->Title.En, QStringLiteral("No QL-860H error"));
    EXPECT_EQ(m->Text.En, QStringLiteral("QL-860H is not connected!"));
    EXPECT_EQ(m->Icon, MessageIcon::Exclamation);
}

TEST(SensorFault, OtherErrorRepliesAndStatusesShowNothing)
{
    EXPECT_FALSE(SensorFaultMessage(StatusErrorReply, QStringLiteral("ERR-002\r\n")));
    EXPECT_FALSE(SensorFaultMessage(0, QStringLiteral("ERR-030\r\n")));
    EXPECT_FALSE(SensorFaultMessage(12, QStringLiteral("QL-860H FW\r\n")));
    RecordingMessages sink;
    ReportSensorFault(sink, StatusErrorReply, QStringLiteral("ERR-005\r\n"));
    EXPECT_TRUE(sink.Shown.empty());
}

// ---- Readers of query replies ------------------------------------------------------------

struct AcceptCase {
    const char* Name;
    std::function<bool(const QString&)> Accepts;
    std::vector<const char*> Taken;
    std::vector<const char*> Ignored;
};

TEST(ReplyReaders, TakeOnlyTheAcceptedValues)
{
    const std::vector<AcceptCase> cases = {
        {"RNG?",
         [](const QString& r) { return RangeReply(r).has_value(); },
         {"1000", "4000", "+4000"},
         {"2000", "0", "1000.5", "RANGE", ""}},
        {"LPF?",
         [](const QString& r) { return LowPassReply(r).has_value(); },
         {"500", "1000", "2000", "3000", "5000"},
         {"4000", "100", "5000x"}},
        {"HPF?",
         [](const QString& r) { return HighPassReply(r).has_value(); },
         {"0", "1"},
         {"2", "-1", "ON"}},
        {"CLK?",
         [](const QString& r) { return SamplingIntervalReply(r).has_value(); },
         {"50", "32000", "100"},
         {"49", "32001", "75.5"}},
        {"MRY?",
         [](const QString& r) { return RecordLengthReply(r).has_value(); },
         {"1", "16384"},
         {"0", "16385", "-3"}},
        {"TGL?",
         [](const QString& r) { return TriggerLevelReply(r).has_value(); },
         {"0", "32767", "100.4"},
         {"32768", "-1", "TGL"}},
        {"EPD? 47",
         [](const QString& r) { return PlateDiameterWord(r).has_value(); },
         {"1", "300", "1000"},
         {"0", "1001", "30.5"}},
        {"EPD? 48",
         [](const QString& r) { return PoissonRatioWord(r).has_value(); },
         {"1", "350", "999"},
         {"0", "1000", "-350"}},
        {"EPD? 51",
         [](const QString& r) { return LoadCapacityWord(r).has_value(); },
         {"5000", "1"},
         {"0", "-1"}},
        {"EPD? 52-54",
         [](const QString& r) { return TenthsWord(r).has_value(); },
         {"10000", "1"},
         {"0", "-20"}},
    };
    for (const AcceptCase& c : cases) {
        for (const char* r : c.Taken)
            EXPECT_TRUE(c.Accepts(QString::fromLatin1(r) + "\r\n")) << c.Name << " " << r;
        for (const char* r : c.Ignored)
            EXPECT_FALSE(c.Accepts(QString::fromLatin1(r) + "\r\n")) << c.Name << " " << r;
    }
}

TEST(ReplyReaders, ConvertParameterWordsIntoTheirUnits)
{
    EXPECT_DOUBLE_EQ(*PoissonRatioWord("350\r\n"), 0.35);
    EXPECT_DOUBLE_EQ(*LoadCapacityWord("5000\r\n"), 50.0);
    EXPECT_DOUBLE_EQ(*TenthsWord("15934\r\n"), 1593.4);
    EXPECT_EQ(*PlateDiameterWord("300\r\n"), 300);
}

TEST(ReplyReaders, PreTriggerMustStayBelowTheRecordLength)
{
    EXPECT_FALSE(PreTriggerReply("1000\r\n", 1000).has_value());
    EXPECT_EQ(*PreTriggerReply("999\r\n", 1000), 999);
    EXPECT_EQ(*PreTriggerReply("0\r\n", 1), 0);
    EXPECT_FALSE(PreTriggerReply("0\r\n", 0).has_value());
}

TEST(ReplyReaders, MeasurementNumberTakesNegativeAsZeroAndRefusesOverflow)
{
    EXPECT_EQ(*MeasNoReply("-5\r\n"), 0);
    EXPECT_EQ(*MeasNoReply("32767\r\n"), 32767);
    EXPECT_FALSE(MeasNoReply("32768\r\n").has_value());
    EXPECT_FALSE(MeasNoReply("12,13\r\n").has_value());
}

TEST(ReplyReaders, TriggerChannelIsLimitedToTheChannelsFound)
{
    EXPECT_EQ(*TriggerChannelWord("4\r\n", 4), 4);
    EXPECT_FALSE(TriggerChannelWord("5\r\n", 4).has_value());
    EXPECT_FALSE(TriggerChannelWord("0\r\n", 4).has_value());
}

TEST(ReplyReaders, CalculationTypeIsBurmisterOnlyForOne)
{
    EXPECT_EQ(*CalcTypeReply("1\r\n"), 1);
    EXPECT_EQ(*CalcTypeReply("2\r\n"), 2);
    EXPECT_EQ(*CalcTypeReply("0\r\n"), 2);
    EXPECT_FALSE(CalcTypeReply("SEA\r\n").has_value());
}

TEST(FirmwareCheck, SeaIsUnderstoodFromVersionTwoPointZeroRevisionE)
{
    struct Case {
        const char* Version; // characters 16 to 19 of the reply
        bool Supported;
    };
    const Case cases[] = {{"2.0D", false}, {"2.0E", true},  {"2.0F", true},
                          {"2.1A", true},  {"2.1 ", true},  {"1.9Z", false},
                          {"3.0A", true},  {"x.yE", false}, {"   E", false}};
    for (const Case& c : cases) {
        const QString reply = QStringLiteral("QL-860H FW Ver ") + QString::fromLatin1(c.Version);
        ASSERT_EQ(reply.mid(15, 3), QString::fromLatin1(c.Version).left(3));
        EXPECT_EQ(FirmwareSupportsSea(reply + "\r\n"), c.Supported) << c.Version;
    }
    // A reply that ends before the version has no version.
    EXPECT_FALSE(FirmwareSupportsSea(QStringLiteral("QL-860H\r\n")));
    // 2.0 without a revision letter is below E.
    EXPECT_FALSE(FirmwareSupportsSea(QStringLiteral("QL-860H FW Ver 2.0")));
}

TEST(Coefficients, ReadRuleDividesByFiveForRange4000AndTenOtherwise)
{
    ChannelSettings c;
    c.Capacity = 50;
    c.RatedOutput = 2.0;
    c.Range = 1000;
    EXPECT_DOUBLE_EQ(ReadCoefficient(c), 2.5);
    c.Range = 4000;
    EXPECT_DOUBLE_EQ(ReadCoefficient(c), 5.0);
    c.RatedOutput = 0;
    EXPECT_DOUBLE_EQ(ReadCoefficient(c), 1.0);
}

TEST(FieldSplitting, FollowsTheDelimitersExactly)
{
    struct Case {
        const char* Text;
        int Upper;
        QStringList Fields;
    };
    const Case cases[] = {
        {"+001234,+000056", 1, {"+001234", "+000056"}},
        {"a,b,", 2, {"a", "b", ""}},
        {",a", 1, {"", "a"}},
        {"a,,b", 2, {"a", "", "b"}},
        {",", 1, {"", ""}},
    };
    for (const Case& c : cases) {
        QStringList fields;
        EXPECT_EQ(SplitFields(QString::fromLatin1(c.Text), ",", fields, ReplyFieldCapacity),
                  c.Upper)
            << c.Text;
        EXPECT_EQ(fields, c.Fields) << c.Text;
    }
}

TEST(FieldSplitting, TextWithoutDelimiterYieldsNoFieldsAndLeavesTheArray)
{
    QStringList fields{"kept"};
    EXPECT_EQ(SplitFields("12345", ",", fields, ReplyFieldCapacity), -1);
    EXPECT_EQ(SplitFields("", ",", fields, ReplyFieldCapacity), -1);
    EXPECT_EQ(SplitFields("1,2", "", fields, ReplyFieldCapacity), -1);
    EXPECT_EQ(fields, QStringList{"kept"});
}

TEST(FieldSplitting, NeverHoldsMoreFieldsThanTheCallerProvides)
{
    QStringList fields;
    const QString longReply = QStringLiteral("1,2,3,4,5,6,7,8,9,10,11,12,13,14,15");
    EXPECT_EQ(SplitFields(longReply, ",", fields, ReplyFieldCapacity), 10);
    EXPECT_EQ(fields.size(), 11);
    EXPECT_EQ(fields.last(), QStringLiteral("11"));
}

} // namespace
