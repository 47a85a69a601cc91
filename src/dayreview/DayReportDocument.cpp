#include "DayReportDocument.h"

#include "DayReport.h"
#include "DayWorkbook.h"
#include "record/PositionLine.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

ReviewDocument DayReportDocument(const ReviewedDay& day, const DaySelection& selection,
                                 const QString& fontName)
{
    const DayFile& file = day.File();
    ReviewDocument document;
    if (file.Rows.empty())
        document.Empty =
            UiMessage{{QString::fromUtf8("結果なし"), QStringLiteral("No Results")},
                      {QString::fromUtf8("日を選んでください。選んだ日には結果がありません。"),
                       QStringLiteral("Choose a day first: the day chosen holds no results.")},
                      MessageButtons::Ok,
                      MessageIcon::Information};
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString stem = file.Date.isValid() ? file.Date.toString(QStringLiteral("yyyyMMdd"))
                                             : QFileInfo(file.Path).completeBaseName();
    document.SuggestedStem = QDir(folder).filePath(stem);
    document.PrintName = QStringLiteral("report_") + QFileInfo(file.Path).completeBaseName();
    document.Inputs = {file.Path, PositionsFilePath(file.Path)};
    document.Print = [&day, &selection, fontName](PrintPage& page) {
        return PrintDayReport(page, day, selection, fontName);
    };
    document.WriteWorkbook = [&day, &selection](const QString& path, Bilingual* reason) {
        return WriteDayWorkbook(path, day, selection, reason);
    };
    return document;
}
