#include "UtcOffsetText.h"

#include "shell/FileReasons.h"

#include <cstdlib>

namespace
{

int TwoDigits(QStringView text)
{
    if (text.size() != 2 || !text[0].isDigit() || !text[1].isDigit() || text[0].unicode() > '9' ||
        text[1].unicode() > '9')
        return -1;
    return (text[0].unicode() - '0') * 10 + (text[1].unicode() - '0');
}

} // namespace

bool ReadUtcOffset(QStringView text, int* minutes, Bilingual* problem)
{
    const QString shown = Clipped(text.toString());
    const bool shaped = text.size() == 6 &&
                        (text[0] == QLatin1Char('+') || text[0] == QLatin1Char('-')) &&
                        text[3] == QLatin1Char(':');
    const int hours = shaped ? TwoDigits(text.sliced(1, 2)) : -1;
    const int rest = shaped ? TwoDigits(text.sliced(4, 2)) : -1;
    if (hours < 0 || rest < 0 || rest > 59) {
        *problem = Words("UTC からの時差 \"%1\" が読めません。\"+09:00\" や \"-03:30\" のように"
                         "符号、時、コロン、分で書いてください。",
                         "the offset from UTC \"%1\" cannot be read: write a sign, hours, a "
                         "colon and minutes, as in \"+09:00\" or \"-03:30\".")
                       .Arg(shown);
        return false;
    }
    const int total = hours * 60 + rest;
    if (total > LargestUtcOffsetMinutes) {
        *problem = Words("UTC からの時差 \"%1\" が -14:00 から +14:00 の範囲にありません。",
                         "the offset from UTC \"%1\" is not between -14:00 and +14:00.")
                       .Arg(shown);
        return false;
    }
    *minutes = text[0] == QLatin1Char('-') ? -total : total;
    return true;
}

QString UtcOffsetText(int minutes)
{
    const int whole = std::abs(minutes);
    return QStringLiteral("%1%2:%3")
        .arg(minutes < 0 ? QLatin1Char('-') : QLatin1Char('+'))
        .arg(whole / 60, 2, 10, QLatin1Char('0'))
        .arg(whole % 60, 2, 10, QLatin1Char('0'));
}
