#include "ReviewOutput.h"

#include "review/ExcelExport.h"
#include "review/ReviewProtocol.h"

#include "printing/PdfPage.h"
#include "printing/gui/PrintOutput.h"
#include "shell/AppContext.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

ReviewOutput::ReviewOutput(AppContext& context, QWidget* parent)
    : m_context(context), m_parent(parent)
{
}

QString ReviewOutput::AskPath(const DayFile& day, const QString& suffix, const QString& filter)
{
    if (!NextPath.isEmpty())
        return std::exchange(NextPath, QString());
    // Beside the documents, never into the data folder the measurement program owns.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString stem = day.Date.isValid() ? day.Date.toString(QStringLiteral("yyyyMMdd"))
                                            : QFileInfo(day.Path).completeBaseName();
    return QFileDialog::getSaveFileName(m_parent, QString(), QDir(folder).filePath(stem + suffix),
                                        filter);
}

void ReportSaveFailure(MessageSink& messages, bool ok, const QString& path, const Bilingual& reason)
{
    if (ok)
        return;
    const QString shown = QDir::toNativeSeparators(path);
    messages.Show(UiMessage{
        {QString::fromUtf8("保存エラー"), QStringLiteral("Save Error")},
        {QString::fromUtf8("ファイルを保存できませんでした。\n%1\n%2。").arg(shown, reason.Ja),
         QStringLiteral("The file could not be saved:\n%1\n%2.").arg(shown, reason.En)},
        MessageButtons::Ok,
        MessageIcon::Exclamation});
}

bool ReviewOutput::HasResults(const DayFile& day)
{
    if (!day.Rows.empty())
        return true;
    m_context.Messages->Show(
        UiMessage{{QString::fromUtf8("結果なし"), QStringLiteral("No Results")},
                  {QString::fromUtf8("日を選んでください。選んだ日には結果がありません。"),
                   QStringLiteral("Choose a day first: the day chosen holds no results.")},
                  MessageButtons::Ok,
                  MessageIcon::Information});
    return false;
}

void ReviewOutput::SaveProtocol(const ReviewedDay& day, const DaySelection& selection)
{
    if (!HasResults(day.File()))
        return;
    const QString path =
        AskPath(day.File(), QStringLiteral("_report.pdf"), QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    PdfPage page(path, OutputRules{{day.File().Path}, false});
    const bool ok = ::PrintProtocol(page, day, selection, m_context.G.FixedFontName);
    ReportSaveFailure(*m_context.Messages, ok, path, page.Reason());
}

void ReviewOutput::PrintProtocol(const ReviewedDay& day, const DaySelection& selection)
{
    if (!HasResults(day.File()))
        return;
    PrintOutput output(m_context, m_parent);
    const QString stem = QStringLiteral("report_") + QFileInfo(day.File().Path).completeBaseName();
    output.PrintWithDialog(stem, [&](PrintPage& page) {
        return ::PrintProtocol(page, day, selection, m_context.G.FixedFontName);
    });
}

void ReviewOutput::SaveExcel(const ReviewedDay& day, const DaySelection& selection)
{
    if (!HasResults(day.File()))
        return;
    const QString path =
        AskPath(day.File(), QStringLiteral(".xlsx"), QStringLiteral("Excel (*.xlsx)"));
    if (path.isEmpty())
        return;
    Bilingual reason;
    const bool ok = WriteExcelFile(path, day, selection, &reason);
    ReportSaveFailure(*m_context.Messages, ok, path, reason);
}
