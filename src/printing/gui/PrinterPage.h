#pragma once

#include "printing/PainterPage.h"

class QPrinter;

// A printout on a printer (or on whatever a printer dialog chose, a PDF file included).
class PrinterPage : public PainterPage
{
public:
    explicit PrinterPage(QPrinter& printer);

protected:
    void PrepareDevice(const PageSetup& setup) override;
    bool DeviceFailed() const override;

private:
    QPrinter& m_printer;
};
