#include "shell/Formatting.h"

#include <gtest/gtest.h>

namespace
{

TEST(Formatting, UnitAndSwitchTexts)
{
    EXPECT_EQ(UnitText(1), "kN");
    EXPECT_EQ(UnitText(2), "m/s2");
    EXPECT_EQ(UnitText(0), "");
    EXPECT_EQ(UnitText(3), "");
    EXPECT_EQ(OnOffText(1), "ON");
    EXPECT_EQ(OnOffText(0), "OFF");
    EXPECT_EQ(OnOffText(-1), "OFF"); // a true flag is not the value 1
}

TEST(Formatting, DateTimeInTheOrderOfTheLanguage)
{
    const QDateTime afternoon(QDate(2021, 4, 7), QTime(13, 5, 9));
    EXPECT_EQ(FormatDateTimeText(afternoon, 0), "2021/04/07 13:05:09");
    EXPECT_EQ(FormatDateTimeText(afternoon, 1), "04/07/2021 13:05:09");
    const QDateTime midnight(QDate(2026, 12, 31), QTime(0, 0, 0));
    EXPECT_EQ(FormatDateTimeText(midnight, 0), "2026/12/31 00:00:00");
    EXPECT_EQ(FormatDateTimeText(midnight, 7), "12/31/2026 00:00:00");
}

TEST(Formatting, BlankTexts)
{
    EXPECT_TRUE(IsBlankText(""));
    EXPECT_TRUE(IsBlankText("   "));
    EXPECT_FALSE(IsBlankText(" a"));
    EXPECT_FALSE(IsBlankText("\t"));
    EXPECT_TRUE(IsBlankText(QString(QChar(0)) + "abc")); // an unfilled fixed-length field
    EXPECT_TRUE(IsBlankText(QString(128, ' ')));
}

TEST(Formatting, NumberFormatsIgnoreTheLocale)
{
    QLocale::setDefault(QLocale(QLocale::German));
    EXPECT_EQ(FormatNumber(0.35, "0.000"), "0.350");
    EXPECT_EQ(FormatNumber(424.413, "0"), "424");
    EXPECT_EQ(FormatNumber(111.73, "0"), "112");
    EXPECT_EQ(FormatNumber(-1, "0.000"), "-1.000");
    EXPECT_EQ(FormatNumber(-0.0001, "0.000"), "0.000");
    EXPECT_EQ(FormatNumber(7, "00000"), "00007");
    EXPECT_EQ(FormatNumber(32767, "00000"), "32767");
    EXPECT_EQ(FormatNumber(28.04, "0.0"), "28.0");
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(FormatGeneral(20.0), "20");
    EXPECT_EQ(FormatGeneral(0.5), "0.5");
    EXPECT_EQ(FormatGeneral(1593.4), "1593.4");
}

TEST(Formatting, NumericTextsAsTheLoggerWritesThem)
{
    double v = 0;
    EXPECT_TRUE(ParseNumber("+001234", &v));
    EXPECT_DOUBLE_EQ(v, 1234);
    EXPECT_TRUE(ParseNumber(" 12 ", &v));
    EXPECT_DOUBLE_EQ(v, 12);
    EXPECT_TRUE(ParseNumber("-5\r\n", &v));
    EXPECT_DOUBLE_EQ(v, -5);
    EXPECT_TRUE(ParseNumber("0.35", &v));
    for (const char* bad : {"", " ", "12a", "ERR-004", "1,2", "nan", "inf", "0x10"})
        EXPECT_FALSE(ParseNumber(bad, &v)) << bad;
}

TEST(Formatting, HalvesRoundToTheEvenNeighbour)
{
    EXPECT_EQ(RoundHalfEven(100.5), 100);
    EXPECT_EQ(RoundHalfEven(101.5), 102);
    EXPECT_EQ(RoundHalfEven(100.4), 100);
    EXPECT_EQ(RoundHalfEven(100.6), 101);
}

} // namespace
