#include "LotReportDocument.h"

#include "LotReport.h"
#include "LotWorkbook.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

ReviewDocument LotReportDocument(const LotSession& lot, const QDate& issued, UiLanguage uiLanguage,
                                 const QString& fontName)
{
    ReviewDocument document;
    if (lot.Points().empty())
        document.Empty = UiMessage{
            {QString::fromUtf8("測点なし"), QStringLiteral("No Points")},
            {QString::fromUtf8(
                 "ロットに測点がありません。ファイル > 新しいロット で日を選んでください。"),
             QStringLiteral("The lot has no points yet: start one with File > New Lot on a day.")},
            MessageButtons::Ok,
            MessageIcon::Information};
    document.SuggestedStem =
        lot.Path().isEmpty()
            ? QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                  .filePath(QStringLiteral("lot"))
            : QFileInfo(lot.Path()).absolutePath() + QLatin1Char('/') +
                  QFileInfo(lot.Path()).completeBaseName();
    document.PrintName = QStringLiteral("lot_report");
    document.Inputs = lot.InputFiles();
    document.Print = [&lot, issued, uiLanguage, fontName](PrintPage& page) {
        const SitePlanData plan = lot.Places().Plan(lot.Points(), lot.Document().Judgement.Need);
        return PrintLotReport(page, lot, issued, uiLanguage, fontName, &plan);
    };
    document.WriteWorkbook = [&lot, issued, uiLanguage](const QString& path, Bilingual* reason) {
        const std::optional<CoordinateColumns> places = lot.Places().Columns();
        return WriteLotWorkbook(path, lot, issued, uiLanguage, reason, places ? &*places : nullptr);
    };
    return document;
}
