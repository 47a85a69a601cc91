#pragma once

#include "PainterPage.h"

#include <QPdfWriter>

// A printout written to a PDF file: what the program does when no printer is installed,
// and what the layout tests render.
class PdfPage : public PainterPage
{
public:
    explicit PdfPage(const QString& path);
    QString Path() const { return m_path; }

    // Fine enough that a tenth of a millimetre is several device pixels.
    static constexpr int Resolution = 1200;

protected:
    bool DeviceFailed() const override;

private:
    QString m_path;
    QPdfWriter m_writer;
};
