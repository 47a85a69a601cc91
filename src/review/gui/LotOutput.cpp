#include "LotOutput.h"
#include "ReviewOutput.h"

#include "review/LotProtocol.h"
#include "review/LotWorkbook.h"

#include "printing/PdfPage.h"
#include "printing/gui/PrintOutput.h"
#include "shell/AppContext.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

LotOutput::LotOutput(AppContext& context, QWidget* parent) : m_context(context), m_parent(parent) {}

bool LotOutput::HasPoints(const LotSession& lot)
{
    if (!lot.Points().empty())
        return true;
    m_context.Messages->Show(UiMessage{
        {QString::fromUtf8("測点なし"), QStringLiteral("No Points")},
        {QString::fromUtf8(
             "ロットに測点がありません。ファイル > 新しいロット で日を選んでください。"),
         QStringLiteral("The lot has no points yet: start one with File > New Lot on a day.")},
        MessageButtons::Ok,
        MessageIcon::Information});
    return false;
}

QDate LotOutput::Today() const
{
    return m_context.Time->Now().date();
}

QString LotOutput::AskPath(const LotSession& lot, const QString& suffix, const QString& filter)
{
    if (!NextPath.isEmpty())
        return std::exchange(NextPath, QString());
    const QString stem =
        lot.Path().isEmpty()
            ? QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                  .filePath(QStringLiteral("lot"))
            : QFileInfo(lot.Path()).absolutePath() + QLatin1Char('/') +
                  QFileInfo(lot.Path()).completeBaseName();
    return QFileDialog::getSaveFileName(m_parent, QString(), stem + suffix, filter);
}

void LotOutput::SaveProtocol(const LotSession& lot)
{
    if (!HasPoints(lot))
        return;
    const QString path = AskPath(lot, QStringLiteral("_report.pdf"), QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    PdfPage page(path, OutputRules{lot.InputFiles(), false});
    const bool ok =
        PrintLotProtocol(page, lot, Today(), m_context.G.UiLanguage, m_context.G.FixedFontName);
    ReportSaveFailure(*m_context.Messages, ok, path, page.Reason());
}

void LotOutput::PrintProtocol(const LotSession& lot)
{
    if (!HasPoints(lot))
        return;
    PrintOutput output(m_context, m_parent);
    output.PrintWithDialog(QStringLiteral("lot_report"), [&](PrintPage& page) {
        return PrintLotProtocol(page, lot, Today(), m_context.G.UiLanguage,
                                m_context.G.FixedFontName);
    });
}

void LotOutput::SaveWorkbook(const LotSession& lot)
{
    if (!HasPoints(lot))
        return;
    const QString path = AskPath(lot, QStringLiteral(".xlsx"), QStringLiteral("Excel (*.xlsx)"));
    if (path.isEmpty())
        return;
    Bilingual reason;
    ReportSaveFailure(*m_context.Messages,
                      WriteLotWorkbook(path, lot, Today(), m_context.G.UiLanguage, &reason), path,
                      reason);
}
