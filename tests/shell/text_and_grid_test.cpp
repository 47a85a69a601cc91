// Number and date texts as the program writes and reads them.
#include "shell/Formatting.h"

#include <gtest/gtest.h>

namespace
{

TEST(Formatting, NumbersIgnoreTheLocaleAndHalvesGoToTheEvenNeighbour)
{
    QLocale::setDefault(QLocale(QLocale::German));
    for (const auto& [value, format, text] : {std::tuple{0.35, "0.000", "0.350"},
                                              {424.413, "0", "424"},
                                              {111.73, "0", "112"},
                                              {-1.0, "0.000", "-1.000"},
                                              {-0.0001, "0.000", "0.000"},
                                              {7.0, "00000", "00007"},
                                              {28.04, "0.0", "28.0"}})
        EXPECT_EQ(FormatNumber(value, format), text) << text;
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(FormatGeneral(1593.4), "1593.4");
    EXPECT_EQ(FormatGeneral(20.0), "20");
    EXPECT_EQ(
        std::vector<double>({RoundHalfEven(100.5), RoundHalfEven(101.5), RoundHalfEven(100.6)}),
        std::vector<double>({100, 102, 101}));
    const QDateTime afternoon(QDate(2021, 4, 7), QTime(13, 5, 9));
    EXPECT_EQ(FormatDateTimeText(afternoon, UiLanguage::Japanese), "2021/04/07 13:05:09");
    EXPECT_EQ(FormatDateTimeText(afternoon, UiLanguage::English), "04/07/2021 13:05:09");
    EXPECT_EQ(FormatDateTimeText(afternoon, int16_t(7)), "04/07/2021 13:05:09"); // a bare code
}

TEST(Formatting, NumericAndBlankTextsAsTheLoggerAndTheFilesGiveThem)
{
    double v = 0;
    for (const auto& [text, value] :
         {std::pair{"+001234", 1234.0}, {" 12 ", 12.0}, {"-5\r\n", -5.0}, {"0.35", 0.35}}) {
        EXPECT_TRUE(ParseNumber(text, &v)) << text;
        EXPECT_DOUBLE_EQ(v, value);
    }
    for (const char* bad : {"", " ", "12a", "ERR-004", "1,2", "nan", "inf", "0x10"})
        EXPECT_FALSE(ParseNumber(bad, &v)) << bad;
    for (const auto& [text, blank] :
         {std::pair{QString("   "), true},
          {QString(" a"), false},
          {QString("\t"), false},
          {QString(QChar(0)) + "abc", true}}) // an unfilled fixed-length field
        EXPECT_EQ(IsBlankText(text), blank) << text.toStdString();
}

} // namespace
