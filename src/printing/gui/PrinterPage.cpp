#include "PrinterPage.h"

#include <QPrinter>

PrinterPage::PrinterPage(QPrinter& printer) : PainterPage(printer), m_printer(printer) {}

void PrinterPage::PrepareDevice(const PageSetup&)
{
    // Positions are measured from the page's margins, which the set-up placed where the
    // shift expects them; the printer's full-page mode would move the origin to the corner.
    m_printer.setFullPage(false);
}

bool PrinterPage::DeviceFailed() const
{
    const QPrinter::PrinterState state = m_printer.printerState();
    return state == QPrinter::Error || state == QPrinter::Aborted;
}
