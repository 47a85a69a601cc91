#include "ReviewOutput.h"

#include "printing/PdfPage.h"
#include "printing/gui/PrintOutput.h"
#include "shell/AppContext.h"

#include <QDir>

ReviewOutput::ReviewOutput(AppContext& context, QWidget* parent)
    : m_context(context), m_parent(parent)
{
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

bool ReviewOutput::HasContent(const ReviewDocument& document)
{
    if (!document.Empty)
        return true;
    m_context.Messages->Show(*document.Empty);
    return false;
}

QString ReviewOutput::AskPath(const ReviewDocument& document, const QString& suffix,
                              const QString& filter)
{
    return m_context.Files->Choose(
        FileQuestion{FileQuestion::Kind::Save, document.SuggestedStem + suffix, filter});
}

void ReviewOutput::SaveReport(const ReviewDocument& document)
{
    if (!HasContent(document))
        return;
    const QString path =
        AskPath(document, QStringLiteral("_report.pdf"), QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    PdfPage page(path, OutputRules{document.Inputs, false});
    const bool ok = document.Print(page);
    ReportSaveFailure(*m_context.Messages, ok, path, page.Reason());
}

void ReviewOutput::PrintReport(const ReviewDocument& document)
{
    if (!HasContent(document))
        return;
    PrintOutput output(m_context, m_parent);
    output.PrintWithDialog(document.PrintName, document.Print);
}

void ReviewOutput::SaveWorkbook(const ReviewDocument& document)
{
    if (!HasContent(document))
        return;
    const QString path =
        AskPath(document, QStringLiteral(".xlsx"), QStringLiteral("Excel (*.xlsx)"));
    if (path.isEmpty())
        return;
    Bilingual reason;
    const bool ok = document.WriteWorkbook(path, &reason);
    ReportSaveFailure(*m_context.Messages, ok, path, reason);
}
