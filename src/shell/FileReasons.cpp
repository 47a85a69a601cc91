#include "FileReasons.h"

#include <cerrno>
#include <cstring>

namespace
{

struct ErrorWords {
    int Error;
    const char* Ja;
    const char* En;
};

const ErrorWords KnownErrors[] = {
    {ENOSPC, "ディスクがいっぱいです", "the disk is full"},
    {EDQUOT, "ディスクの使用量の上限に達しています", "the disk quota is used up"},
    {EFBIG, "ファイルがディスクの許す大きさを超えます",
     "the file would be larger than the disk allows"},
    {EROFS, "読み取り専用のディスクです", "the disk is read-only"},
    {EACCES, "権限がありません", "permission is denied"},
    {EPERM, "権限がありません", "permission is denied"},
    {ENOENT, "ファイルまたはフォルダがありません", "the file or its folder does not exist"},
    {ENOTDIR, "パスの途中がフォルダではありません", "a part of the path is not a folder"},
    {EISDIR, "フォルダです", "it is a folder"},
    {EIO, "ディスクの読み書きでエラーが起きました", "the disk reported an input/output error"},
    {ENXIO, "読み取るプログラムがありません", "no program is reading from it"},
    {EPIPE, "読み取るプログラムが終了しました", "the program reading it has stopped"},
    {ENAMETOOLONG, "名前が長すぎます", "the name is too long"},
    {ELOOP, "シンボリックリンクが多すぎるか循環しています",
     "its symbolic links go round in a circle"},
    {EMFILE, "開いているファイルが多すぎます", "too many files are open"},
    {ENFILE, "開いているファイルが多すぎます", "too many files are open"},
    {ENOMEM, "メモリが足りません", "there is not enough memory"},
};

} // namespace

Bilingual ReasonOfError(int error)
{
    for (const ErrorWords& known : KnownErrors) {
        if (known.Error == error)
            return Bilingual{QString::fromUtf8(known.Ja), QString::fromUtf8(known.En)};
    }
    return Both(QString::fromLocal8Bit(std::strerror(error)));
}

QDate DateOfDayFileName(const QString& fileName)
{
    // Plain character tests rather than a pattern: the days' readers ask from every core.
    constexpr int Digits = 8;
    if (fileName.size() != Digits + 4 ||
        !fileName.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        return QDate();
    int number = 0;
    for (int i = 0; i < Digits; ++i) {
        if (fileName[i] < QLatin1Char('0') || fileName[i] > QLatin1Char('9'))
            return QDate();
        number = number * 10 + (fileName[i].unicode() - '0');
    }
    // Made from its digits: Qt's date parser would be most of the time a decade takes to list.
    const QDate date(number / 10000, number / 100 % 100, number % 100);
    return date.isValid() ? date : QDate();
}

QString Clipped(const QString& text, int longest)
{
    if (text.size() <= longest)
        return text;
    return text.left(longest) + QString::fromUtf8("…");
}
