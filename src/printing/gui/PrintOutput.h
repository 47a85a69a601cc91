#pragma once

#include "printing/PrintPage.h"

#include <QString>
#include <functional>

struct AppContext;
class QPrinter;
class QWidget;

enum class PrintOutcome { Printed, SavedAsPdf, Cancelled, Failed };

// Where a printout goes and what the operator is told about it: the printer last chosen in
// a printer dialog (the context's ChosenPrinter) or else the default printer, or, when no
// printer is installed, a PDF file in the user folder (the message says where).
// A printer or file that fails during the printout is reported, never passed over.
class PrintOutput
{
public:
    // Draws the whole printout on a page it begins and ends itself; false on failure.
    using Printout = std::function<bool(PrintPage&)>;

    explicit PrintOutput(AppContext& context, QWidget* parent = nullptr);

    // The Print buttons: at once, without a dialog. `fileStem` names the PDF file.
    PrintOutcome Print(const QString& fileStem, const Printout& printout);
    // The P key: the printer dialog first; Cancel prints nothing and says nothing.
    PrintOutcome PrintWithDialog(const QString& fileStem, const Printout& printout);

    QString LastPdfPath() const { return m_lastPdfPath; }

    // Whether a printer is installed; by default whether the system has a default printer
    // or the chosen one.
    std::function<bool()> PrinterInstalled;
    // Shows the printer dialog for `printer`; true when the operator chose to print.
    std::function<bool(QPrinter& printer)> AskPrinter;
    // Sets up the printer before a printout (tests point it at a file).
    std::function<void(QPrinter& printer)> PreparePrinter;

private:
    void UseChosenPrinter(QPrinter& printer) const;
    PrintOutcome ToPrinter(QPrinter& printer, const Printout& printout);
    PrintOutcome ToPdf(const QString& fileStem, const Printout& printout);
    QString NewPdfPath(const QString& fileStem) const;

    AppContext& m_context;
    QWidget* m_parent;
    QString m_lastPdfPath;
};
