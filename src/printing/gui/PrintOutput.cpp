#include "PrintOutput.h"

#include "PrinterPage.h"
#include "printing/PdfPage.h"
#include "shell/AppContext.h"

#include <QDir>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace
{

UiMessage SavedAsPdfMessage(const QString& path)
{
    const QString shown = QDir::toNativeSeparators(path);
    return UiMessage{{QString::fromUtf8("印刷"), QStringLiteral("Print")},
                     {QString::fromUtf8("プリンタがインストールされていないため、"
                                        "PDFファイルに保存しました。\n") +
                          shown,
                      QStringLiteral("No printer is installed. The page was saved as a PDF "
                                     "file:\n") +
                          shown},
                     MessageButtons::Ok,
                     MessageIcon::Information};
}

UiMessage PdfFailedMessage(const QString& path)
{
    const QString shown = QDir::toNativeSeparators(path);
    return UiMessage{{QString::fromUtf8("印刷エラー"), QStringLiteral("Print Error")},
                     {QString::fromUtf8("PDFファイルを保存できませんでした。\n") + shown,
                      QStringLiteral("The PDF file could not be saved:\n") + shown},
                     MessageButtons::Ok,
                     MessageIcon::Exclamation};
}

UiMessage PrinterFailedMessage()
{
    return UiMessage{{QString::fromUtf8("印刷エラー"), QStringLiteral("Print Error")},
                     {QString::fromUtf8("印刷できませんでした。プリンタを確認してください。"),
                      QStringLiteral("The page could not be printed. Please check the "
                                     "printer.")},
                     MessageButtons::Ok,
                     MessageIcon::Exclamation};
}

bool ChosenPrinterPresent(const AppContext& context)
{
    return !context.ChosenPrinter.isEmpty() &&
           !QPrinterInfo::printerInfo(context.ChosenPrinter).isNull();
}

} // namespace

PrintOutput::PrintOutput(AppContext& context, QWidget* parent)
    : m_context(context), m_parent(parent)
{
    PrinterInstalled = [this] {
        return !QPrinterInfo::defaultPrinter().isNull() || ChosenPrinterPresent(m_context);
    };
    AskPrinter = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, m_parent);
        return dialog.exec() == QDialog::Accepted;
    };
}

PrintOutcome PrintOutput::Print(const QString& fileStem, const Printout& printout)
{
    if (!PrinterInstalled())
        return ToPdf(fileStem, printout);
    QPrinter printer(QPrinter::HighResolution);
    UseChosenPrinter(printer);
    if (PreparePrinter)
        PreparePrinter(printer);
    return ToPrinter(printer, printout);
}

PrintOutcome PrintOutput::PrintWithDialog(const QString& fileStem, const Printout& printout)
{
    // Without a printer the dialog has nothing to offer: the page goes to a PDF file.
    if (!PrinterInstalled())
        return ToPdf(fileStem, printout);
    QPrinter printer(QPrinter::HighResolution);
    UseChosenPrinter(printer); // the dialog opens on the printer chosen before
    if (PreparePrinter)
        PreparePrinter(printer);
    if (!AskPrinter(printer))
        return PrintOutcome::Cancelled;
    // The choice holds for the printouts that follow (a file chosen in the dialog is no
    // printer and is not kept).
    if (printer.outputFormat() == QPrinter::NativeFormat && !printer.printerName().isEmpty())
        m_context.ChosenPrinter = printer.printerName();
    return ToPrinter(printer, printout);
}

void PrintOutput::UseChosenPrinter(QPrinter& printer) const
{
    // A printer removed since it was chosen leaves the default in its place.
    if (ChosenPrinterPresent(m_context))
        printer.setPrinterName(m_context.ChosenPrinter);
}

PrintOutcome PrintOutput::ToPrinter(QPrinter& printer, const Printout& printout)
{
    PrinterPage page(printer);
    if (printout(page))
        return PrintOutcome::Printed;
    if (m_context.Messages)
        m_context.Messages->Show(PrinterFailedMessage());
    return PrintOutcome::Failed;
}

PrintOutcome PrintOutput::ToPdf(const QString& fileStem, const Printout& printout)
{
    const QString path = NewPdfPath(fileStem);
    QDir().mkpath(QFileInfo(path).absolutePath());
    PdfPage page(path);
    if (!printout(page)) {
        if (m_context.Messages)
            m_context.Messages->Show(PdfFailedMessage(path));
        return PrintOutcome::Failed;
    }
    m_lastPdfPath = path;
    if (m_context.Messages)
        m_context.Messages->Show(SavedAsPdfMessage(path));
    return PrintOutcome::SavedAsPdf;
}

QString PrintOutput::NewPdfPath(const QString& fileStem) const
{
    const QDateTime now = m_context.Time ? m_context.Time->Now() : QDateTime::currentDateTime();
    const QString base =
        m_context.UserFolder + fileStem + now.toString(QStringLiteral("_yyyyMMdd_HHmmss"));
    QString path = base + QStringLiteral(".pdf");
    // Two printouts within the same second keep both files.
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = base + QStringLiteral("_%1.pdf").arg(n);
    return path;
}
