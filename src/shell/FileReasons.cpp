#include "FileReasons.h"

#include <cerrno>
#include <cstring>

namespace
{

Bilingual Words(const char* ja, const char* en)
{
    return Bilingual{QString::fromUtf8(ja), QString::fromUtf8(en)};
}

} // namespace

Bilingual ReasonOfError(int error)
{
    switch (error) {
    case ENOSPC:
        return Words("ディスクがいっぱいです", "the disk is full");
    case EDQUOT:
        return Words("ディスクの使用量の上限に達しています", "the disk quota is used up");
    case EFBIG:
        return Words("ファイルがディスクの許す大きさを超えます",
                     "the file would be larger than the disk allows");
    case EROFS:
        return Words("読み取り専用のディスクです", "the disk is read-only");
    case EACCES:
    case EPERM:
        return Words("権限がありません", "permission is denied");
    case ENOENT:
        return Words("ファイルまたはフォルダがありません", "the file or its folder does not exist");
    case ENOTDIR:
        return Words("パスの途中がフォルダではありません", "a part of the path is not a folder");
    case EISDIR:
        return Words("フォルダです", "it is a folder");
    case EIO:
        return Words("ディスクの読み書きでエラーが起きました",
                     "the disk reported an input/output error");
    case ENXIO:
        return Words("読み取るプログラムがありません", "no program is reading from it");
    case EPIPE:
        return Words("読み取るプログラムが終了しました", "the program reading it has stopped");
    case ENAMETOOLONG:
        return Words("名前が長すぎます", "the name is too long");
    case ELOOP:
        return Words("シンボリックリンクが多すぎるか循環しています",
                     "its symbolic links go round in a circle");
    case EMFILE:
    case ENFILE:
        return Words("開いているファイルが多すぎます", "too many files are open");
    case ENOMEM:
        return Words("メモリが足りません", "there is not enough memory");
    default:
        return Both(QString::fromLocal8Bit(std::strerror(error)));
    }
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
