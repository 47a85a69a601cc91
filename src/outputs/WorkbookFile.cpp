#include "WorkbookFile.h"

#include "shell/FileReasons.h"
#include "shell/InputFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <cerrno>

namespace
{

// A workbook of a season's lot stays far below this.
constexpr qint64 LargestWorkbookBytes = 512LL * 1024 * 1024;

// libxlsxwriter's own texts name its zip library ("Zip generic error ZIP_ERRNO"); where the
// system said why, that is what the user can act on.
Bilingual ReasonOf(lxw_error result, int error)
{
    if (error != 0)
        return ReasonOfError(error);
    return Both(QString::fromUtf8(lxw_strerror(result)));
}

} // namespace

bool SaveWorkbook(const QString& path, const OutputRules& rules,
                  const std::function<void(lxw_workbook*)>& fill, Bilingual* reason)
{
    QTemporaryFile made(QDir::temp().filePath(QStringLiteral("vx2968-review-XXXXXX.xlsx")));
    if (!made.open()) {
        *reason = ReasonOfError(errno);
        return false;
    }
    made.close();
    errno = 0;
    lxw_workbook* book = workbook_new(QFile::encodeName(made.fileName()).constData());
    if (!book) {
        *reason = ReasonOfError(errno != 0 ? errno : ENOMEM);
        return false;
    }
    fill(book);
    errno = 0;
    const lxw_error result = workbook_close(book);
    if (result != LXW_NO_ERROR) {
        *reason = ReasonOf(result, errno);
        return false;
    }
    const InputRead read =
        ReadInputFile(made.fileName(), {LargestWorkbookBytes, Both(QStringLiteral("a workbook"))});
    if (!read.Ok()) {
        *reason = read.Reason;
        return false;
    }
    return WriteOutputFile(path, read.Bytes, rules, reason);
}
